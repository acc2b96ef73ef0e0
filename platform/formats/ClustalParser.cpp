#include <cctype>

#include "formats/BlockCollector.h"
#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

bool IsDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

// Clustal itself and the aligners that imitate its output (MUSCLE, PROBCONS, T-Coffee...) all say so.
bool IsClustalHeader(std::string_view line) {
    return StartsWith(line, "CLUSTAL") || line.find("multiple sequence alignment") != std::string_view::npos;
}

bool ParseRow(std::string_view line, long number, BlockCollector& rows, ReadError& error) {
    std::string_view rest;
    const std::string_view name = FirstWord(line, rest);
    std::string_view tail;
    const std::string_view residues = FirstWord(rest, tail);
    if (residues.empty()) {
        return Fail(error, number,
                    "sequence '" + std::string(name) + "' has no residues: expected 'name residues [count]'");
    }
    if (!tail.empty() && !IsDigits(tail)) {  // a trailing residue count is allowed, nothing else
        return Fail(error, number,
                    "unexpected text '" + std::string(tail) + "' after the residues of '" +
                        std::string(name) + "': expected 'name residues [count]'");
    }
    return rows.addRow(name, residues, number, error);
}

}  // namespace

bool ParseClustal(const std::string& text, ParsedAlignment& out, ReadError& error) {
    TextLines lines(text);
    std::string_view line;
    bool headerSeen = false;
    BlockCollector rows(out);
    while (lines.next(line)) {
        if (IsBlank(line)) {
            rows.endBlock();
        } else if (!headerSeen) {
            if (!IsClustalHeader(line))
                return Fail(error, lines.number(), "expected a 'CLUSTAL' header line");
            headerSeen = true;
        } else if (line.front() == ' ' || line.front() == '\t') {
            continue;  // the conservation line under each block
        } else if (!ParseRow(line, lines.number(), rows, error)) {
            return false;
        }
    }
    if (!headerSeen) return Fail(error, 0, "no 'CLUSTAL' header line found: expected a Clustal alignment");
    return CheckEqualLengths(out, error);
}

}  // namespace Formats
