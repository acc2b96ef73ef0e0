#pragma once

#include <string>
#include <string_view>

namespace Formats {

/// Walks a text line by line, counting 1-based line numbers for error messages. Accepts "\n", "\r\n" and
/// lone "\r" endings, because alignments arrive from every platform.
class TextLines {
public:
    explicit TextLines(std::string_view text) : text_(text) {}

    /// The next line without its ending; false at the end of the text.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
        line = text_.substr(pos_, end - pos_);
        if (end < text_.size() && text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n')
            ++end;
        pos_ = end + 1;
        ++number_;
        return true;
    }
    /// The number of the line last returned by next().
    long number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    long number_ = 0;
};

}  // namespace Formats
