#pragma once

#include <string>
#include <string_view>

#include "formats/AlignmentReader.h"

namespace Formats {

/// Splits NEXUS text into words and single characters, skipping blanks and [comments] and counting lines
/// for error messages.
class NexusScanner {
public:
    explicit NexusScanner(std::string_view text) : text_(text) {}

    /// Skips blanks, line ends and [comments]; fails on a comment that never closes.
    bool skipSpace(ReadError& error);
    bool atEnd() const { return pos_ >= text_.size(); }
    /// The next character, 0 at the end.
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    char take();
    /// The line of the next character (1-based).
    long line() const { return line_; }

    /// After skipSpace: a 'quoted' or "quoted" word ('' inside quotes is a quote), a single ';' or '=', or a
    /// run of other characters up to a blank, ';', '=' or '['. Empty at the end of the text.
    bool word(std::string& out, ReadError& error);
    /// Skips past the ';' that ends the current command.
    bool skipCommand(ReadError& error);

private:
    bool quoted(char quote, std::string& out, ReadError& error);

    std::string_view text_;
    std::size_t pos_ = 0;
    long line_ = 1;
};

}  // namespace Formats
