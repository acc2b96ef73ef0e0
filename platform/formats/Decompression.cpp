#include "formats/Decompression.h"

#include <bzlib.h>
#include <lzma.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace Formats {

namespace {

constexpr std::size_t kChunk = 1 << 16;
// xz can ask for a dictionary of 1.5 GiB; files made with `xz -9` need 64 MiB.
constexpr std::uint64_t kXzMemoryLimit = std::uint64_t(256) << 20;

bool StartsWithBytes(const std::string& data, const char* magic, std::size_t size) {
    return data.size() >= size && std::memcmp(data.data(), magic, size) == 0;
}

std::string TooLarge(std::size_t maxBytes) {
    return "decompressed input larger than " + std::to_string(maxBytes) + " bytes; refusing to read it";
}

/// Appends what a decoder produced, unless that passes the size cap.
bool Take(std::string& out, const char* buffer, std::size_t produced, std::size_t maxBytes,
          std::string& problem) {
    if (out.size() + produced > maxBytes) {
        problem = TooLarge(maxBytes);
        return false;
    }
    out.append(buffer, produced);
    return true;
}

const char* LzmaProblem(lzma_ret status) {
    switch (status) {
        case LZMA_MEMLIMIT_ERROR:
            return "the xz data needs more memory to decompress than allowed";
        case LZMA_FORMAT_ERROR:
        case LZMA_DATA_ERROR:
            return "corrupt xz data";
        case LZMA_BUF_ERROR:
            return "corrupt xz data: truncated input";
        default:
            return "cannot decompress the xz data";
    }
}

}  // namespace

Compression DetectCompression(const std::string& data) {
    if (StartsWithBytes(data, "\x1F\x8B", 2)) return Compression::Gzip;
    // "BZh", the block size digit, then the block magic (pi) or the end-of-stream magic (sqrt pi).
    if (data.size() >= 10 && StartsWithBytes(data, "BZh", 3) && data[3] >= '1' && data[3] <= '9' &&
        (std::memcmp(data.data() + 4, "\x31\x41\x59\x26\x53\x59", 6) == 0 ||
         std::memcmp(data.data() + 4, "\x17\x72\x45\x38\x50\x90", 6) == 0))
        return Compression::Bzip2;
    if (StartsWithBytes(data,
                        "\xFD"
                        "7zXZ\x00",
                        6))
        return Compression::Xz;
    if (StartsWithBytes(data, "PK\x03\x04", 4) || StartsWithBytes(data, "PK\x05\x06", 4))
        return Compression::Zip;
    if (StartsWithBytes(data, "\x28\xB5\x2F\xFD", 4)) return Compression::Zstd;
    return Compression::None;
}

std::string CompressionName(Compression compression) {
    switch (compression) {
        case Compression::Gzip:
            return "gzip";
        case Compression::Bzip2:
            return "bzip2";
        case Compression::Xz:
            return "xz";
        case Compression::Zip:
            return "zip";
        case Compression::Zstd:
            return "zstd";
        case Compression::None:
            break;
    }
    return std::string();
}

bool Bunzip2(const std::string& compressed, std::size_t maxBytes, std::string& text, std::string& problem) {
    std::string out;
    char buffer[kChunk];
    std::size_t offset = 0;
    while (offset < compressed.size()) {  // one pass per concatenated stream
        bz_stream stream{};
        if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
            problem = "cannot start bzip2 decompression";
            return false;
        }
        const std::size_t available = std::min<std::size_t>(compressed.size() - offset, UINT_MAX);
        stream.next_in = const_cast<char*>(compressed.data() + offset);
        stream.avail_in = unsigned(available);
        int status = BZ_OK;
        while (status == BZ_OK) {
            stream.next_out = buffer;
            stream.avail_out = kChunk;
            status = BZ2_bzDecompress(&stream);
            const std::size_t produced = kChunk - stream.avail_out;
            if (status != BZ_OK && status != BZ_STREAM_END) {
                problem = "corrupt bzip2 data";
            } else if (status == BZ_OK && produced == 0 && stream.avail_in == 0) {
                problem = "corrupt bzip2 data: truncated input";
                status = BZ_DATA_ERROR;
            } else if (!Take(out, buffer, produced, maxBytes, problem)) {
                status = BZ_MEM_ERROR;
            }
        }
        offset += available - stream.avail_in;
        BZ2_bzDecompressEnd(&stream);
        if (status != BZ_STREAM_END) return false;
        if (offset < compressed.size() &&
            DetectCompression(compressed.substr(offset, 10)) != Compression::Bzip2)
            break;  // padding after the last stream
    }
    text = std::move(out);
    return true;
}

bool Unxz(const std::string& compressed, std::size_t maxBytes, std::string& text, std::string& problem) {
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_stream_decoder(&stream, kXzMemoryLimit, LZMA_CONCATENATED) != LZMA_OK) {
        problem = "cannot start xz decompression";
        return false;
    }
    stream.next_in = reinterpret_cast<const std::uint8_t*>(compressed.data());
    stream.avail_in = compressed.size();
    std::string out;
    std::uint8_t buffer[kChunk];
    lzma_ret status = LZMA_OK;
    bool ok = true;
    while (ok && status == LZMA_OK) {
        stream.next_out = buffer;
        stream.avail_out = kChunk;
        status = lzma_code(&stream, stream.avail_in == 0 ? LZMA_FINISH : LZMA_RUN);
        const std::size_t produced = kChunk - stream.avail_out;
        if (status != LZMA_OK && status != LZMA_STREAM_END) {
            problem = LzmaProblem(status);
            ok = false;
        } else {
            ok = Take(out, reinterpret_cast<const char*>(buffer), produced, maxBytes, problem);
        }
    }
    lzma_end(&stream);
    if (ok) text = std::move(out);
    return ok;
}

}  // namespace Formats
