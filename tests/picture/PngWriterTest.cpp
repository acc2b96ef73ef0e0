// The streaming PNG encoder: pictures painted in bands decode to the same pixels, the palette gives way to
// truecolour when a 257th colour comes, failures leave no file, and tall pictures never hold many bands.

#include <gtest/gtest.h>
#include <zlib.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <vector>

#include "msarender/picture/FileOutput.h"
#include "msarender/picture/PngEncoder.h"
#include "msarender/picture/RasterOutput.h"

namespace {

// A PNG painted in bands, written to `path` as every picture file is: whole or not at all.
QString WritePngBands(const QString& path, qint64 width, qint64 height, int bandRows,
                      const PaintBand& paint) {
    return WriteEncoded(path, [&](QIODevice& out) { return EncodePng(out, width, height, bandRows, paint); });
}

// A picture of `colours` distinct colours (at most 256 * 256) in cells of 5 x 3 pixels.
QImage CellPicture(int width, int height, int colours) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int colour = ((x / 5) * 7 + (y / 3) * 13) % colours;
            line[x] = qRgb(colour % 256, colour / 256, 255 - colour % 256);
        }
    }
    return image;
}

// A picture with a different colour at nearly every pixel.
QImage GradientPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) line[x] = qRgb((x * 3 + y) % 256, (y * 5) % 256, (x * y) % 256);
    }
    return image;
}

PaintBand BandsOf(const QImage& image, std::vector<int>* tops = nullptr) {
    return [&image, tops](int top, int rows) {
        if (tops != nullptr) tops->push_back(top);
        return image.copy(0, top, image.width(), rows);
    };
}

QByteArray Encode(const QImage& image, int bandRows, std::vector<int>* tops = nullptr) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString error = EncodePng(buffer, image.width(), image.height(), bandRows, BandsOf(image, tops));
    EXPECT_EQ(error, QString());
    return bytes;
}

int DistinctColours(const QImage& image) {
    std::vector<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.push_back(image.pixel(x, y));
    std::sort(colours.begin(), colours.end());
    return int(std::unique(colours.begin(), colours.end()) - colours.begin());
}

int ColourType(const QByteArray& png) {
    return png.size() > 25 ? uchar(png[25]) : -1;
}

const int kPalette = 3;
const int kTruecolour = 2;

void ExpectDecodesTo(const QByteArray& png, const QImage& image) {
    const QImage decoded = QImage::fromData(png, "PNG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), image);
}

struct Case {
    int width;
    int height;
    int bandRows;
};

class BandedPicture : public ::testing::TestWithParam<Case> {};

TEST_P(BandedPicture, PaletteDecodesToTheSamePixels) {
    const QImage image = CellPicture(GetParam().width, GetParam().height, 200);
    const QByteArray png = Encode(image, GetParam().bandRows);
    EXPECT_EQ(ColourType(png), kPalette);
    ExpectDecodesTo(png, image);
}

TEST_P(BandedPicture, TruecolourDecodesToTheSamePixels) {
    const QImage image = GradientPicture(GetParam().width, GetParam().height);
    const QByteArray png = Encode(image, GetParam().bandRows);
    EXPECT_EQ(ColourType(png), DistinctColours(image) > 256 ? kTruecolour : kPalette);
    ExpectDecodesTo(png, image);
}

INSTANTIATE_TEST_SUITE_P(BandHeights, BandedPicture,
                         ::testing::Values(Case{97, 600, 1}, Case{97, 600, 7}, Case{97, 600, 300},
                                           Case{301, 1000, 64},   // 1,000 rows are not whole bands of 64
                                           Case{700, 2000, 300},  // several pieces of deflate
                                           Case{1, 50, 7}, Case{50, 1, 7}, Case{1, 1, 1}));

TEST(StreamingPng, ExactlyTwoHundredFiftySixColoursKeepThePalette) {
    const QImage image = CellPicture(400, 300, 256);
    const QByteArray png = Encode(image, 32);
    EXPECT_EQ(ColourType(png), kPalette);
    ExpectDecodesTo(png, image);
}

// A picture of one band holds several pieces of deflate work; whichever thread finishes first, the file
// is the same, and its palette holds only the picture's colours.
TEST(StreamingPng, OnePictureIsAlwaysTheSameFile) {
    const QImage image = CellPicture(1200, 1000, 40);
    const QByteArray first = Encode(image, 1000);
    for (int run = 0; run < 30; ++run) ASSERT_EQ(Encode(image, 1000), first) << "run " << run;
    EXPECT_EQ(ColourType(first), kPalette);
    const int paletteLength = qFromBigEndian<quint32>(first.constData() + first.indexOf("PLTE") - 4);
    EXPECT_EQ(paletteLength, 3 * 40);
}

TEST(StreamingPng, A257thColourInTheLastBandRestartsInTruecolour) {
    QImage image = CellPicture(900, 1500, 256);
    image.setPixel(899, 1499, qRgb(1, 2, 3));
    std::vector<int> tops;
    const QByteArray png = Encode(image, 100, &tops);
    EXPECT_EQ(ColourType(png), kTruecolour);
    ExpectDecodesTo(png, image);
    EXPECT_EQ(std::count(tops.begin(), tops.end(), 1400), 2);  // painted in both passes
    EXPECT_EQ(tops.size(), 30u);
}

TEST(StreamingPng, ManyColoursInTheFirstBandDoNotPaintItTwice) {
    const QImage image = GradientPicture(300, 250);
    std::vector<int> tops;
    ExpectDecodesTo(Encode(image, 100, &tops), image);
    EXPECT_EQ(tops, (std::vector<int>{0, 100, 200}));
}

// A device that cannot seek, like standard output.
class PipeDevice : public QIODevice {
public:
    QByteArray written;
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        written.append(data, size);
        return size;
    }
};

TEST(StreamingPng, ASequentialDeviceGetsThePaletteAndRestartsToo) {
    const QImage fewColours = CellPicture(200, 300, 256);
    QImage manyColours = fewColours;
    manyColours.setPixel(0, 299, qRgb(1, 2, 3));
    for (const QImage* image : {&fewColours, static_cast<const QImage*>(&manyColours)}) {
        PipeDevice pipe;
        pipe.open(QIODevice::WriteOnly);
        EXPECT_EQ(EncodePng(pipe, image->width(), image->height(), 40, BandsOf(*image)), QString());
        EXPECT_EQ(ColourType(pipe.written), image == &fewColours ? kPalette : kTruecolour);
        ExpectDecodesTo(pipe.written, *image);
    }
}

// A device that fails once it has taken `capacity` bytes.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 capacity) : capacity(capacity) {}
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (taken + size > capacity) return -1;
        taken += size;
        return size;
    }

private:
    qint64 capacity;
    qint64 taken = 0;
};

TEST(StreamingPng, AFailingDeviceIsReported) {
    const QImage image = GradientPicture(300, 300);
    FullDevice device(1000);
    device.open(QIODevice::WriteOnly);
    EXPECT_NE(EncodePng(device, image.width(), image.height(), 50, BandsOf(image)), QString());
}

TEST(StreamingPng, ABandThatCannotBePaintedIsReported) {
    const QImage image = CellPicture(100, 100, 10);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString error = EncodePng(buffer, 100, 100, 10, [&](int top, int rows) {
        return top == 50 ? QImage() : image.copy(0, top, 100, rows);
    });
    EXPECT_TRUE(error.contains(QLatin1String("rows 50 to 59"))) << error.toStdString();
}

TEST(StreamingPng, ABandOfTheWrongSizeIsReported) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString error = EncodePng(buffer, 100, 100, 10, [](int, int rows) {
        QImage band(99, rows, QImage::Format_RGB32);
        band.fill(Qt::white);
        return band;
    });
    EXPECT_TRUE(error.contains(QLatin1String("99 x 10"))) << error.toStdString();
}

TEST(StreamingPng, SidesBeyondWhatPngAllowsAreRefused) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int calls = 0;
    const PaintBand paint = [&calls](int, int) {
        ++calls;
        return QImage();
    };
    EXPECT_TRUE(EncodePng(buffer, kMaxPngSide + 1, 10, 10, paint).contains(QLatin1String("2147483647")));
    EXPECT_TRUE(EncodePng(buffer, 10, kMaxPngSide + 1, 10, paint).contains(QLatin1String("2147483647")));
    EXPECT_NE(EncodePng(buffer, 0, 10, 10, paint), QString());
    EXPECT_NE(EncodePng(buffer, 10, 10, 0, paint), QString());
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(bytes.isEmpty());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

PaintBand FailingAt(const QImage& image, int failingTop) {
    return [&image, failingTop](int top, int rows) {
        return top == failingTop ? QImage() : image.copy(0, top, image.width(), rows);
    };
}

TEST(PngFiles, AFailedWriteLeavesNoFile) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    const QImage image = GradientPicture(200, 400);
    EXPECT_NE(WritePngBands(path, 200, 400, 50, FailingAt(image, 300)), QString());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(PngFiles, AFailedWriteLeavesAnExistingFileUntouched) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("the picture before");
    }
    const QImage image = CellPicture(200, 400, 300);  // fails after restarting in truecolour
    EXPECT_NE(WritePngBands(path, 200, 400, 50, FailingAt(image, 350)), QString());
    EXPECT_EQ(ReadFile(path), QByteArray("the picture before"));
}

TEST(PngFiles, AWholeFileIsWrittenInPlaceOfTheOldOne) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    const QImage first = CellPicture(120, 90, 20);
    const QImage second = CellPicture(300, 200, 400);  // restarts in truecolour within the file
    ASSERT_EQ(WriteImage(first, path, OutputFormat::Png), QString());
    ExpectDecodesTo(ReadFile(path), first);
    ASSERT_EQ(WritePngBands(path, 300, 200, 16, BandsOf(second)), QString());
    ExpectDecodesTo(ReadFile(path), second);
}

TEST(PngFiles, WriteImageKeepsAFewColoursInAPalette) {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    const QImage image = CellPicture(640, 480, 30);
    ASSERT_EQ(WriteImage(image, path, OutputFormat::Png), QString());
    const QByteArray png = ReadFile(path);
    EXPECT_EQ(ColourType(png), kPalette);
    ExpectDecodesTo(png, image);
}

// The rows a zlib stream inflates to, or -1 when it is not one whole valid stream.
qint64 InflatedSize(const QByteArray& zlibStream) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return -1;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zlibStream.data()));
    stream.avail_in = uInt(zlibStream.size());
    std::vector<unsigned char> sink(1 << 20);
    int status = Z_OK;
    qint64 total = 0;
    while (status == Z_OK) {
        stream.next_out = sink.data();
        stream.avail_out = uInt(sink.size());
        status = inflate(&stream, Z_NO_FLUSH);
        total += qint64(sink.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END && stream.avail_in == 0 ? total : -1;
}

QByteArray ImageData(const QByteArray& png) {
    QByteArray data;
    for (qint64 at = 8; at + 12 <= png.size();) {
        const qint64 size = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "IDAT") data += png.mid(at + 8, size);
        at += 12 + size;
    }
    return data;
}

// Band images painted into a few reusable buffers, counting those that are alive.
class BandPool {
public:
    BandPool(int width, int rows) : width(width), buffers(kSlots) {
        for (Slot& slot : buffers) slot.pixels.resize(std::size_t(width) * rows);
    }
    int MostAlive() const { return mostAlive; }
    int Alive() const { return alive; }

    // A band of `rows` rows, or a null image when all buffers are taken.
    QImage Band(int top, int rows) {
        auto free = std::find_if(buffers.begin(), buffers.end(),
                                 [](const Slot& slot) { return slot.pool == nullptr; });
        if (free == buffers.end()) return QImage();
        free->pool = this;
        mostAlive = std::max(mostAlive, ++alive);
        for (int y = 0; y < rows; ++y)
            std::fill_n(free->pixels.begin() + std::ptrdiff_t(y) * width, width,
                        qRgb(0, (top + y) / 15 % 256, 7));
        return QImage(reinterpret_cast<uchar*>(free->pixels.data()), width, rows, width * 4,
                      QImage::Format_RGB32, &BandPool::Release, &*free);
    }

private:
    struct Slot {
        std::vector<QRgb> pixels;
        BandPool* pool = nullptr;  // set while an image uses the pixels
    };
    static void Release(void* info) {
        Slot& slot = *static_cast<Slot*>(info);
        --slot.pool->alive;
        slot.pool = nullptr;
    }
    static const int kSlots = 8;
    int width;
    std::vector<Slot> buffers;
    int alive = 0;
    int mostAlive = 0;
};

TEST(StreamingPng, ATallPictureHoldsOnlyAFewBands) {
    const int width = 2000, height = 200000, bandRows = 500;
    BandPool pool(width, bandRows);
    std::vector<int> tops;
    const PaintBand paint = [&](int top, int rows) {
        tops.push_back(top);
        return pool.Band(top, rows);
    };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_EQ(EncodePng(buffer, width, height, bandRows, paint), QString());
    EXPECT_EQ(pool.Alive(), 0);
    EXPECT_LE(pool.MostAlive(), 2);
    ASSERT_EQ(tops.size(), std::size_t(height / bandRows));
    for (std::size_t i = 0; i < tops.size(); ++i) EXPECT_EQ(tops[i], int(i) * bandRows);
    EXPECT_EQ(ColourType(bytes), kPalette);
    EXPECT_EQ(InflatedSize(ImageData(bytes)), qint64(height) * (width + 1));
}

}  // namespace
