#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "msarender/Export.h"

/// Writes the bytes of one file onto a device; an error message, or empty.
using EncodeOnto = std::function<QString(QIODevice& out)>;

/// Runs `encode` on `path` ("-" = standard output). A file is written under a temporary name and renamed
/// when `encode` succeeded, so an existing file is only ever replaced by a whole one. Returns an error
/// message, or an empty string on success.
MSARENDER_EXPORT QString WriteEncoded(const QString& path, const EncodeOnto& encode);

/// The message for a write to `path` that failed with `reported`: the system's cause (such as "no space left
/// on device") when errno holds one of writing, else `reported`. Set errno to 0 before the write.
MSARENDER_EXPORT QString WriteFailure(const QString& path, const QString& reported);

/// Whether two paths name the same existing file (same device and inode, through links and "..").
MSARENDER_EXPORT bool IsSameFile(const QString& a, const QString& b);

/// `path` with a page number before its extension: "out.png", 3 -> "out-003.png".
MSARENDER_EXPORT QString PagePath(const QString& path, int page);

/// The files of one picture in several pages, written all or nothing: every page goes to a hidden temporary
/// name beside its final one, and only Commit gives them their names. A failure, the object's end before
/// Commit, or SIGINT, SIGTERM or SIGHUP during its life removes every temporary page, so an interrupted run
/// leaves neither pages nor parts of them.
class MSARENDER_EXPORT PageFiles {
public:
    explicit PageFiles(const QStringList& finalPaths);
    ~PageFiles();
    PageFiles(const PageFiles&) = delete;
    PageFiles& operator=(const PageFiles&) = delete;

    /// Writes page `page` (0-based) with `encode` into its temporary file; an error message, or empty.
    QString Write(int page, const EncodeOnto& encode);
    /// Gives every page its final name, replacing files of those names; an error message, or empty.
    QString Commit();

private:
    void RemoveTemporaries();

    QStringList finals;
    std::vector<std::string> temporaries;  // encoded names; read by the signal handler
    bool committed = false;
};
