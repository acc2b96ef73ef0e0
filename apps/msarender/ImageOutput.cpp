#include "ImageOutput.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Qt's PNG writer tries every PNG row filter on every row and cannot be told otherwise; on the pictures of
// large alignments that costs three to four times the encoding time for a file a few percent smaller.
// Opaque pictures are therefore written here: rows unfiltered, the fastest deflate level (flat areas of
// one colour compress well even so), and a palette of one byte per pixel when 256 colours or fewer occur.
const int kDeflateLevel = 1;
const int kMaxPaletteColours = 256;
const int kChunkBytes = 1 << 18;

void ConfigureWriter(QImageWriter& writer, const QByteArray& format) {
    // Level 2 for the pictures with transparency that Qt's writer still encodes.
    if (format == "png") writer.setQuality(70);
    if (format == "jpeg") writer.setQuality(92);
}

bool WriteChunk(QIODevice& out, const char* type, const unsigned char* data, std::size_t size) {
    unsigned char header[8];
    qToBigEndian<quint32>(quint32(size), header);
    std::copy(type, type + 4, header + 4);
    uLong crc = crc32(0L, header + 4, 4);
    if (size > 0) crc = crc32(crc, data, uInt(size));
    unsigned char trailer[4];
    qToBigEndian<quint32>(quint32(crc), trailer);
    return out.write(reinterpret_cast<const char*>(header), 8) == 8 &&
           (size == 0 || out.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size)) &&
           out.write(reinterpret_cast<const char*>(trailer), 4) == 4;
}

// Up to 256 colours and their palette indexes, in order of first use: an open-addressed table, since every
// cell edge and every anti-aliased letter pixel asks for an index.
class ColourIndex {
public:
    ColourIndex() : keys(kSlots), indexes(kSlots, -1) {}

    // The colour's index, adding it when new; -1 when the palette is full.
    int IndexOf(QRgb colour) {
        std::size_t slot = (colour * 2654435761u) >> (32 - kSlotBits);
        while (indexes[slot] >= 0) {
            if (keys[slot] == colour) return indexes[slot];
            slot = (slot + 1) & (kSlots - 1);
        }
        if (int(colours.size()) == kMaxPaletteColours) return -1;
        keys[slot] = colour;
        indexes[slot] = int(colours.size());
        colours.push_back(colour);
        return indexes[slot];
    }
    const std::vector<QRgb>& Colours() const { return colours; }

private:
    static const int kSlotBits = 12;
    static const std::size_t kSlots = std::size_t(1) << kSlotBits;
    std::vector<QRgb> keys;
    std::vector<int> indexes;
    std::vector<QRgb> colours;
};

// The palette of `image`, or false when more than 256 colours occur.
bool FindPalette(const QImage& image, ColourIndex& palette) {
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb last = line[0];
        if (palette.IndexOf(last) < 0) return false;
        for (int x = 1; x < image.width(); ++x) {
            if (line[x] == last) continue;  // runs of one colour are the rule
            last = line[x];
            if (palette.IndexOf(last) < 0) return false;
        }
    }
    return true;
}

// One PNG row, filter byte 0 first: palette indexes, or RGB triples when there is no palette.
void EncodeRow(const QRgb* line, int width, ColourIndex* palette, std::vector<unsigned char>& row) {
    row[0] = 0;
    unsigned char* out = row.data() + 1;
    if (palette == nullptr) {
        for (int x = 0; x < width; ++x) {
            *out++ = uchar(qRed(line[x]));
            *out++ = uchar(qGreen(line[x]));
            *out++ = uchar(qBlue(line[x]));
        }
        return;
    }
    for (int x = 0; x < width; ++x) *out++ = uchar(palette->IndexOf(line[x]));
}

bool WriteImageData(QIODevice& out, const QImage& image, ColourIndex* palette) {
    z_stream stream{};
    if (deflateInit(&stream, kDeflateLevel) != Z_OK) return false;
    const int channels = palette == nullptr ? 3 : 1;
    std::vector<unsigned char> row(std::size_t(image.width()) * channels + 1);
    std::vector<unsigned char> chunk(kChunkBytes);
    bool ok = true;
    auto pump = [&](int flush) {
        int status = Z_OK;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = uInt(chunk.size());
            status = deflate(&stream, flush);
            const std::size_t produced = chunk.size() - stream.avail_out;
            if (status == Z_STREAM_ERROR ||
                (produced > 0 && !WriteChunk(out, "IDAT", chunk.data(), produced))) {
                ok = false;
                return;
            }
        } while (stream.avail_out == 0 || (flush == Z_FINISH && status != Z_STREAM_END));
    };
    for (int y = 0; y < image.height() && ok; ++y) {
        EncodeRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), palette, row);
        stream.next_in = row.data();
        stream.avail_in = uInt(row.size());
        pump(Z_NO_FLUSH);
    }
    if (ok) pump(Z_FINISH);
    deflateEnd(&stream);
    return ok;
}

bool WriteOpaquePng(const QImage& source, QIODevice& out) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return false;
    ColourIndex index;
    ColourIndex* palette = FindPalette(image, index) ? &index : nullptr;
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char header[13];
    qToBigEndian<quint32>(quint32(image.width()), header);
    qToBigEndian<quint32>(quint32(image.height()), header + 4);
    header[8] = 8;                           // bits per sample or index
    header[9] = palette == nullptr ? 2 : 3;  // truecolour or indexed
    header[10] = header[11] = header[12] = 0;
    if (out.write(reinterpret_cast<const char*>(kSignature), 8) != 8 || !WriteChunk(out, "IHDR", header, 13))
        return false;
    if (palette != nullptr) {
        std::vector<unsigned char> entries;
        for (QRgb colour : palette->Colours())
            entries.insert(entries.end(), {uchar(qRed(colour)), uchar(qGreen(colour)), uchar(qBlue(colour))});
        if (!WriteChunk(out, "PLTE", entries.data(), entries.size())) return false;
    }
    return WriteImageData(out, image, palette) && WriteChunk(out, "IEND", nullptr, 0);
}

// True when written; `error` is set when writing failed.
bool WritePng(const QImage& image, QIODevice& out, QString& error) {
    if (image.hasAlphaChannel() || image.isNull()) {
        QImageWriter writer(&out, "png");
        ConfigureWriter(writer, "png");
        if (writer.write(image)) return true;
        error = writer.errorString();
        return false;
    }
    if (WriteOpaquePng(image, out)) return true;
    error = out.errorString().isEmpty() ? QStringLiteral("the PNG encoder failed") : out.errorString();
    return false;
}

QString WriteToStandardOutput(const QImage& image) {
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return QStringLiteral("cannot write to standard output");
    QString error;
    if (!WritePng(image, out, error)) return "cannot write the image to standard output: " + error;
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
    QString error;
    if (format == "png") {
        if (!WritePng(image, file, error)) {
            file.cancelWriting();
            return path + ": cannot encode the image: " + error;
        }
    } else {
        QImageWriter writer(&file, format);
        ConfigureWriter(writer, format);
        if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
            file.cancelWriting();
            return path + ": cannot encode the image: " + writer.errorString();
        }
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
