#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QIODevice;

/// The files of one picture in several pages, written all or nothing: every page goes to a hidden temporary
/// name beside its final one, and only Commit gives them their names. A failure, the object's end before
/// Commit, or SIGINT, SIGTERM or SIGHUP during its life removes every temporary page, so an interrupted run
/// leaves neither pages nor parts of them.
class PageFiles {
public:
    explicit PageFiles(const QStringList& finalPaths);
    ~PageFiles();
    PageFiles(const PageFiles&) = delete;
    PageFiles& operator=(const PageFiles&) = delete;

    /// Writes page `page` (0-based) with `encode` into its temporary file; an error message, or empty.
    QString Write(int page, const std::function<QString(QIODevice&)>& encode);
    /// Gives every page its final name, replacing files of those names; an error message, or empty.
    QString Commit();

private:
    void RemoveTemporaries();

    QStringList finals;
    std::vector<std::string> temporaries;  // encoded names; read by the signal handler
    bool committed = false;
};
