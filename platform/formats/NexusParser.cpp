#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "formats/NexusScanner.h"
#include "formats/Parsers.h"
#include "formats/ResidueText.h"
#include "sqv/UserProperties.h"

namespace Formats {

namespace {

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
}

bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

/// What DIMENSIONS and FORMAT say about the matrix.
struct MatrixFormat {
    long taxa = -1;  // -1: not given
    long columns = -1;
    bool interleaved = false;
    bool nucleotides = false;
    char gap = '-';
    char missing = '?';
    char match = 0;
};

class DataBlockReader {
public:
    DataBlockReader(NexusScanner& scanner, ParsedAlignment& out) : in_(scanner), out_(out) {}

    /// From after "BEGIN DATA;" to after "END;".
    bool read(ReadError& error) {
        const long start = in_.line();
        std::string command;
        while (true) {
            if (!in_.word(command, error)) return false;
            const std::string name = Upper(command);
            if (name.empty()) return Fail(error, start, "the DATA block does not end with 'END;'");
            if (name == "END" || name == "ENDBLOCK") return expectSemicolon(error);
            if (!readCommand(name, error)) return false;
        }
    }

private:
    bool readCommand(const std::string& name, ReadError& error) {
        if (name == ";") return true;
        if (name == "DIMENSIONS" || name == "FORMAT") return readSettings(error);
        if (name == "MATRIX") return matrixRead_ ? in_.skipCommand(error) : readMatrix(error);
        return in_.skipCommand(error);  // labels, character sets, EQUATE...: nothing to draw
    }

    bool expectSemicolon(ReadError& error) {
        std::string token;
        if (!in_.word(token, error)) return false;
        if (token != ";") return Fail(error, in_.line(), "expected ';' after END, found '" + token + "'");
        if (!matrixRead_) return Fail(error, in_.line(), "the DATA block has no MATRIX");
        return true;
    }

    // KEY or KEY=VALUE pairs up to ';'.
    bool readSettings(ReadError& error) {
        std::string key;
        std::string value;
        while (true) {
            const long line = in_.line();
            if (!in_.word(key, error)) return false;
            if (key.empty()) return Fail(error, line, "command does not end with ';'");
            if (key == ";") return true;
            value.clear();
            if (in_.skipSpace(error) && in_.peek() == '=') {
                in_.take();
                if (!in_.word(value, error)) return false;
            }
            if (!error.empty() || !applySetting(Upper(key), value, in_.line(), error)) return false;
        }
    }

    bool applySetting(const std::string& key, const std::string& value, long line, ReadError& error) {
        if (key == "NTAX") return Count(value, format_.taxa, key, line, error);
        if (key == "NCHAR") return Count(value, format_.columns, key, line, error);
        if (key == "INTERLEAVE") format_.interleaved = value.empty() || Upper(value) == "YES";
        if (key == "DATATYPE") {
            const std::string type = Upper(value);
            format_.nucleotides = type == "DNA" || type == "RNA" || type == "NUCLEOTIDE";
        }
        if (key == "GAP" || key == "MISSING" || key == "MATCHCHAR") {
            if (value.size() != 1)
                return Fail(error, line, key + " must be one character, found '" + value + "'");
            (key == "GAP" ? format_.gap : key == "MISSING" ? format_.missing : format_.match) = value[0];
        }
        if (key == "TRANSPOSE" || key == "NOLABELS")
            return Fail(error, line,
                        key + " matrices are not supported: expected one labelled row per taxon");
        return true;
    }

    static bool Count(const std::string& value, long& count, const std::string& key, long line,
                      ReadError& error) {
        const auto result = std::from_chars(value.data(), value.data() + value.size(), count);
        if (result.ec != std::errc() || result.ptr != value.data() + value.size() || count <= 0)
            return Fail(error, line, key + " must be a positive number, found '" + value + "'");
        return true;
    }

    bool readMatrix(ReadError& error) {
        matrixRead_ = true;
        if (!format_.interleaved && format_.columns < 0)
            return Fail(error, in_.line(), "MATRIX before DIMENSIONS NCHAR: the row lengths are unknown");
        const bool ok = format_.interleaved ? readInterleaved(error) : readSequential(error);
        return ok && checkMatrix(error);
    }

    bool readSequential(ReadError& error) {
        while (true) {
            if (!in_.skipSpace(error)) return false;
            if (in_.peek() == ';') return endMatrix();
            const long line = in_.line();
            bool fresh = false;
            ParsedRecord* record = startRow(fresh, error);
            if (!record) return false;
            if (!fresh)
                return Fail(error, line,
                            "taxon '" + record->name +
                                "' has a second row: a MATRIX without INTERLEAVE holds "
                                "one row per taxon");
            while (long(record->aligned.size()) < format_.columns) {
                if (!in_.skipSpace(error)) return false;
                if (in_.atEnd() || in_.peek() == ';') {
                    return Fail(error, record->line,
                                "taxon '" + record->name + "' ends after " +
                                    std::to_string(record->aligned.size()) +
                                    " of NCHAR=" + std::to_string(format_.columns) + " characters");
                }
                if (!addCharacter(*record, error)) return false;
            }
        }
    }

    bool readInterleaved(ReadError& error) {
        while (true) {
            if (!in_.skipSpace(error)) return false;
            if (in_.peek() == ';') return endMatrix();
            const long rowLine = in_.line();
            bool fresh = false;
            ParsedRecord* record = startRow(fresh, error);
            if (!record) return false;
            while (in_.skipSpace(error) && in_.line() == rowLine && !in_.atEnd() && in_.peek() != ';') {
                if (!addCharacter(*record, error)) return false;
            }
            if (!error.empty()) return false;
        }
    }

    bool endMatrix() {
        in_.take();  // the ';'
        return true;
    }

    ParsedRecord* startRow(bool& fresh, ReadError& error) {
        const long line = in_.line();
        std::string name;
        if (!in_.word(name, error)) return nullptr;
        if (name.empty()) {
            Fail(error, line, "the MATRIX does not end with ';'");
            return nullptr;
        }
        const auto it = index_.find(name);
        fresh = it == index_.end();
        if (!fresh) return &out_.records[it->second];
        ParsedRecord record;
        record.name = name;
        record.line = line;
        index_[name] = out_.records.size();
        out_.records.push_back(std::move(record));
        return &out_.records.back();
    }

    bool addCharacter(ParsedRecord& record, ReadError& error) {
        const long line = in_.line();
        const char c = in_.take();
        if (c == '(' || c == '{') return addAmbiguity(record, c == '(' ? ')' : '}', line, error);
        if (c == format_.gap) return Append(record, '-', line, error);
        if (c == format_.missing && !IsLetter(c)) return Append(record, '?', line, error);
        if (format_.match != 0 && c == format_.match) return addMatch(record, line, error);
        return Append(record, c, line, error);
    }

    // "(AG)" or "{AG}": one column holding one of several states.
    bool addAmbiguity(ParsedRecord& record, char close, long line, ReadError& error) {
        while (!in_.atEnd() && in_.peek() != close && in_.peek() != ';') in_.take();
        if (in_.peek() != close)
            return Fail(error, line, std::string("state set is never closed with '") + close + "'");
        in_.take();
        return Append(record, format_.nucleotides ? 'N' : 'X', line, error);
    }

    // MATCHCHAR repeats the first taxon's character in the same column.
    bool addMatch(ParsedRecord& record, long line, ReadError& error) {
        const ParsedRecord& first = out_.records.front();
        const std::size_t column = record.aligned.size();
        if (&first == &record || column >= first.aligned.size())
            return Fail(error, line,
                        std::string("match character '") + format_.match + "' in taxon '" + record.name +
                            "' has no character of the first taxon above it");
        record.aligned.push_back(first.aligned[column]);
        return true;
    }

    static bool Append(ParsedRecord& record, char c, long line, ReadError& error) {
        return AppendResidues(record.aligned, std::string_view(&c, 1), record.name, line, error,
                              SQC::SequenceConstants::kMissing);
    }

    bool checkMatrix(ReadError& error) const {
        if (out_.records.empty()) return Fail(error, in_.line(), "the MATRIX holds no taxa");
        if (format_.taxa >= 0 && long(out_.records.size()) != format_.taxa)
            return Fail(error, in_.line(),
                        "the MATRIX has " + std::to_string(out_.records.size()) +
                            " taxa, expected NTAX=" + std::to_string(format_.taxa));
        for (const ParsedRecord& record : out_.records) {
            if (format_.columns >= 0 && long(record.aligned.size()) != format_.columns)
                return Fail(error, record.line,
                            "taxon '" + record.name + "' has " + std::to_string(record.aligned.size()) +
                                " characters, expected NCHAR=" + std::to_string(format_.columns));
        }
        return CheckEqualLengths(out_, error);
    }

    NexusScanner& in_;
    ParsedAlignment& out_;  // not owned; the caller's result
    MatrixFormat format_;
    std::map<std::string, std::size_t> index_;
    bool matrixRead_ = false;
};

bool ExpectHeader(NexusScanner& in, ReadError& error) {
    std::string first;
    if (!in.word(first, error)) return false;
    if (Upper(first) != "#NEXUS") return Fail(error, in.line(), "expected a '#NEXUS' header line");
    return true;
}

/// Skips a block the alignment does not need, up to its END.
bool SkipBlock(NexusScanner& in, ReadError& error) {
    std::string command;
    while (true) {
        if (!in.word(command, error)) return false;
        const std::string name = Upper(command);
        if (name.empty()) return true;  // an unfinished trailing block costs nothing we show
        if (name == "END" || name == "ENDBLOCK") return in.skipCommand(error);
        if (name != ";" && !in.skipCommand(error)) return false;
    }
}

class NexusReader {
public:
    NexusReader(NexusScanner& in, ParsedAlignment& out) : in_(in), out_(out) {}

    bool read(ReadError& error) {
        if (!ExpectHeader(in_, error)) return false;
        std::string token;
        while (true) {
            if (!in_.skipSpace(error)) return false;
            const long line = in_.line();
            if (!in_.word(token, error)) return false;
            if (token.empty()) break;
            if (Upper(token) == "BEGIN") {
                if (!readBlock(line, error)) return false;
            } else {
                outsideText(line);
            }
        }
        if (!dataRead_)
            return Fail(error, 0, "no DATA or CHARACTERS block: expected 'BEGIN DATA;' with a MATRIX");
        return true;
    }

private:
    bool readBlock(long line, ReadError& error) {
        std::string name;
        if (!in_.word(name, error) || !in_.skipCommand(error)) return false;
        const std::string upper = Upper(name);
        const bool data = upper == "DATA" || upper == "CHARACTERS";
        if (data && !dataRead_) {
            dataRead_ = true;
            return DataBlockReader(in_, out_).read(error);
        }
        if (upper != "TAXA") {  // TAXA only repeats the names of the matrix
            Warn(out_, line,
                 data ? "a second " + upper + " block is not read: only the first alignment is shown"
                      : "NEXUS block '" + name +
                            "' is not read: only DATA and CHARACTERS blocks hold the alignment");
        }
        return SkipBlock(in_, error);
    }

    void outsideText(long line) {
        if (!outsideWarned_)
            Warn(out_, line, "text outside any NEXUS block is not read: expected 'BEGIN name;'");
        outsideWarned_ = true;
    }

    NexusScanner& in_;
    ParsedAlignment& out_;  // not owned; the caller's result
    bool dataRead_ = false;
    bool outsideWarned_ = false;
};

}  // namespace

bool ParseNexus(const std::string& text, ParsedAlignment& out, ReadError& error) {
    NexusScanner scanner(text);
    return NexusReader(scanner, out).read(error);
}

}  // namespace Formats
