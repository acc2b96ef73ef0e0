// Figure 7: encoding the picture of an alignment as PNG, painted in bands, next to deflating its filtered
// rows alone on one thread at the same level. The picture is a real one when MSARENDER_BENCH_PNG names a
// PNG made by msarender, else cells of coloured residues with anti-aliased letters painted here.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <random>

#include "BenchSupport.h"
#include "Figures.h"
#include "msarender/picture/PngEncoder.h"

namespace bench {

namespace {

constexpr int kBandRows = 256;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 15;

// 20 residues, each a letter on its own colour, drawn once and copied to every cell.
QImage ResidueCells() {
    QImage cells(20 * kCellWidth, kCellHeight, QImage::Format_RGB32);
    QPainter painter(&cells);
    painter.setFont(BenchFont());
    const char* letters = "ACDEFGHIKLMNPQRSTVWY";
    for (int i = 0; i < 20; ++i) {
        const QRect cell(i * kCellWidth, 0, kCellWidth, kCellHeight);
        painter.fillRect(cell, QColor::fromHsv(i * 18, 90, 240));
        painter.drawText(cell, Qt::AlignCenter, QString(QLatin1Char(letters[i])));
    }
    return cells;
}

// 800 columns x 400 sequences of residues that mostly keep to their column's, with runs of white gaps.
QImage SyntheticPicture() {
    const int columns = 800, sequences = 400;
    const QImage cells = ResidueCells();
    QImage picture(columns * kCellWidth, sequences * kCellHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    std::mt19937 random(7);
    std::vector<int> consensus(columns);
    for (int& residue : consensus) residue = int(random() % 20);
    for (int row = 0; row < sequences; ++row)
        for (int column = 0; column < columns; ++column) {
            if ((column / 13 + row / 9) % 6 == 0) continue;  // a gap
            const int residue = random() % 4 == 0 ? int(random() % 20) : consensus[column];
            painter.drawImage(column * kCellWidth, row * kCellHeight, cells, residue * kCellWidth, 0,
                              kCellWidth, kCellHeight);
        }
    return picture;
}

const QImage& Picture() {
    static const QImage picture = [] {
        const char* path = std::getenv("MSARENDER_BENCH_PNG");
        QImageReader::setAllocationLimit(0);
        const QImage loaded = path != nullptr ? QImage(QString::fromLocal8Bit(path)) : QImage();
        return (loaded.isNull() ? SyntheticPicture() : loaded).convertToFormat(QImage::Format_RGB32);
    }();
    return picture;
}

QByteArray EncodePicture() {
    const QImage& picture = Picture();
    QByteArray png;
    png.reserve(qsizetype(picture.sizeInBytes() / 4));
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const QString error =
        EncodePng(buffer, picture.width(), picture.height(), kBandRows, [&picture](int top, int rows) {
            return QImage(picture.constScanLine(top), picture.width(), rows, picture.bytesPerLine(),
                          picture.format());
        });
    return error.isEmpty() ? png : QByteArray();
}

// The chunks of `type`, one after the other.
QByteArray Chunks(const QByteArray& png, const char* type) {
    QByteArray data;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype size = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == type) data += png.mid(at + 8, size);
        at += 12 + size;
    }
    return data;
}

std::vector<unsigned char> Inflate(const QByteArray& zlibStream, std::size_t size) {
    std::vector<unsigned char> rows(size);
    uLongf length = uLongf(size);
    if (uncompress(rows.data(), &length, reinterpret_cast<const Bytef*>(zlibStream.constData()),
                   uLong(zlibStream.size())) != Z_OK)
        rows.clear();
    return rows;
}

std::size_t Deflate(const std::vector<unsigned char>& rows, int level) {
    std::vector<unsigned char> out(compressBound(uLong(rows.size())));
    uLongf length = uLongf(out.size());
    compress2(out.data(), &length, rows.data(), uLong(rows.size()), level);
    return std::size_t(length);
}

// The rows with their filters undone and every filter set to None, as the earlier writer stored them.
std::vector<unsigned char> Unfiltered(std::vector<unsigned char> rows, std::size_t rowBytes, int channels) {
    for (std::size_t row = 0; row * rowBytes < rows.size(); ++row) {
        unsigned char* line = rows.data() + row * rowBytes;
        const unsigned char filter = line[0];
        line[0] = 0;
        for (std::size_t i = 1; i < rowBytes; ++i) {
            if (filter == 1 && i > std::size_t(channels)) line[i] = uchar(line[i] + line[i - channels]);
            if (filter == 2 && row > 0) line[i] = uchar(line[i] + line[i - rowBytes]);
        }
    }
    return rows;
}

// What the picture's rows are, as the encoder filtered them, and the sizes of the files.
struct FilteredRows {
    std::vector<unsigned char> rows;
    double newBytes = 0;
    double oldBytes = 0;  // the earlier whole-image writer: unfiltered rows, level 1, one stream

    FilteredRows() {
        const QByteArray png = EncodePicture();
        if (png.isEmpty()) return;
        const int channels = png[25] == 3 ? 1 : 3;
        const std::size_t rowBytes = 1 + std::size_t(Picture().width()) * channels;
        rows = Inflate(Chunks(png, "IDAT"), rowBytes * Picture().height());
        newBytes = double(png.size());
        const double idatChunks = std::ceil(double(rows.size()) / (1 << 18));
        oldBytes = double(Deflate(Unfiltered(rows, rowBytes, channels), 1)) + 12 * idatChunks + 8 + 25 + 12 +
                   (channels == 1 ? 12 + Chunks(png, "PLTE").size() : 0);
    }
};

const FilteredRows& Filtered() {
    static const FilteredRows filtered;
    return filtered;
}

void PngEncode(benchmark::State& state) {
    for (auto _ : state) {
        if (EncodePicture().isEmpty()) {
            state.SkipWithError("EncodePng failed");
            break;
        }
    }
    state.counters["MB_raw"] = double(Filtered().rows.size()) / 1e6;
    state.counters["KB_new"] = Filtered().newBytes / 1024;
    state.counters["KB_old"] = Filtered().oldBytes / 1024;
}

void PngBaseline(benchmark::State& state) {
    const std::vector<unsigned char>& rows = Filtered().rows;
    if (rows.empty()) {
        state.SkipWithError("the picture's rows could not be read back");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(Deflate(rows, PngEncoding().level));
}

}  // namespace

void RegisterPngBenchmarks(std::vector<RatioReporter::Figure>& figures) {
    for (auto* run : {benchmark::RegisterBenchmark("Png/encode", PngEncode),
                      benchmark::RegisterBenchmark("Png/baseline", PngBaseline)})
        run->Iterations(2)->MeasureProcessCPUTime()->Repetitions(3)->ReportAggregatesOnly(true)->Unit(
            benchmark::kMillisecond);
    figures.push_back({"7 PNG encode in bands", "Png/encode", "Png/baseline", 1.5, {"KB_new", "KB_old"}});
}

}  // namespace bench
