#include "msarender/picture/RasterOutput.h"

#include <QBuffer>
#include <QImageWriter>

#include "msarender/picture/FileOutput.h"
#include "msarender/picture/PngEncoder.h"

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

}  // namespace

QString EncodeImage(const QImage& image, QIODevice& out, OutputFormat outputFormat) {
    if (outputFormat == OutputFormat::Png) return EncodeImage(image, out);
    const QByteArray format = OutputFormatName(outputFormat);
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

QString WriteImage(const QImage& image, const QString& path, OutputFormat format) {
    if (IsVectorFormat(format)) return path + ": unknown image type (use .png, .jpg, .bmp or .ppm)";
    return WriteEncoded(path, [&](QIODevice& out) { return EncodeImage(image, out, format); });
}
