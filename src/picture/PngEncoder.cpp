#include "msarender/picture/PngEncoder.h"

#include <zlib.h>

#include <QBuffer>
#include <QFileDevice>
#include <QTemporaryFile>
#include <QtEndian>
#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// The picture's rows are filtered on the calling thread, between the bands it paints, and cut into pieces
// of about a megabyte that other threads deflate independently, as pigz does: each piece is raw deflate
// primed with the last 32 KiB of the piece before and ends on a byte boundary (a sync flush), so the pieces
// written one after the other, between one zlib header and the Adler-32 of all the rows, form one zlib
// stream.

namespace {

const int kMaxPaletteColours = 256;
const std::size_t kPieceBytes = std::size_t(1) << 20;
const std::size_t kWindowBytes = 32768;
const std::size_t kMaxZlibSlice = std::size_t(1) << 30;  // zlib counts bytes in 32 bits
const std::size_t kMaxIdatBytes = std::size_t(1) << 30;
const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool WriteBytes(QIODevice& out, const unsigned char* data, std::size_t size) {
    return size == 0 || out.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

bool WriteChunk(QIODevice& out, const char* type, const unsigned char* data, std::size_t size) {
    unsigned char header[8];
    qToBigEndian<quint32>(quint32(size), header);
    std::copy(type, type + 4, header + 4);
    uLong crc = crc32(0L, header + 4, 4);
    if (size > 0) crc = crc32_z(crc, data, size);  // zlib gives 0 for no data
    unsigned char trailer[4];
    qToBigEndian<quint32>(quint32(crc), trailer);
    return WriteBytes(out, header, 8) && WriteBytes(out, data, size) && WriteBytes(out, trailer, 4);
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

// Turns lines of pixels into filtered PNG rows: palette indexes, or RGB triples without a palette.
class RowEncoder {
public:
    RowEncoder(int width, ColourIndex* palette, PngRowFilter filter)
        : width(width),
          channels(palette != nullptr ? 1 : 3),
          palette(palette),
          filter(filter),
          current(std::size_t(width) * channels),
          previous(current.size(), 0) {}

    std::size_t RowBytes() const { return 1 + current.size(); }

    // Writes the row of `line` to `row` (RowBytes() long); false when a colour does not fit the palette.
    bool Encode(const QRgb* line, unsigned char* row) {
        if (palette != nullptr && filter == PngRowFilter::None) {  // the usual case: no copy
            row[0] = 0;
            return ToIndexes(line, row + 1);
        }
        if (!ToSamples(line)) return false;
        Filter(row);
        current.swap(previous);
        return true;
    }

private:
    bool ToSamples(const QRgb* line) {
        unsigned char* out = current.data();
        if (palette != nullptr) return ToIndexes(line, out);
        for (int x = 0; x < width; ++x) {
            *out++ = uchar(qRed(line[x]));
            *out++ = uchar(qGreen(line[x]));
            *out++ = uchar(qBlue(line[x]));
        }
        return true;
    }

    bool ToIndexes(const QRgb* line, unsigned char* out) {
        QRgb last = line[0];
        int index = palette->IndexOf(last);
        if (index < 0) return false;
        for (int x = 0; x < width; ++x) {
            if (line[x] != last) {  // runs of one colour are the rule
                last = line[x];
                index = palette->IndexOf(last);
                if (index < 0) return false;
            }
            out[x] = uchar(index);
        }
        return true;
    }

    void Filter(unsigned char* row) const {
        switch (filter) {
            case PngRowFilter::None:
                return FilterNone(row);
            case PngRowFilter::Sub:
                return FilterSub(row);
            case PngRowFilter::Up:
                return FilterUp(row);
            case PngRowFilter::Adaptive:
                return FilterAdaptive(row);
        }
    }
    void FilterNone(unsigned char* row) const {
        row[0] = 0;
        std::copy(current.begin(), current.end(), row + 1);
    }
    void FilterSub(unsigned char* row) const {
        row[0] = 1;
        const std::size_t size = current.size();
        for (std::size_t i = 0; i < size; ++i)
            row[1 + i] = uchar(current[i] - (i >= std::size_t(channels) ? current[i - channels] : 0));
    }
    void FilterUp(unsigned char* row) const {
        row[0] = 2;
        const std::size_t size = current.size();
        for (std::size_t i = 0; i < size; ++i) row[1 + i] = uchar(current[i] - previous[i]);
    }
    // The filter whose bytes, read as signed, add up to the least magnitude: the usual heuristic.
    void FilterAdaptive(unsigned char* row) const {
        const std::size_t size = current.size();
        unsigned long none = 0, sub = 0, up = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const unsigned char left = i >= std::size_t(channels) ? current[i - channels] : 0;
            none += std::abs(int(static_cast<signed char>(current[i])));
            sub += std::abs(int(static_cast<signed char>(current[i] - left)));
            up += std::abs(int(static_cast<signed char>(current[i] - previous[i])));
        }
        if (none <= sub && none <= up) return FilterNone(row);
        if (up <= sub) return FilterUp(row);
        FilterSub(row);
    }

    int width;
    int channels;
    ColourIndex* palette;
    PngRowFilter filter;
    std::vector<unsigned char> current;   // unfiltered samples of the row being encoded
    std::vector<unsigned char> previous;  // and of the row above it (zeros above the first)
};

// A run of filtered rows, deflated on its own.
struct Piece {
    std::vector<unsigned char> input;
    std::vector<unsigned char> dictionary;  // the last 32 KiB of the piece before
    bool last = false;
    std::vector<unsigned char> output;  // may start with the zlib header
    std::size_t inputSize = 0;
    uLong adler = 1;  // of `input`
    bool done = false;
    bool failed = false;
};

bool DeflateSlices(z_stream& stream, Piece& piece) {
    std::size_t consumed = 0, produced = piece.output.size();
    do {
        const std::size_t slice = std::min(kMaxZlibSlice, piece.input.size() - consumed);
        const bool end = consumed + slice == piece.input.size();
        const int flush = !end ? Z_NO_FLUSH : piece.last ? Z_FINISH : Z_SYNC_FLUSH;
        stream.next_in = piece.input.data() + consumed;
        stream.avail_in = uInt(slice);
        do {
            piece.output.resize(produced + std::max<std::size_t>(1 << 16, slice / 4));
            const std::size_t room = std::min(kMaxZlibSlice, piece.output.size() - produced);
            stream.next_out = piece.output.data() + produced;
            stream.avail_out = uInt(room);
            if (deflate(&stream, flush) == Z_STREAM_ERROR) return false;
            produced += room - stream.avail_out;
        } while (stream.avail_out == 0);
        consumed += slice;
    } while (consumed < piece.input.size());
    piece.output.resize(produced);
    return true;
}

// Raw deflate of the piece, ending on a byte boundary (or the stream's end for the last piece).
bool DeflatePiece(Piece& piece, int level) {
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    const bool ok =
        (piece.dictionary.empty() ||
         deflateSetDictionary(&stream, piece.dictionary.data(), uInt(piece.dictionary.size())) == Z_OK) &&
        DeflateSlices(stream, piece);
    deflateEnd(&stream);
    piece.adler = adler32_z(1, piece.input.data(), piece.input.size());
    piece.inputSize = piece.input.size();
    std::vector<unsigned char>().swap(piece.input);  // done with; frees the memory early
    std::vector<unsigned char>().swap(piece.dictionary);
    return ok;
}

// Threads that deflate the pieces handed to them, in any order.
class DeflateWorkers {
public:
    DeflateWorkers(int count, int level) : level(level) {
        for (int i = 0; i < count; ++i) threads.emplace_back([this] { Run(); });
    }
    ~DeflateWorkers() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        work.notify_all();
        for (std::thread& thread : threads) thread.join();
    }
    DeflateWorkers(const DeflateWorkers&) = delete;
    DeflateWorkers& operator=(const DeflateWorkers&) = delete;

    void Submit(std::shared_ptr<Piece> piece) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            queue.push_back(std::move(piece));
        }
        work.notify_one();
    }
    void WaitFor(const Piece& piece) {
        std::unique_lock<std::mutex> lock(mutex);
        finished.wait(lock, [&] { return piece.done; });
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(mutex);
        while (true) {
            work.wait(lock, [this] { return stopping || !queue.empty(); });
            if (stopping) return;
            std::shared_ptr<Piece> piece = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            bool ok = false;
            try {
                ok = DeflatePiece(*piece, level);
            } catch (const std::bad_alloc&) {
            }
            lock.lock();
            piece->failed = !ok;
            piece->done = true;
            finished.notify_all();
        }
    }

    int level;
    std::mutex mutex;
    std::condition_variable work;
    std::condition_variable finished;
    std::deque<std::shared_ptr<Piece>> queue;
    bool stopping = false;
    std::vector<std::thread> threads;
};

int DeflateThreads(const PngEncoding& encoding) {
    if (encoding.threads > 0) return encoding.threads;
    return int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

// The two bytes that open a zlib stream of 32 KiB windows, with the level's hint.
std::vector<unsigned char> ZlibHeader(int level) {
    const int hint = level <= 1 ? 0 : level <= 5 ? 1 : level == 6 ? 2 : 3;
    const int method = 0x78;
    int flags = hint << 6;
    flags += 31 - (method * 256 + flags) % 31;
    return {uchar(method), uchar(flags)};
}

struct Geometry {
    int width;
    int height;
    int bandRows;
};

enum class Outcome { Written, Failed, NeedsTruecolour };

// One pass over the picture, with a palette or in truecolour.
class PictureEncoder {
public:
    PictureEncoder(QIODevice& out, Geometry geometry, bool withPalette, const PngEncoding& encoding)
        : out(out),
          geometry(geometry),
          encoding(encoding),
          withPalette(withPalette),
          rows(geometry.width, withPalette ? &palette : nullptr,
               withPalette ? encoding.paletteFilter : encoding.truecolourFilter),
          workers(DeflateThreads(encoding), encoding.level),
          maxInFlight(DeflateThreads(encoding) + 1) {}

    // Paints and encodes the bands in order. `firstBand`, when not null, is the first band already painted;
    // when a palette does not suffice for the first band, it is left there for the pass in truecolour.
    Outcome Encode(const PaintBand& paintBand, QImage& firstBand) {
        for (int top = 0; top < geometry.height; top += geometry.bandRows) {
            const int count = std::min(geometry.bandRows, geometry.height - top);
            QImage band = top == 0 && !firstBand.isNull() ? std::move(firstBand) : paintBand(top, count);
            if (!CheckBand(band, top, count)) return Outcome::Failed;
            const Outcome outcome = EncodeBand(band, top);
            if (outcome == Outcome::NeedsTruecolour && top == 0) firstBand = std::move(band);
            if (outcome != Outcome::Written) return outcome;
        }
        return Finish() ? Outcome::Written : Outcome::Failed;
    }
    const QString& Error() const { return error; }

private:
    bool CheckBand(QImage& band, int top, int count) {
        if (band.isNull())
            return Fail(QStringLiteral("rows %1 to %2 of the picture could not be painted")
                            .arg(top)
                            .arg(top + count - 1));
        if (band.width() != geometry.width || band.height() != count)
            return Fail(
                QStringLiteral("rows %1 to %2 of the picture were painted %3 x %4 pixels, not %5 x %6")
                    .arg(top)
                    .arg(top + count - 1)
                    .arg(band.width())
                    .arg(band.height())
                    .arg(geometry.width)
                    .arg(count));
        if (band.format() != QImage::Format_RGB32) band = band.convertToFormat(QImage::Format_RGB32);
        return true;
    }

    Outcome EncodeBand(const QImage& band, int top) {
        for (int y = 0; y < band.height(); ++y) {
            if (!current) NewPiece();
            const std::size_t at = current->input.size();
            current->input.resize(at + rows.RowBytes());
            if (!rows.Encode(reinterpret_cast<const QRgb*>(band.constScanLine(y)),
                             current->input.data() + at))
                return Outcome::NeedsTruecolour;
            ++rowsEncoded;
            const bool lastRow = top + y + 1 == geometry.height;
            if ((current->input.size() >= kPieceBytes || lastRow) && !SubmitPiece(lastRow))
                return Outcome::Failed;
        }
        return Outcome::Written;
    }

    void NewPiece() {
        current = std::make_shared<Piece>();
        current->input.reserve(kPieceBytes + rows.RowBytes());
        current->dictionary.swap(window);
        if (!headerQueued) current->output = ZlibHeader(encoding.level);
        headerQueued = true;
    }

    bool SubmitPiece(bool last) {
        const std::vector<unsigned char>& input = current->input;
        window.assign(input.end() - std::ptrdiff_t(std::min(kWindowBytes, input.size())), input.end());
        current->last = last;
        inFlight.push_back(current);
        workers.Submit(std::move(current));
        current.reset();
        return WriteFinishedPieces(last ? 0 : maxInFlight - 1);
    }

    // Writes pieces in order until no more than `keep` are left in flight, waiting for each. Pieces that are
    // done early wait too: when the header goes out, and so whether its palette is final, must not depend on
    // the threads' timing, or one picture would come out as different files.
    bool WriteFinishedPieces(int keep) {
        while (int(inFlight.size()) > keep) {
            Piece& piece = *inFlight.front();
            workers.WaitFor(piece);
            if (piece.failed) return Fail(QStringLiteral("deflate failed"));
            if (!WritePiece(piece)) return false;
            inFlight.pop_front();
        }
        return true;
    }

    bool WritePiece(Piece& piece) {
        if (!headerWritten && !WriteHeader()) return false;
        headerWritten = true;
        adler = adler32_combine(adler, piece.adler, z_off_t(piece.inputSize));
        if (piece.last) {
            unsigned char trailer[4];
            qToBigEndian<quint32>(quint32(adler), trailer);
            piece.output.insert(piece.output.end(), trailer, trailer + 4);
        }
        for (std::size_t at = 0; at < piece.output.size(); at += kMaxIdatBytes) {
            const std::size_t size = std::min(kMaxIdatBytes, piece.output.size() - at);
            if (!WriteChunk(out, "IDAT", piece.output.data() + at, size)) return WriteFailed();
        }
        return true;
    }

    // Signature, IHDR and, with a palette, PLTE: all 256 entries when colours may still come, to be
    // rewritten with the final colours at the end.
    bool WriteHeader() {
        unsigned char header[13];
        qToBigEndian<quint32>(quint32(geometry.width), header);
        qToBigEndian<quint32>(quint32(geometry.height), header + 4);
        header[8] = 8;                    // bits per sample or index
        header[9] = withPalette ? 3 : 2;  // indexed or truecolour
        header[10] = header[11] = header[12] = 0;
        if (!WriteBytes(out, kSignature, 8) || !WriteChunk(out, "IHDR", header, 13)) return WriteFailed();
        if (encoding.pixelsPerMetre > 0 && !WriteDensity()) return WriteFailed();
        if (!withPalette) return true;
        paletteFinal = rowsEncoded == geometry.height;
        paletteAt = out.pos();
        return WritePalette();
    }

    bool WriteDensity() {
        unsigned char density[9];
        qToBigEndian<quint32>(quint32(encoding.pixelsPerMetre), density);
        qToBigEndian<quint32>(quint32(encoding.pixelsPerMetre), density + 4);
        density[8] = 1;  // the unit is the metre
        return WriteChunk(out, "pHYs", density, 9);
    }

    bool WritePalette() {
        std::vector<unsigned char> entries;
        for (QRgb colour : palette.Colours())
            entries.insert(entries.end(), {uchar(qRed(colour)), uchar(qGreen(colour)), uchar(qBlue(colour))});
        if (!paletteFinal) entries.resize(3 * kMaxPaletteColours, 0);
        return WriteChunk(out, "PLTE", entries.data(), entries.size()) || WriteFailed();
    }

    bool Finish() {
        if (!WriteFinishedPieces(0) || !WriteChunk(out, "IEND", nullptr, 0)) return WriteFailed();
        if (!withPalette || paletteFinal) return true;
        const qint64 end = out.pos();
        return (out.seek(paletteAt) && WritePalette() && out.seek(end)) || WriteFailed();
    }

    bool WriteFailed() {
        if (error.isEmpty())
            error = out.errorString().isEmpty() ? QStringLiteral("write failed") : out.errorString();
        return false;
    }
    bool Fail(const QString& message) {
        error = message;
        return false;
    }

    QIODevice& out;
    const Geometry geometry;
    const PngEncoding encoding;
    const bool withPalette;
    ColourIndex palette;
    RowEncoder rows;
    DeflateWorkers workers;
    const int maxInFlight;
    std::shared_ptr<Piece> current;               // being filled
    std::deque<std::shared_ptr<Piece>> inFlight;  // submitted, in picture order
    std::vector<unsigned char> window;            // dictionary for the next piece
    bool headerQueued = false;
    bool headerWritten = false;
    int rowsEncoded = 0;
    uLong adler = 1;
    bool paletteFinal = false;
    qint64 paletteAt = 0;
    QString error;
};

// Drops what was written from `start` on.
bool Rewind(QIODevice& out, qint64 start) {
    if (!out.seek(start)) return false;
    if (auto* file = qobject_cast<QFileDevice*>(&out)) return file->resize(start);
    if (auto* buffer = qobject_cast<QBuffer*>(&out)) {
        buffer->buffer().truncate(start);
        return true;
    }
    return false;
}

bool CanRewind(QIODevice& out) {
    return !out.isSequential() && (qobject_cast<QFileDevice*>(&out) || qobject_cast<QBuffer*>(&out));
}

QString EncodeRewindable(QIODevice& out, Geometry geometry, const PaintBand& paintBand,
                         const PngEncoding& encoding) {
    const qint64 start = out.pos();
    QImage firstBand;
    {
        PictureEncoder withPalette(out, geometry, true, encoding);
        const Outcome outcome = withPalette.Encode(paintBand, firstBand);
        if (outcome == Outcome::Written) return QString();
        if (outcome == Outcome::Failed) return withPalette.Error();
    }
    if (!Rewind(out, start))
        return "cannot rewind the output to write more than 256 colours: " + out.errorString();
    PictureEncoder truecolour(out, geometry, false, encoding);
    return truecolour.Encode(paintBand, firstBand) == Outcome::Written ? QString() : truecolour.Error();
}

QString CopyAll(QIODevice& from, QIODevice& to) {
    if (!from.seek(0)) return "cannot read back the temporary file: " + from.errorString();
    std::vector<char> buffer(1 << 20);
    while (true) {
        const qint64 got = from.read(buffer.data(), qint64(buffer.size()));
        if (got < 0) return "cannot read back the temporary file: " + from.errorString();
        if (got == 0) return QString();
        if (to.write(buffer.data(), got) != got) return to.errorString();
    }
}

// The palette is only known for sure at the end, so a device that cannot be rewound gets the picture
// from a temporary file.
QString EncodeThroughTemporaryFile(QIODevice& out, Geometry geometry, const PaintBand& paintBand,
                                   const PngEncoding& encoding) {
    QTemporaryFile file;
    if (!file.open()) return "cannot create a temporary file: " + file.errorString();
    const QString error = EncodeRewindable(file, geometry, paintBand, encoding);
    return error.isEmpty() ? CopyAll(file, out) : error;
}

QString CheckArguments(QIODevice& out, qint64 width, qint64 height, int bandRows,
                       const PngEncoding& encoding) {
    if (width < 1 || height < 1 || width > kMaxPngSide || height > kMaxPngSide)
        return QStringLiteral("a PNG picture cannot be %1 x %2 pixels (each side must be 1 to %3)")
            .arg(width)
            .arg(height)
            .arg(kMaxPngSide);
    if (bandRows < 1) return QStringLiteral("bands of %1 rows cannot be encoded").arg(bandRows);
    if (encoding.level < 1 || encoding.level > 9)
        return QStringLiteral("deflate level %1 is not one of 1 to 9").arg(encoding.level);
    if (!out.isWritable()) return QStringLiteral("the output is not open for writing");
    return QString();
}

}  // namespace

int PngBandRows(qint64 width) {
    return int(std::clamp<qint64>((qint64(8) << 20) / std::max<qint64>(width * 4, 1), 16, 1024));
}

QString EncodePng(QIODevice& out, qint64 width, qint64 height, int bandRows, const PaintBand& paintBand,
                  const PngEncoding& encoding) {
    const QString problem = CheckArguments(out, width, height, bandRows, encoding);
    if (!problem.isEmpty()) return problem;
    const Geometry geometry{int(width), int(height), bandRows};
    try {
        if (CanRewind(out)) return EncodeRewindable(out, geometry, paintBand, encoding);
        return EncodeThroughTemporaryFile(out, geometry, paintBand, encoding);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("out of memory");
    } catch (const std::system_error& failure) {
        return QString::fromLocal8Bit(failure.what());
    }
}
