#pragma once

#include <cstddef>
#include <string>

namespace Formats {

/// Compressed or archived input, told apart by the magic bytes at its start (never by the file name).
enum class Compression { None, Gzip, Bzip2, Xz, Zip, Zstd };

Compression DetectCompression(const std::string& data);
/// "gzip", "bzip2", "xz", "zip", "zstd"; empty for None.
std::string CompressionName(Compression compression);

/// Decompress bzip2 (several concatenated streams allowed, as pbzip2 writes) and xz data into `text`.
/// Both fail with `problem` set for corrupt or truncated data and once the output would pass `maxBytes`.
bool Bunzip2(const std::string& compressed, std::size_t maxBytes, std::string& text, std::string& problem);
bool Unxz(const std::string& compressed, std::size_t maxBytes, std::string& text, std::string& problem);

}  // namespace Formats
