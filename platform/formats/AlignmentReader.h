#pragma once

#include <boost/shared_ptr.hpp>
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "sdm/Alignment.h"

/// Readers of multiple-alignment files: FASTA (with A2M/A3M insert columns), Clustal, Stockholm, PHYLIP,
/// PIR, GCG MSF, NEXUS and SELEX. Each builds an SDM::Alignment: AASequence rows for protein, NASequence rows
/// for DNA/RNA, the sequence class decided from the residues and the class's default colour scheme.
///
/// Conventions shared by all readers:
/// - Gaps are kept as written ('-' or '.'); '~' (PHYLIP/PIR gap) and '*' inside a row become '-'.
/// - A2M/A3M: lower-case letters are insertions relative to the match states. A2M keeps them in their
///   columns (its '.' pads insert columns already). A3M omits the padding, so the reader inserts '.' columns
///   into the other rows until every row has the same length, which gives the same result as the
///   equivalent A2M file.
/// - Stockholm: `#=GS <seq> DE <text>` is appended to the defline as "name text". `#=GR <seq> SS` becomes
///   the secondary structure with key "SS"; `#=GR <seq> SS_<name>` becomes key "<name>" (the suffix).
///   DSSP letters map to H (H, G, I), S (E, B) and C (anything else); one letter is kept per residue, so the
///   letters in the sequence's gap columns are dropped. Structure is kept for amino-acid alignments only.
/// - MSF gaps ('.' and '~') become '-'. SELEX keeps '.' and '-'; blanks inside its column-aligned rows are
///   gaps ('.'), and `#=SS` lines give structure key "SS" like Stockholm's `#=GR SS`.
/// - Missing data (PHYLIP '?', the NEXUS MISSING symbol) becomes SQC::SequenceConstants::kMissing, which
///   every colour scheme draws differently from a gap. A NEXUS MISSING symbol that is a letter (EMBOSS
///   writes MISSING=N) stays that letter: it is a residue code already.
/// - An alignment without a single residue is an error, not an empty picture.
/// - What a reader skips (data after a Stockholm `//`, SELEX `#=CS`/`#=RF`, NEXUS blocks other than
///   DATA/CHARACTERS) is reported as one warning per kind, with its line.
/// - Errors never throw: the result carries "file:line: message".
namespace Formats {

enum class Format { Auto, Fasta, Clustal, Stockholm, Phylip, Pir, Msf, Nexus, Selex };

struct ReadOptions {
    Format format = Format::Auto;
    /// Stockholm: which alignment of a file holding several (0 = the first). Every other format holds one:
    /// asking for another is refused.
    int alignmentIndex = 0;
    /// Whether the caller chose the alignment: then no warning names the file's others.
    bool alignmentChosen = false;
    /// Input larger than this (after decompression) is refused instead of exhausting memory.
    std::size_t maxBytes = std::size_t(1) << 30;
    /// More columns than this are refused once parsed, before the model is built (0: no limit), with
    /// `columnLimitReason` after the count: a caller that cannot draw them spares the memory of the rest.
    std::size_t maxColumns = 0;
    std::string columnLimitReason;
};

struct ReadError {
    std::string file;
    long line = 0;  // 1-based; 0 when the error is not about one line
    std::string message;
    /// The input is sound, but the caller asked for more than it holds (an alignment number beyond its
    /// count) or than the caller can use (maxColumns): the caller's usage error.
    bool beyondCallerLimit = false;
    bool empty() const { return message.empty(); }
    /// "file:line: message", or "file: message" without a line.
    std::string ToString() const;
};

struct ReadResult {
    boost::shared_ptr<SDM::Alignment> alignment;  // empty on error
    ReadError error;
    std::vector<ReadError> warnings;  // what was read past, each "file:line: message"
    Format format = Format::Auto;     // the format that was read
    bool ok() const { return alignment && error.empty(); }
};

/// Reads a file; "-" is standard input. Gzip, bzip2 and xz input (recognised by their magic bytes) is
/// decompressed; zip and zstd archives are refused with a message that names them.
ReadResult ReadAlignmentFile(const std::string& path, const ReadOptions& options = {});
/// Reads a whole stream (compression detected by magic bytes); `name` names the input in errors.
ReadResult ReadAlignmentStream(std::istream& in, const std::string& name, const ReadOptions& options = {});
/// Reads text already in memory (not compressed); `name` names the input in errors.
ReadResult ReadAlignmentText(const std::string& text, const std::string& name,
                             const ReadOptions& options = {});

/// The format the text looks like; Format::Auto when none fits.
Format DetectFormat(const std::string& text);
/// "fasta" (also "fa", "afa", "a2m", "a3m"), "clustal" ("aln"), "stockholm" ("sto", "stk"), "phylip" ("phy"),
/// "pir", "msf" ("gcg"), "nexus" ("nex", "nxs"), "selex" ("slx"), "auto"; case-insensitive. Empty for an
/// unknown name.
std::optional<Format> ParseFormatName(const std::string& name);
/// The canonical lower-case name ("fasta", "clustal", ...; "auto").
std::string FormatName(Format format);
/// The canonical names of the readable formats, for help texts.
std::vector<std::string> FormatNames();

}  // namespace Formats
