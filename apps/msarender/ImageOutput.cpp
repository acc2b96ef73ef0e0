#include "ImageOutput.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <functional>

namespace {

// Qt's PNG writer tries every PNG row filter on every row and cannot be told otherwise; on the pictures of
// large alignments that costs three to four times the encoding time for a file a few percent smaller.
// Opaque pictures are therefore written by EncodePng; Qt's writer only gets those with transparency.
const int kBandRows = 256;

void ConfigureWriter(QImageWriter& writer, const QByteArray& format) {
    // Level 2 for the pictures with transparency that Qt's writer still encodes.
    if (format == "png") writer.setQuality(70);
    if (format == "jpeg") writer.setQuality(92);
}

// Rows of `image` (Format_RGB32) as bands that share its pixels.
PaintBand BandsOf(const QImage& image) {
    return [&image](int top, int rows) {
        return QImage(image.constScanLine(top), image.width(), rows, image.bytesPerLine(), image.format());
    };
}

QString EncodeImage(const QImage& image, QIODevice& out) {
    if (image.isNull()) return QStringLiteral("the image is empty");
    if (image.hasAlphaChannel()) {
        QImageWriter writer(&out, "png");
        ConfigureWriter(writer, "png");
        return writer.write(image) ? QString() : writer.errorString();
    }
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    return EncodePng(out, opaque.width(), opaque.height(), kBandRows, BandsOf(opaque));
}

// Runs `encode` on standard output.
QString WriteToStandardOutput(const std::function<QString(QIODevice&)>& encode) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return QStringLiteral("cannot write to standard output");
    const QString error = encode(out);
    if (!error.isEmpty()) return "cannot write the image to standard output: " + error;
    if (!out.flush()) return "cannot write the image to standard output: " + out.errorString();
    return QString();
}

// Runs `encode` on a temporary file that replaces `path` only when `encode` succeeded.
QString WriteToFile(const QString& path, const std::function<QString(QIODevice&)>& encode) {
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

QString WriteEncoded(const QString& path, const std::function<QString(QIODevice&)>& encode) {
    return path == QLatin1String("-") ? WriteToStandardOutput(encode) : WriteToFile(path, encode);
}

QString EncodeImage(const QImage& image, QIODevice& out, const QByteArray& format) {
    if (format == "png") return EncodeImage(image, out);
    // Qt's writers are given memory, which cannot fail half way: some of them lose a buffer when their
    // device does. The bytes then go out in one write whose failure is ours to report.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    ConfigureWriter(writer, format);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) return writer.errorString();
    const QByteArray& bytes = encoded.data();
    if (out.write(bytes) != bytes.size()) return out.errorString();
    return QString();
}

QByteArray ImageFormatFor(const QString& path) {
    if (path == QLatin1String("-")) return "png";
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return "png";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "jpeg";
    if (suffix == QLatin1String("bmp")) return "bmp";
    if (suffix == QLatin1String("ppm")) return "ppm";
    if (suffix == QLatin1String("svg")) return "svg";
    if (suffix == QLatin1String("pdf")) return "pdf";
    if (suffix == QLatin1String("eps")) return "eps";
    return QByteArray();
}

qint64 RasterSideLimit(const QByteArray& format) {
    if (format == "png") return kMaxPngSide;
    return format == "jpeg" ? 65535 : 32767;
}

QString WriteImage(const QImage& image, const QString& path, QByteArray format) {
    if (format.isEmpty()) format = ImageFormatFor(path);
    if (format.isEmpty() || format == "svg" || format == "pdf" || format == "eps")
        return path + ": unknown image type (use .png, .jpg, .bmp or .ppm)";
    return WriteEncoded(path, [&](QIODevice& out) { return EncodeImage(image, out, format); });
}

QString WritePngBands(const QString& path, qint64 width, qint64 height, int bandRows,
                      const PaintBand& paintBand) {
    return WriteEncoded(path,
                        [&](QIODevice& out) { return EncodePng(out, width, height, bandRows, paintBand); });
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
