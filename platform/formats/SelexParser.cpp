#include <algorithm>
#include <set>
#include <vector>

#include "formats/BlockCollector.h"
#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

// Blanks inside the column-aligned rows are gaps.
constexpr char kBlankGap = '.';

/// One line of a block: a sequence row, or the `#=SS` line under one.
struct BlockLine {
    std::string_view text;
    long number;
    std::size_t nameEnd;  // where the name (or the #=SS tag) ends
    bool structure;
};

std::size_t WordEnd(std::string_view line) {
    std::size_t end = 0;
    while (end < line.size() && line[end] == ' ') ++end;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    return end;
}

std::size_t ResiduesStart(const BlockLine& line) {
    std::size_t start = line.nameEnd;
    while (start < line.text.size() && (line.text[start] == ' ' || line.text[start] == '\t')) ++start;
    return start;
}

/// Rows are aligned by their position on the line: the block's residues start at the leftmost column any
/// row's residues start, and blanks up to the longest row are gaps.
class SelexBlock {
public:
    bool add(const BlockLine& line, ReadError& error) {
        if (line.structure && (lines_.empty() || lines_.back().structure))
            return Fail(error, line.number, "#=SS line without a sequence row above it");
        lines_.push_back(line);
        return true;
    }

    explicit SelexBlock(std::size_t cellBudget) : cellBudget_(cellBudget) {}

    bool flush(BlockCollector& rows, ReadError& error) {
        if (lines_.empty()) return true;
        std::size_t left = std::string_view::npos;
        std::size_t right = 0;
        for (const BlockLine& line : lines_) {
            if (!line.structure) left = std::min(left, ResiduesStart(line));
            right = std::max(right, line.text.size());
        }
        // Padding short rows to the longest line must not turn a small file into a huge alignment.
        const std::size_t cells = (right - left) * lines_.size();
        if (cells > cellBudget_)
            return Fail(error, lines_.front().number,
                        "padding this block's rows to its longest line exceeds the size limit");
        cellBudget_ -= cells;
        for (const BlockLine& line : lines_) {
            if (line.nameEnd > left) {
                return Fail(error, line.number,
                            "the name reaches into the residue columns, which start at column " +
                                std::to_string(left + 1) +
                                " in this block: expected the rows' residues aligned");
            }
            if (!addLine(line, Columns(line.text, left, right), rows, error)) return false;
        }
        lines_.clear();
        previous_.clear();
        rows.endBlock();
        return true;
    }

private:
    static std::string Columns(std::string_view text, std::size_t left, std::size_t right) {
        std::string columns(text.substr(std::min(left, text.size())));
        columns.resize(right - left, ' ');
        std::replace(columns.begin(), columns.end(), ' ', kBlankGap);
        std::replace(columns.begin(), columns.end(), '_', kBlankGap);
        return columns;
    }

    bool addLine(const BlockLine& line, const std::string& columns, BlockCollector& rows, ReadError& error) {
        if (!line.structure) {
            previous_ = std::string(Trim(line.text.substr(0, line.nameEnd)));
            return rows.addRow(previous_, columns, line.number, error);
        }
        ParsedRecord* record = previous_.empty() ? nullptr : rows.find(previous_);
        if (!record) return Fail(error, line.number, "#=SS line without a sequence row above it");
        record->structures["SS"] += columns;
        record->structureLines.emplace("SS", line.number);
        return true;
    }

    std::vector<BlockLine> lines_;
    std::size_t cellBudget_;
    std::string previous_;  // the row the next #=SS line belongs to
};

class SelexReader {
public:
    SelexReader(ParsedAlignment& out, std::size_t cellBudget) : out_(out), rows_(out), block_(cellBudget) {}

    bool addLine(std::string_view line, long number, ReadError& error) {
        if (IsBlank(line)) return block_.flush(rows_, error);
        if (line.find('\t') != std::string_view::npos)
            return Fail(error, number, "tab in a SELEX row: expected blanks, which keep the columns aligned");
        if (StartsWith(line, "#=SS")) return block_.add(BlockLine{line, number, 4, true}, error);
        if (StartsWith(line, "#=")) {
            noteAnnotation(line, number);
            return true;
        }
        if (line.front() == '#') return true;  // comments
        return block_.add(BlockLine{line, number, WordEnd(line), false}, error);
    }

    bool finish(ReadError& error) {
        if (!block_.flush(rows_, error)) return false;
        if (out_.records.empty())
            return Fail(error, 0, "no sequence rows found: expected 'name residues' lines");
        return CheckEqualLengths(out_, error);
    }

private:
    // Per-column rows other than #=SS are not drawn; the file header lines (#=ID, #=AC, #=SQ...) hold no
    // columns and are passed over quietly.
    void noteAnnotation(std::string_view line, long number) {
        std::string_view rest;
        const std::string tag(FirstWord(line, rest));
        const bool perColumn = tag == "#=CS" || tag == "#=RF" || tag == "#=SA";
        if (!perColumn || !warned_.insert(tag).second) return;
        Warn(out_, number, tag + " annotation lines are not shown: only #=SS structure is read");
    }

    ParsedAlignment& out_;  // not owned; the caller's result
    BlockCollector rows_;
    SelexBlock block_;
    std::set<std::string> warned_;
};

}  // namespace

bool ParseSelex(const std::string& text, ParsedAlignment& out, ReadError& error) {
    TextLines lines(text);
    std::string_view line;
    // Blank padding may at most multiply the text by this much.
    constexpr std::size_t kPaddingFactor = 16;
    SelexReader reader(out, text.size() * kPaddingFactor + (std::size_t(1) << 20));
    while (lines.next(line)) {
        if (!reader.addLine(line, lines.number(), error)) return false;
    }
    return reader.finish(error);
}

}  // namespace Formats
