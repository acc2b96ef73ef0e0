#pragma once

#include <string>
#include <string_view>

#include "formats/AlignmentReader.h"
#include "formats/ParsedAlignment.h"

namespace Formats {

/// Appends the residues and gaps of `chunk` to `dest`, skipping blanks. Letters, '*', '-' and '.' are kept;
/// '~' becomes '-'; `missing`, the format's missing-data symbol when it has one, becomes
/// SQC::SequenceConstants::kMissing. Anything else is an error at `line` naming the character and the
/// sequence.
bool AppendResidues(std::string& dest, std::string_view chunk, const std::string& sequenceName, long line,
                    ReadError& error, char missing = 0);

/// True when some record holds a residue (or missing data): not only gaps.
bool HasResidues(const ParsedAlignment& parsed);
/// The longest record's column count.
std::size_t ColumnCount(const ParsedAlignment& parsed);

/// Records a warning at `line` of the input: something the reader skipped.
void Warn(ParsedAlignment& out, long line, std::string message);

/// True when every record has the same number of columns; otherwise an error at the first record that
/// differs.
bool CheckEqualLengths(const ParsedAlignment& parsed, ReadError& error);

/// Splits off the first whitespace-delimited word of `line`; `rest` is what follows, without leading blanks.
std::string_view FirstWord(std::string_view line, std::string_view& rest);
std::string_view Trim(std::string_view text);
bool IsBlank(std::string_view line);
bool StartsWith(std::string_view text, std::string_view prefix);

/// Fills `error` and returns false, so that parsers can `return Fail(...)`.
bool Fail(ReadError& error, long line, std::string message);

}  // namespace Formats
