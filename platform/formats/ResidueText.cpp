#include "formats/ResidueText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "sqv/UserProperties.h"

namespace Formats {

namespace {
std::string Describe(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (std::isprint(u)) return std::string("'") + c + "'";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "byte 0x%02X", u);
    return buffer;
}
}  // namespace

bool Fail(ReadError& error, long line, std::string message) {
    error.line = line;
    error.message = std::move(message);
    return false;
}

bool AppendResidues(std::string& dest, std::string_view chunk, const std::string& sequenceName, long line,
                    ReadError& error, char missing) {
    for (char c : chunk) {
        if (c == ' ' || c == '\t') continue;
        if (missing != 0 && c == missing) {
            dest.push_back(SQC::SequenceConstants::kMissing);
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '*') {
            dest.push_back(c);
        } else if (c == '~') {
            dest.push_back('-');
        } else {
            const std::string missingNote =
                missing != 0 ? std::string(", missing data '") + missing + "'" : "";
            return Fail(error, line,
                        "unexpected " + Describe(c) + " in sequence '" + sequenceName +
                            "': expected residue letters or gaps ('-', '.')" + missingNote);
        }
    }
    return true;
}

std::size_t ColumnCount(const ParsedAlignment& parsed) {
    std::size_t columns = 0;
    for (const ParsedRecord& record : parsed.records) columns = std::max(columns, record.aligned.size());
    return columns;
}

bool HasResidues(const ParsedAlignment& parsed) {
    for (const ParsedRecord& record : parsed.records) {
        for (char c : record.aligned) {
            if (!SQC::SequenceConstants::IsGap(c)) return true;
        }
    }
    return false;
}

void Warn(ParsedAlignment& out, long line, std::string message) {
    out.warnings.push_back(ReadError{std::string(), line, std::move(message)});
}

bool CheckEqualLengths(const ParsedAlignment& parsed, ReadError& error) {
    if (parsed.records.empty()) return true;
    const ParsedRecord& first = parsed.records.front();
    for (const ParsedRecord& record : parsed.records) {
        if (record.aligned.size() != first.aligned.size()) {
            return Fail(error, record.line,
                        "sequence '" + record.name + "' has " + std::to_string(record.aligned.size()) +
                            " columns, expected " + std::to_string(first.aligned.size()) + " like '" +
                            first.name + "'");
        }
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsBlank(std::string_view line) {
    return Trim(line).empty();
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view FirstWord(std::string_view line, std::string_view& rest) {
    line = Trim(line);
    std::size_t end = 0;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    rest = Trim(line.substr(end));
    return line.substr(0, end);
}

}  // namespace Formats
