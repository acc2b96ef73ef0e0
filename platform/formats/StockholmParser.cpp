#include <map>
#include <vector>

#include "formats/BlockCollector.h"
#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

struct StructureRow {
    std::string name;
    std::string key;
    std::string letters;
    long line;
};

/// "SS" keeps its name; "SS_<name>" becomes "<name>"; other per-residue rows (AS, pAS, sAS...) are not
/// secondary structure and give an empty key.
std::string StructureKey(std::string_view tag) {
    if (tag == "SS") return "SS";
    if (StartsWith(tag, "SS_") && tag.size() > 3) return std::string(tag.substr(3));
    return std::string();
}

/// The rows of the one alignment being read.
class StockholmAlignment {
public:
    explicit StockholmAlignment(ParsedAlignment& out) : out_(out), rows_(out) {}

    bool addLine(std::string_view line, long number, ReadError& error) {
        if (IsBlank(line)) {
            rows_.endBlock();
            return true;
        }
        if (StartsWith(line, "#=GS")) return addSequenceFeature(line.substr(4));
        if (StartsWith(line, "#=GR")) return addResidueFeature(line.substr(4), number, error);
        if (StartsWith(line, "#=GC")) return addColumnFeature(line.substr(4), number, error);
        if (line.front() == '#') return true;  // #=GF and comments describe the family, not a column
        std::string_view residues;
        const std::string_view name = FirstWord(line, residues);
        if (residues.empty()) {
            return Fail(error, number,
                        "sequence '" + std::string(name) + "' has no residues: expected 'name residues'");
        }
        return rows_.addRow(name, residues, number, error);
    }

    bool finish(ReadError& error) {
        for (const StructureRow& row : structures_) {
            ParsedRecord* record = rows_.find(row.name);
            if (!record)
                return Fail(error, row.line, "#=GR row for '" + row.name + "', which has no sequence row");
            record->structures[row.key] += row.letters;
            record->structureLines.emplace(row.key, row.line);
        }
        for (const auto& [name, description] : descriptions_) {
            if (ParsedRecord* record = rows_.find(name)) record->description = description;
        }
        return true;
    }

private:
    bool addSequenceFeature(std::string_view fields) {
        std::string_view rest;
        const std::string_view name = FirstWord(fields, rest);
        std::string_view text;
        if (FirstWord(rest, text) != "DE" || text.empty()) return true;
        std::string& description = descriptions_[std::string(name)];
        if (!description.empty()) description += ' ';
        description += std::string(text);
        return true;
    }

    bool addResidueFeature(std::string_view fields, long number, ReadError& error) {
        std::string_view rest;
        const std::string_view name = FirstWord(fields, rest);
        std::string_view letters;
        const std::string_view tag = FirstWord(rest, letters);
        const std::string key = StructureKey(tag);
        if (key.empty()) {
            skip("#=GR " + std::string(tag), number);
            return true;
        }
        if (letters.empty()) {
            return Fail(
                error, number,
                "#=GR row of '" + std::string(name) + "' has no letters: expected '#=GR name SS letters'");
        }
        structures_.push_back(StructureRow{std::string(name), key, std::string(letters), number});
        return true;
    }

    // Interleaved files continue a #=GC line in every block: its text is appended to the first one.
    bool addColumnFeature(std::string_view fields, long number, ReadError& error) {
        std::string_view text;
        const std::string tag(FirstWord(fields, text));
        if (tag.empty() || text.empty())
            return Fail(error, number, "#=GC line without text: expected '#=GC tag text'");
        for (ParsedAnnotation& annotation : out_.columnAnnotations) {
            if (annotation.tag == tag) {
                annotation.text += std::string(text);
                return true;
            }
        }
        out_.columnAnnotations.push_back(ParsedAnnotation{tag, std::string(text), number});
        return true;
    }

    void skip(std::string tag, long number) {
        for (const ParsedAnnotation& skipped : out_.skippedAnnotations) {
            if (skipped.tag == tag) return;
        }
        out_.skippedAnnotations.push_back(ParsedAnnotation{std::move(tag), std::string(), number});
    }

    ParsedAlignment& out_;  // not owned; the caller's result
    BlockCollector rows_;
    std::vector<StructureRow> structures_;
    std::map<std::string, std::string> descriptions_;
};

bool IsHeader(std::string_view line) {
    return StartsWith(line, "# STOCKHOLM");
}
bool IsTerminator(std::string_view line) {
    return Trim(line) == "//";
}

/// After the alignment that was read: text that starts no further alignment (another format appended, a
/// stray line) gets one warning instead of passing unnoticed. Returns the number of alignments that follow.
int WarnAboutTrailingText(TextLines& lines, ParsedAlignment& out) {
    std::string_view line;
    bool inside = false;
    int following = 0;
    while (lines.next(line)) {
        if (inside) {
            inside = !IsTerminator(line);
        } else if (IsHeader(line)) {
            inside = true;
            ++following;
        } else if (!IsBlank(line)) {
            Warn(out, lines.number(),
                 "text after the closing '//' is not read: expected another '# STOCKHOLM 1.0' alignment or "
                 "the end of the file");
            return following;
        }
    }
    return following;
}

// A file of several alignments shows one: the reader is told which, and how to ask for another.
void NameTheOtherAlignments(int index, int count, ParsedAlignment& out) {
    if (count <= 1) return;
    Warn(out, 0,
         "the file holds " + std::to_string(count) + " alignments; alignment " + std::to_string(index + 1) +
             " is read (choose another by its number, 1 to " + std::to_string(count) + ": --alignment)");
}

}  // namespace

bool NoSuchAlignment(int index, int count, ReadError& error) {
    Fail(error, 0,
         "alignment number " + std::to_string(index + 1) + " was asked for, but the file holds " +
             std::to_string(count) + (count == 1 ? " alignment" : " alignments"));
    error.beyondCallerLimit = true;
    return false;
}

bool ParseStockholm(const std::string& text, int alignmentIndex, bool chosen, ParsedAlignment& out,
                    ReadError& error) {
    if (alignmentIndex < 0) return Fail(error, 0, "the alignment index must not be negative");
    TextLines lines(text);
    std::string_view line;
    int current = -1;     // index of the alignment being read
    bool inside = false;  // between a header and its "//"
    StockholmAlignment wanted(out);
    while (lines.next(line)) {
        if (!inside) {
            if (IsBlank(line)) continue;
            if (!IsHeader(line))
                return Fail(error, lines.number(), "expected a '# STOCKHOLM 1.0' header line");
            inside = true;
            ++current;
        } else if (IsTerminator(line)) {
            if (current == alignmentIndex) {
                const int following = WarnAboutTrailingText(lines, out);
                if (!chosen) NameTheOtherAlignments(current, current + 1 + following, out);
                return wanted.finish(error) && CheckEqualLengths(out, error);
            }
            inside = false;
        } else if (current == alignmentIndex && !wanted.addLine(line, lines.number(), error)) {
            return false;
        }
    }
    if (inside && current == alignmentIndex) {
        return Fail(error, lines.number(), "the alignment does not end with '//': the file may be truncated");
    }
    if (current < 0)
        return Fail(error, 0, "no '# STOCKHOLM 1.0' header found: expected a Stockholm alignment");
    return NoSuchAlignment(alignmentIndex, current + 1, error);
}

}  // namespace Formats
