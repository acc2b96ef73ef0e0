#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "msarender/picture/FileOutput.h"

namespace {

// The page set whose temporaries a signal removes: the latest one made (a host writes one page set at once).
std::atomic<const std::vector<std::string>*> pendingTemporaries{nullptr};
const int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[3];

// Only async-signal-safe calls: unlink the temporaries, then end as the signal would have ended the run.
extern "C" void RemovePagesAndExit(int signal) {
    if (const std::vector<std::string>* paths = pendingTemporaries.load()) {
        for (const std::string& path : *paths) unlink(path.c_str());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

QString TemporaryName(const QString& finalPath) {
    const QFileInfo info(finalPath);
    return info.dir().filePath(QStringLiteral(".%1.%2.part").arg(info.fileName()).arg(getpid()));
}

}  // namespace

PageFiles::PageFiles(const QStringList& finalPaths) : finals(finalPaths) {
    for (const QString& path : finals)
        temporaries.push_back(QFile::encodeName(TemporaryName(path)).toStdString());
    pendingTemporaries.store(&temporaries);
    struct sigaction action {};
    action.sa_handler = RemovePagesAndExit;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(kCleanupSignals[i], &action, &previousActions[i]);
}

PageFiles::~PageFiles() {
    for (int i = 0; i < 3; ++i) sigaction(kCleanupSignals[i], &previousActions[i], nullptr);
    pendingTemporaries.store(nullptr);
    if (!committed) RemoveTemporaries();
}

QString PageFiles::Write(int page, const std::function<QString(QIODevice&)>& encode) {
    QFile file(QFile::decodeName(temporaries.at(std::size_t(page)).c_str()));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return finals.at(page) + ": cannot write: " + file.errorString();
    errno = 0;
    const QString error = encode(file);
    if (!error.isEmpty()) return WriteFailure(finals.at(page), error);
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return WriteFailure(finals.at(page), file.errorString());
    return QString();
}

QString PageFiles::Commit() {
    for (int page = 0; page < finals.size(); ++page) {
        // rename() replaces an existing file in one step, as the single-picture path does.
        if (std::rename(temporaries[std::size_t(page)].c_str(),
                        QFile::encodeName(finals[page]).constData()) != 0) {
            for (int named = 0; named < page; ++named) QFile::remove(finals[named]);  // none rather than some
            return finals[page] + ": cannot write: the page could not be given its name";
        }
    }
    committed = true;
    return QString();
}

void PageFiles::RemoveTemporaries() {
    for (const std::string& path : temporaries) unlink(path.c_str());
}
