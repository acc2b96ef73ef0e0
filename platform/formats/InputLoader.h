#pragma once

#include <cstddef>
#include <istream>
#include <string>

#include "formats/AlignmentReader.h"

namespace Formats {

/// Reads raw input into memory with a size cap, undoes gzip, bzip2 and xz compression and rejects binary
/// data and archives, so that the parsers only ever see bounded text.
class InputLoader {
public:
    explicit InputLoader(std::size_t maxBytes) : maxBytes_(maxBytes) {}

    /// Reads the whole stream; compressed data (by its magic bytes) is decompressed.
    bool load(std::istream& in, std::string& text, ReadError& error) const;
    /// Decompresses gzip data (several members allowed), failing beyond the size cap.
    bool gunzip(const std::string& compressed, std::string& text, ReadError& error) const;
    /// Fails for text holding NUL or other control bytes, naming the line of the first one.
    static bool checkText(const std::string& text, ReadError& error);

private:
    bool decompress(std::string& raw, std::string& text, ReadError& error) const;
    std::string tooLarge() const;

    std::size_t maxBytes_;
};

}  // namespace Formats
