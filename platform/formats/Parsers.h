#pragma once

#include <cstddef>
#include <string>

#include "formats/AlignmentReader.h"
#include "formats/ParsedAlignment.h"

namespace Formats {

// One parser per format: each fills `out` from the whole text, or fills `error` (line and message; the
// caller adds the file name) and returns false. None of them throws or trusts a count from the file.

/// Aligned FASTA, A2M and A3M.
/// `maxCells` caps rows x columns after A3M insert columns are padded out.
bool ParseFasta(const std::string& text, std::size_t maxCells, ParsedAlignment& out, ReadError& error);
/// Clustal .aln, interleaved blocks.
bool ParseClustal(const std::string& text, ParsedAlignment& out, ReadError& error);
/// Stockholm; `alignmentIndex` picks one alignment of a file holding several; unless `chosen`, a warning
/// names the others.
bool ParseStockholm(const std::string& text, int alignmentIndex, bool chosen, ParsedAlignment& out,
                    ReadError& error);
/// The error for alignment `index` (0-based) of a file of `count`: a usage error, not a damaged file.
bool NoSuchAlignment(int index, int count, ReadError& error);
/// PHYLIP, sequential or interleaved, strict (10-character) or relaxed names.
bool ParsePhylip(const std::string& text, ParsedAlignment& out, ReadError& error);
/// PIR/NBRF.
bool ParsePir(const std::string& text, ParsedAlignment& out, ReadError& error);
/// GCG MSF: the header up to '//' names the sequences, interleaved blocks follow.
bool ParseMsf(const std::string& text, ParsedAlignment& out, ReadError& error);
/// NEXUS: the MATRIX of the first DATA or CHARACTERS block, interleaved or not.
bool ParseNexus(const std::string& text, ParsedAlignment& out, ReadError& error);
/// SELEX: column-aligned blocks of 'name residues' rows with `#=` annotation lines.
bool ParseSelex(const std::string& text, ParsedAlignment& out, ReadError& error);

}  // namespace Formats
