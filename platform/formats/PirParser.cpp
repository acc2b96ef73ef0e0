#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "formats/TextLines.h"

namespace Formats {

namespace {

/// ">P1;name": '>', a two-letter sequence type, ';', the name.
bool IsPirHeader(std::string_view line) {
    return line.size() >= 4 && line[0] == '>' && line[3] == ';';
}

enum class Expect { Header, Description, Residues };

class PirReader {
public:
    explicit PirReader(ParsedAlignment& out) : out_(out) {}

    bool addLine(std::string_view line, long number, ReadError& error) {
        switch (expect_) {
            case Expect::Header:
                return addHeader(line, number, error);
            case Expect::Description:
                out_.records.back().description = std::string(Trim(line));
                expect_ = Expect::Residues;
                return true;
            case Expect::Residues:
                return addResidues(line, number, error);
        }
        return true;
    }

    bool finish(long lastLine, ReadError& error) const {
        if (out_.records.empty()) return Fail(error, 0, "no '>P1;name' header found: expected a PIR file");
        if (expect_ == Expect::Header) return true;
        return Fail(error, lastLine, "sequence '" + out_.records.back().name + "' does not end with '*'");
    }

private:
    bool addHeader(std::string_view line, long number, ReadError& error) {
        if (IsBlank(line)) return true;
        if (!IsPirHeader(line)) return Fail(error, number, "expected a '>P1;name' header line");
        ParsedRecord record;
        record.name = std::string(Trim(line.substr(4)));
        record.line = number;
        if (record.name.empty()) return Fail(error, number, "empty sequence name: expected '>P1;name'");
        out_.records.push_back(std::move(record));
        expect_ = Expect::Description;
        return true;
    }

    bool addResidues(std::string_view line, long number, ReadError& error) {
        ParsedRecord& record = out_.records.back();
        if (IsPirHeader(line)) {
            return Fail(error, number,
                        "sequence '" + record.name + "' does not end with '*' before the next header");
        }
        const std::size_t end = line.find('*');
        if (!AppendResidues(record.aligned, line.substr(0, end), record.name, number, error)) return false;
        if (end == std::string_view::npos) return true;
        if (!IsBlank(line.substr(end + 1))) {
            return Fail(error, number,
                        "unexpected text after the '*' that ends sequence '" + record.name + "'");
        }
        expect_ = Expect::Header;
        return true;
    }

    ParsedAlignment& out_;  // not owned; the caller's result
    Expect expect_ = Expect::Header;
};

}  // namespace

bool ParsePir(const std::string& text, ParsedAlignment& out, ReadError& error) {
    TextLines lines(text);
    std::string_view line;
    PirReader reader(out);
    while (lines.next(line)) {
        if (!reader.addLine(line, lines.number(), error)) return false;
    }
    return reader.finish(lines.number(), error) && CheckEqualLengths(out, error);
}

}  // namespace Formats
