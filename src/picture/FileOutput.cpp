#include "msarender/picture/FileOutput.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <functional>

namespace {

// Runs `encode` on standard output.
QString WriteToStandardOutput(const EncodeOnto& encode) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return QStringLiteral("cannot write to standard output");
    const QString error = encode(out);
    if (!error.isEmpty()) return "cannot write the image to standard output: " + error;
    if (!out.flush()) return "cannot write the image to standard output: " + out.errorString();
    return QString();
}

// Runs `encode` on a temporary file that replaces `path` only when `encode` succeeded.
QString WriteToFile(const QString& path, const EncodeOnto& encode) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path + ": cannot write: " + file.errorString();
    errno = 0;
    const QString error = encode(file);
    if (!error.isEmpty()) {
        const QString failure = WriteFailure(path, error);
        file.cancelWriting();
        return failure;
    }
    if (!file.commit()) return WriteFailure(path, file.errorString());
    return QString();
}

}  // namespace

// Qt's buffered file writes report "Unknown error" when the disk is full; errno still tells, and only
// causes that belong to writing are trusted.
QString WriteFailure(const QString& path, const QString& reported) {
    const int cause = errno;
    if (cause == ENOSPC || cause == EDQUOT || cause == EFBIG || cause == EIO || cause == EROFS)
        return path + ": cannot write: " + QString::fromLocal8Bit(std::strerror(cause)).toLower();
    return path + ": cannot encode the image: " + reported;
}

QString WriteEncoded(const QString& path, const EncodeOnto& encode) {
    return path == QLatin1String("-") ? WriteToStandardOutput(encode) : WriteToFile(path, encode);
}

bool IsSameFile(const QString& a, const QString& b) {
    struct stat first;
    struct stat second;
    return stat(QFile::encodeName(a).constData(), &first) == 0 &&
           stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString PagePath(const QString& path, int page) {
    const QFileInfo info(path);
    const QString number = QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
    const QString dir = info.path() == QLatin1String(".") && !path.startsWith(QLatin1String("./"))
                            ? QString()
                            : info.path() + QLatin1Char('/');
    return dir + info.completeBaseName() + QLatin1Char('-') + number + QLatin1Char('.') + info.suffix();
}
