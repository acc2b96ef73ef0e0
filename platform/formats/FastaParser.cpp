#include <cctype>
#include <vector>

#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

bool IsInsertLetter(char c) {
    return std::islower(static_cast<unsigned char>(c)) != 0;
}
// A3M omits the '.' padding of insert columns; a '.' found anyway is padding and carries no column.
bool IsInsertColumn(char c) {
    return IsInsertLetter(c) || c == '.';
}

// A3M marks inserts in lower case against upper-case match states; a file in one case only (many aligned
// nucleotide files are all lower case) has no inserts, and its ragged rows are plain length errors.
bool HasInsertLetters(const ParsedAlignment& parsed) {
    bool lower = false;
    bool upper = false;
    for (const ParsedRecord& record : parsed.records) {
        for (char c : record.aligned) {
            lower = lower || IsInsertLetter(c);
            upper = upper || std::isupper(static_cast<unsigned char>(c)) != 0;
        }
        if (lower && upper) return true;
    }
    return false;
}

std::size_t MatchColumns(const std::string& aligned) {
    std::size_t count = 0;
    for (char c : aligned) count += IsInsertColumn(c) ? 0 : 1;
    return count;
}

/// The inserts of one A3M row: inserts[i] precedes match column i (the last one trails the row).
std::vector<std::string> SplitInserts(const std::string& aligned, std::size_t matchColumns,
                                      std::string& matches) {
    std::vector<std::string> inserts(matchColumns + 1);
    std::size_t slot = 0;
    for (char c : aligned) {
        if (IsInsertLetter(c)) {
            inserts[slot].push_back(c);
        } else if (c != '.') {
            matches.push_back(c);
            ++slot;
        }
    }
    return inserts;
}

bool CheckMatchColumns(const ParsedAlignment& parsed, ReadError& error) {
    const ParsedRecord& first = parsed.records.front();
    const std::size_t expected = MatchColumns(first.aligned);
    for (const ParsedRecord& record : parsed.records) {
        const std::size_t found = MatchColumns(record.aligned);
        if (found != expected) {
            return Fail(error, record.line,
                        "sequence '" + record.name + "' has " + std::to_string(found) +
                            " match columns (upper-case letters and '-'), expected " +
                            std::to_string(expected) + " like '" + first.name + "'");
        }
    }
    return true;
}

/// A3M: pads every insert with '.' to the longest insert at that place, which yields the A2M alignment.
bool PadA3mInserts(ParsedAlignment& parsed, std::size_t maxCells, ReadError& error) {
    if (!CheckMatchColumns(parsed, error)) return false;
    const std::size_t matchColumns = MatchColumns(parsed.records.front().aligned);
    std::vector<std::size_t> widths(matchColumns + 1, 0);
    std::vector<std::vector<std::string>> inserts;
    std::vector<std::string> matches(parsed.records.size());
    for (std::size_t r = 0; r < parsed.records.size(); ++r) {
        inserts.push_back(SplitInserts(parsed.records[r].aligned, matchColumns, matches[r]));
        for (std::size_t i = 0; i <= matchColumns; ++i) widths[i] = std::max(widths[i], inserts[r][i].size());
    }
    std::size_t columns = matchColumns;
    for (std::size_t width : widths) columns += width;
    if (columns != 0 && parsed.records.size() > maxCells / columns) {
        return Fail(error, 0,
                    "padding the A3M insert columns would make " + std::to_string(columns) + " columns for " +
                        std::to_string(parsed.records.size()) + " sequences, over the size limit");
    }
    for (std::size_t r = 0; r < parsed.records.size(); ++r) {
        std::string& aligned = parsed.records[r].aligned;
        aligned.clear();
        for (std::size_t i = 0; i <= matchColumns; ++i) {
            aligned += inserts[r][i];
            aligned.append(widths[i] - inserts[r][i].size(), '.');
            if (i < matchColumns) aligned.push_back(matches[r][i]);
        }
    }
    return true;
}

bool AlignRows(ParsedAlignment& parsed, std::size_t maxCells, ReadError& error) {
    if (parsed.records.empty()) return Fail(error, 0, "no '>' header line found: expected FASTA");
    ReadError lengthError;
    if (CheckEqualLengths(parsed, lengthError)) return true;  // aligned FASTA or A2M
    if (!HasInsertLetters(parsed)) {
        error = lengthError;
        return false;
    }
    return PadA3mInserts(parsed, maxCells, error);
}

bool StartRecord(std::string_view header, long line, ParsedAlignment& out, ReadError& error) {
    std::string_view description;
    const std::string_view name = FirstWord(header.substr(1), description);
    if (name.empty()) return Fail(error, line, "empty sequence name: expected '>name [description]'");
    ParsedRecord record;
    record.name = std::string(name);
    record.description = std::string(description);
    record.line = line;
    out.records.push_back(std::move(record));
    return true;
}

}  // namespace

bool ParseFasta(const std::string& text, std::size_t maxCells, ParsedAlignment& out, ReadError& error) {
    TextLines lines(text);
    std::string_view line;
    while (lines.next(line)) {
        if (!line.empty() && line.front() == '>') {
            if (!StartRecord(line, lines.number(), out, error)) return false;
        } else if (IsBlank(line) || line.front() == ';' || (out.records.empty() && line.front() == '#')) {
            continue;  // ';' comments of old FASTA files; a leading "#A3M#"-style line of HH-suite files
        } else if (out.records.empty()) {
            return Fail(error, lines.number(),
                        "sequence data before the first header: expected a '>name' line");
        } else {
            ParsedRecord& record = out.records.back();
            if (!AppendResidues(record.aligned, line, record.name, lines.number(), error)) return false;
        }
    }
    return AlignRows(out, maxCells, error);
}

}  // namespace Formats
