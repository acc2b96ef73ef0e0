#include <charconv>
#include <vector>

#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

// Strict PHYLIP names fill exactly this many characters, with the residues right after.
constexpr std::size_t kStrictNameWidth = 10;
// Phylogenetics programs (PHYLIP, PhyML, RAxML) write unobserved states as '?'.
constexpr char kMissingData = '?';

struct Line {
    std::string_view text;
    long number;
};

struct Header {
    std::size_t taxa = 0;
    std::size_t columns = 0;
    long line = 0;
};

struct Layout {
    bool interleaved;
    bool strictNames;
};

bool ParseCount(std::string_view word, std::size_t& value) {
    const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
    return result.ec == std::errc() && result.ptr == word.data() + word.size() && value > 0;
}

bool ReadHeader(TextLines& lines, std::size_t textSize, Header& header, ReadError& error) {
    std::string_view line;
    while (lines.next(line) && IsBlank(line)) {
    }
    if (IsBlank(line)) return Fail(error, 0, "no PHYLIP header found: expected 'sequences columns'");
    header.line = lines.number();
    std::string_view rest;
    std::string_view columns;
    const std::string_view taxa = FirstWord(line, rest);
    if (!ParseCount(taxa, header.taxa) || !ParseCount(FirstWord(rest, columns), header.columns)) {
        return Fail(error, header.line, "expected a PHYLIP header: the number of sequences and of columns");
    }
    if (header.columns > textSize / header.taxa) {  // every residue takes at least one byte of the file
        return Fail(error, header.line,
                    "the header promises " + std::to_string(header.taxa) + " sequences of " +
                        std::to_string(header.columns) + " columns, more than the file holds");
    }
    return true;
}

std::string_view SplitName(std::string_view text, bool strictNames, std::string_view& residues) {
    if (!strictNames) return FirstWord(text, residues);
    residues = text.size() > kStrictNameWidth ? text.substr(kStrictNameWidth) : std::string_view();
    return Trim(text.substr(0, kStrictNameWidth));
}

bool StartRecord(const Line& line, bool strictNames, ParsedAlignment& out, ReadError& error) {
    std::string_view residues;
    ParsedRecord record;
    record.name = std::string(SplitName(line.text, strictNames, residues));
    record.line = line.number;
    if (record.name.empty()) return Fail(error, line.number, "empty sequence name: expected 'name residues'");
    if (!AppendResidues(record.aligned, residues, record.name, line.number, error, kMissingData))
        return false;
    out.records.push_back(std::move(record));
    return true;
}

bool Continue(ParsedRecord& record, const Line& line, ReadError& error) {
    return AppendResidues(record.aligned, line.text, record.name, line.number, error, kMissingData);
}

bool CheckColumns(const ParsedAlignment& out, const Header& header, ReadError& error) {
    for (const ParsedRecord& record : out.records) {
        if (record.aligned.size() != header.columns) {
            return Fail(error, record.line,
                        "sequence '" + record.name + "' has " + std::to_string(record.aligned.size()) +
                            " columns, expected " + std::to_string(header.columns) + " from the header");
        }
    }
    return true;
}

bool TooFewSequences(const std::vector<Line>& lines, const Header& header, std::size_t found,
                     ReadError& error) {
    return Fail(error, lines.empty() ? header.line : lines.back().number,
                "expected " + std::to_string(header.taxa) + " sequences, found " + std::to_string(found));
}

bool ReadInterleaved(const std::vector<Line>& lines, const Header& header, bool strictNames,
                     ParsedAlignment& out, ReadError& error) {
    if (lines.size() < header.taxa) return TooFewSequences(lines, header, lines.size(), error);
    for (std::size_t i = 0; i < header.taxa; ++i) {
        if (!StartRecord(lines[i], strictNames, out, error)) return false;
    }
    for (std::size_t i = header.taxa; i < lines.size(); ++i) {
        if (!Continue(out.records[(i - header.taxa) % header.taxa], lines[i], error)) return false;
    }
    return CheckColumns(out, header, error);
}

bool ReadSequential(const std::vector<Line>& lines, const Header& header, bool strictNames,
                    ParsedAlignment& out, ReadError& error) {
    std::size_t next = 0;
    for (std::size_t taxon = 0; taxon < header.taxa; ++taxon) {
        if (next >= lines.size()) return TooFewSequences(lines, header, taxon, error);
        if (!StartRecord(lines[next++], strictNames, out, error)) return false;
        ParsedRecord& record = out.records.back();
        while (record.aligned.size() < header.columns && next < lines.size()) {
            if (!Continue(record, lines[next++], error)) return false;
        }
    }
    if (next < lines.size()) {
        return Fail(error, lines[next].number,
                    "unexpected text after the last of " + std::to_string(header.taxa) + " sequences");
    }
    return CheckColumns(out, header, error);
}

bool ReadLayout(const std::vector<Line>& lines, const Header& header, Layout layout, ParsedAlignment& out,
                ReadError& error) {
    return layout.interleaved ? ReadInterleaved(lines, header, layout.strictNames, out, error)
                              : ReadSequential(lines, header, layout.strictNames, out, error);
}

}  // namespace

bool ParsePhylip(const std::string& text, ParsedAlignment& out, ReadError& error) {
    TextLines reader(text);
    Header header;
    if (!ReadHeader(reader, text.size(), header, error)) return false;
    std::vector<Line> lines;
    std::string_view line;
    while (reader.next(line)) {
        if (!IsBlank(line)) lines.push_back(Line{line, reader.number()});
    }
    // The file does not say which layout or name style it uses: take the first reading that fits the
    // header, and otherwise report the error of the reading that got furthest.
    const Layout layouts[] = {{true, false}, {false, false}, {true, true}, {false, true}};
    ReadError best;
    for (const Layout& layout : layouts) {
        ParsedAlignment attempt;
        ReadError attemptError;
        if (ReadLayout(lines, header, layout, attempt, attemptError)) {
            out = std::move(attempt);
            return true;
        }
        if (best.empty() || attemptError.line > best.line) best = attemptError;
    }
    error = best;
    return false;
}

}  // namespace Formats
