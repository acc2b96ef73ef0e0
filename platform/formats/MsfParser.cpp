#include <algorithm>
#include <cctype>
#include <map>

#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

struct Declared {
    std::size_t record;
    long length;  // the header's Len, -1 when absent
};

/// The sequences the header lists ("Name: x Len: 171 Check: ..."), in file order.
class MsfReader {
public:
    explicit MsfReader(ParsedAlignment& out) : out_(out) {}

    bool addHeaderLine(std::string_view line, long number, ReadError& error) {
        std::string_view rest;
        if (FirstWord(line, rest) != "Name:") return true;  // free text, the MSF: line, blank lines
        std::string_view fields;
        const std::string name(FirstWord(rest, fields));
        if (name.empty()) return Fail(error, number, "empty sequence name: expected 'Name: name Len: n'");
        if (declared_.count(name)) return Fail(error, number, "sequence '" + name + "' is listed twice");
        ParsedRecord record;
        record.name = name;
        record.line = number;
        declared_[name] = Declared{out_.records.size(), LengthField(fields)};
        out_.records.push_back(std::move(record));
        return true;
    }

    bool addRow(std::string_view line, long number, ReadError& error) {
        if (IsRuler(line)) return true;
        std::string_view residues;
        const std::string name(FirstWord(line, residues));
        const auto it = declared_.find(name);
        if (it == declared_.end()) {
            return Fail(error, number,
                        "sequence '" + name + "' is not listed in the header: expected a 'Name: " + name +
                            "' line before '//'");
        }
        ParsedRecord& record = out_.records[it->second.record];
        const std::size_t before = record.aligned.size();
        if (!AppendResidues(record.aligned, residues, name, number, error)) return false;
        // MSF has no insert columns: '.' and '~' are both plain gaps.
        std::replace(record.aligned.begin() + long(before), record.aligned.end(), '.', '-');
        return true;
    }

    bool finish(ReadError& error) const {
        if (out_.records.empty())
            return Fail(error, 0, "no 'Name:' lines before '//': expected the MSF list of sequences");
        for (const auto& [name, declared] : declared_) {
            const ParsedRecord& record = out_.records[declared.record];
            if (declared.length >= 0 && record.aligned.size() != std::size_t(declared.length)) {
                return Fail(error, record.line,
                            "sequence '" + name + "' has " + std::to_string(record.aligned.size()) +
                                " columns, expected " + std::to_string(declared.length) + " from its Len");
            }
        }
        return CheckEqualLengths(out_, error);
    }

private:
    static long LengthField(std::string_view fields) {
        std::string_view rest;
        while (!fields.empty()) {
            const std::string_view word = FirstWord(fields, rest);
            fields = rest;
            if (word != "Len:") continue;
            const std::string_view value = FirstWord(fields, rest);
            if (value.empty() || value.size() > 9 || !std::all_of(value.begin(), value.end(), [](char c) {
                    return std::isdigit(static_cast<unsigned char>(c));
                }))
                return -1;
            return std::stol(std::string(value));
        }
        return -1;
    }

    // The column numbers above each block.
    static bool IsRuler(std::string_view line) {
        return std::all_of(line.begin(), line.end(), [](char c) {
            return c == ' ' || c == '\t' || std::isdigit(static_cast<unsigned char>(c));
        });
    }

    ParsedAlignment& out_;  // not owned; the caller's result
    std::map<std::string, Declared> declared_;
};

}  // namespace

bool ParseMsf(const std::string& text, ParsedAlignment& out, ReadError& error) {
    TextLines lines(text);
    std::string_view line;
    MsfReader reader(out);
    bool inHeader = true;
    while (lines.next(line)) {
        if (inHeader) {
            if (Trim(line) == "//") {
                inHeader = false;
            } else if (!reader.addHeaderLine(line, lines.number(), error)) {
                return false;
            }
        } else if (!IsBlank(line) && !reader.addRow(line, lines.number(), error)) {
            return false;
        }
    }
    if (inHeader) return Fail(error, 0, "no '//' line ends the header: expected an MSF alignment");
    return reader.finish(error);
}

}  // namespace Formats
