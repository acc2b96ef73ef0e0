#include "ImageOutput.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

namespace {

// PNG at a low zlib level: alignment pictures are large flat areas that compress well even then, and the
// default level costs several times the encoding time for a few percent of size.
const int kPngQuality = 70;

void ConfigureWriter(QImageWriter& writer, const QByteArray& format) {
    if (format == "png") writer.setQuality(kPngQuality);
    if (format == "jpeg") writer.setQuality(92);
}

QString WriteToStandardOutput(const QImage& image) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return QStringLiteral("cannot write to standard output");
    QImageWriter writer(&out, "png");
    ConfigureWriter(writer, "png");
    if (!writer.write(image)) return "cannot write the image to standard output: " + writer.errorString();
    out.flush();
    return QString();
}

}  // namespace

QByteArray ImageFormatFor(const QString& path) {
    if (path == QLatin1String("-")) return "png";
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return "png";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return "jpeg";
    if (suffix == QLatin1String("bmp")) return "bmp";
    if (suffix == QLatin1String("ppm")) return "ppm";
    return QByteArray();
}

QString WriteImage(const QImage& image, const QString& path) {
    if (path == QLatin1String("-")) return WriteToStandardOutput(image);
    const QByteArray format = ImageFormatFor(path);
    if (format.isEmpty()) return path + ": unknown image type (use .png, .jpg, .bmp or .ppm)";

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path + ": cannot write: " + file.errorString();
    QImageWriter writer(&file, format);
    ConfigureWriter(writer, format);
    const QImage toWrite = format == "jpeg" || format == "ppm" || format == "bmp"
                               ? image.convertToFormat(QImage::Format_RGB32)
                               : image;
    if (!writer.write(toWrite)) {
        file.cancelWriting();
        return path + ": cannot encode the image: " + writer.errorString();
    }
    if (!file.commit()) return path + ": cannot write: " + file.errorString();
    return QString();
}

QString PagePath(const QString& path, int page) {
    const QFileInfo info(path);
    const QString number = QStringLiteral("%1").arg(page, 3, 10, QLatin1Char('0'));
    const QString dir = info.path() == QLatin1String(".") && !path.startsWith(QLatin1String("./"))
                            ? QString()
                            : info.path() + QLatin1Char('/');
    return dir + info.completeBaseName() + QLatin1Char('-') + number + QLatin1Char('.') + info.suffix();
}
