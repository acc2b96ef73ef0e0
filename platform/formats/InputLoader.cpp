#include "formats/InputLoader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "formats/Decompression.h"
#include "formats/ResidueText.h"

namespace Formats {

namespace {
constexpr std::size_t kChunk = 1 << 16;

bool IsControlByte(unsigned char c) {
    return c < 0x20 && c != '\n' && c != '\r' && c != '\t' && c != '\f' && c != '\v';
}
}  // namespace

std::string InputLoader::tooLarge() const {
    return "input larger than " + std::to_string(maxBytes_) + " bytes; refusing to read it";
}

bool InputLoader::load(std::istream& in, std::string& text, ReadError& error) const {
    std::string raw;
    char buffer[kChunk];
    while (in) {
        in.read(buffer, kChunk);
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (raw.size() + got > maxBytes_) return Fail(error, 0, tooLarge());
        raw.append(buffer, got);
        // Text never holds a NUL byte (compressed data does): a device like /dev/zero is refused at its
        // first chunk, not read up to the limit.
        if (DetectCompression(raw) == Compression::None && std::memchr(buffer, 0, got) != nullptr) {
            if (checkText(raw, error))
                Fail(error, 0, "binary data (a NUL byte): expected an alignment in text form");
            return false;
        }
    }
    if (in.bad()) return Fail(error, 0, "read error");
    return decompress(raw, text, error);
}

bool InputLoader::decompress(std::string& raw, std::string& text, ReadError& error) const {
    const Compression compression = DetectCompression(raw);
    std::string problem;
    switch (compression) {
        case Compression::None:
            text = std::move(raw);
            return true;
        case Compression::Gzip:
            return gunzip(raw, text, error);
        case Compression::Bzip2:
            return Bunzip2(raw, maxBytes_, text, problem) || Fail(error, 0, problem);
        case Compression::Xz:
            return Unxz(raw, maxBytes_, text, problem) || Fail(error, 0, problem);
        case Compression::Zip:
        case Compression::Zstd:
            break;
    }
    const std::string name = CompressionName(compression);
    return Fail(error, 0,
                "a " + name + (compression == Compression::Zip ? " archive" : "-compressed file") +
                    ", which is not read: unpack it first (" +
                    (compression == Compression::Zip ? "unzip" : "unzstd") + ")");
}

bool InputLoader::gunzip(const std::string& compressed, std::string& text, ReadError& error) const {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return Fail(error, 0, "cannot start gzip decompression");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(compressed.size(), UINT32_MAX));
    std::size_t remainingIn = compressed.size() - stream.avail_in;
    std::string out;
    char buffer[kChunk];
    int status = Z_OK;
    bool ok = true;
    while (ok) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = kChunk;
        status = inflate(&stream, Z_NO_FLUSH);
        const std::size_t produced = kChunk - stream.avail_out;
        if (status != Z_OK && status != Z_STREAM_END) {
            ok = Fail(error, 0,
                      std::string("corrupt gzip data: ") + (stream.msg ? stream.msg : "truncated input"));
            break;
        }
        if (out.size() + produced > maxBytes_) {
            ok = Fail(error, 0, "decompressed " + tooLarge());
            break;
        }
        out.append(buffer, produced);
        if (stream.avail_in == 0 && remainingIn > 0) {
            const std::size_t next = std::min<std::size_t>(remainingIn, UINT32_MAX);
            stream.avail_in = static_cast<uInt>(next);
            remainingIn -= next;
        }
        if (status == Z_STREAM_END) {
            if (stream.avail_in == 0) break;
            inflateReset(&stream);  // concatenated gzip members, as `cat a.gz b.gz` makes
        } else if (stream.avail_in == 0 && produced == 0) {
            ok = Fail(error, 0, "corrupt gzip data: truncated input");
            break;
        }
    }
    inflateEnd(&stream);
    if (ok) text = std::move(out);
    return ok;
}

bool InputLoader::checkText(const std::string& text, ReadError& error) {
    long line = 1;
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\n') ++line;
        if (IsControlByte(u))
            return Fail(error, line, "binary data (a control byte): expected an alignment in text form");
    }
    return true;
}

}  // namespace Formats
