// Malformed input: every failure names the file, the line and what was expected, and nothing crashes.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

namespace {

/// Reads `text` and expects a failure at `line` whose message contains `fragment`.
void ExpectError(const std::string& text, long line, const std::string& fragment,
                 Format format = Format::Auto) {
    const auto result = ReadText(text, format);
    ASSERT_FALSE(result.ok()) << "read without error:\n" << text;
    EXPECT_FALSE(result.alignment);
    EXPECT_EQ(result.error.file, "test.txt");
    EXPECT_EQ(result.error.line, line) << result.error.ToString();
    EXPECT_NE(result.error.message.find(fragment), std::string::npos) << result.error.ToString();
}

}  // namespace

TEST(ReaderErrors, EmptyAndBlankInputAreRefused) {
    ExpectError("", 0, "empty file");
    ExpectError(" \n\n\t\r\n", 0, "empty file");
    ExpectError("\xEF\xBB\xBF\n", 0, "empty file");
}

TEST(ReaderErrors, BinaryDataIsRefusedAtItsLine) {
    ExpectError(std::string(">s\nAC\0GT\n", 9), 2, "binary data");
    ExpectError(std::string("\x7F"
                            "ELF\x02\x01\x01",
                            7),
                1, "binary data");
}

TEST(ReaderErrors, UnknownCharactersNameTheCharacterAndSequence) {
    ExpectError(">a\nACGT\n>b\nAC1T\n", 4, "unexpected '1' in sequence 'b'");
    ExpectError("CLUSTAL W\n\nx  AC#T\ny  ACGT\n", 3, "unexpected '#'");
    ExpectError("# STOCKHOLM 1.0\ns1 AC?T\n//\n", 2, "unexpected '?'");
}

TEST(ReaderErrors, RaggedStockholmBlockNamesTheRow) {
    ExpectError("# STOCKHOLM 1.0\n\ns1 ACDEF\ns2 ACDE\n//\n", 4,
                "ragged block: 's2' has 4 columns here, expected 5");
}

TEST(ReaderErrors, SequenceWithTwoLengthsIsReportedAtItsFirstLine) {
    // s2 is missing from the second block, so its two blocks add up to fewer columns.
    ExpectError("# STOCKHOLM 1.0\ns1 ACDE\ns2 ACDE\n\ns1 FGH\n//\n", 3,
                "sequence 's2' has 4 columns, expected 7");
    ExpectError(">a\nACGT\n>b\nACG\n", 3, "sequence 'b' has 3 columns, expected 4");
    ExpectError(">P1;a\ndesc\nACGT*\n>P1;b\ndesc\nAC*\n", 4, "sequence 'b' has 2 columns");
}

TEST(ReaderErrors, A3mRowsMustAgreeOnMatchColumns) {
    // Rows of different lengths with lower-case inserts are A3M; their match columns must then agree.
    ExpectError(">a\nACkD\n>b\nACDEF\n", 3,
                "sequence 'b' has 5 match columns (upper-case letters and '-'), expected 3");
    // All in lower case, as many nucleotide alignments are: no match states, so a plain length error.
    ExpectError(">a\nacg-t\n>b\nacgt\n", 3, "sequence 'b' has 4 columns, expected 5");
}

TEST(ReaderErrors, StockholmStructureProblemsAreLocated) {
    ExpectError("# STOCKHOLM 1.0\ns1 ACDE\n#=GR s9 SS HHHH\n//\n", 3, "'s9', which has no sequence row");
    ExpectError("# STOCKHOLM 1.0\ns1 ACDE\n#=GR s1 SS HHH\n//\n", 3,
                "secondary structure 'SS' of 's1' has 3 columns");
    // "\xC3\xA9" is one character in two bytes: named as such, at its column, not counted as two columns.
    ExpectError("# STOCKHOLM 1.0\ns1 ACDEF\n#=GR s1 SS HH\xC3\xA9-\n//\n", 3,
                "'SS' of 's1' has a character outside ASCII at column 3");
    ExpectError("# STOCKHOLM 1.0\ns1 ACDE\n", 2, "does not end with '//'");
    ExpectError("# STOCKHOLM 1.0\n//\n", 0, "no sequences");
    ExpectError("s1 ACDE\n//\n", 1, "'# STOCKHOLM 1.0' header", Format::Stockholm);
}

TEST(ReaderErrors, ClustalRowsWithExtraTextAreRefused) {
    ExpectError("CLUSTAL W\n\nx  ACGT  4\ny  ACGT  x\n", 4, "unexpected text 'x'");
    ExpectError("CLUSTAL W\n\nx  ACGT\nx  ACGT\n", 4, "appears twice in one block");
    ExpectError(">a\nACGT\n", 1, "expected a 'CLUSTAL' header", Format::Clustal);
}

TEST(ReaderErrors, PhylipHeaderIsCheckedBeforeAnythingIsAllocated) {
    ExpectError(" 2000000000 2000000000\na ACGT\n", 1, "more than the file holds", Format::Phylip);
    ExpectError("x y\na ACGT\n", 1, "expected a PHYLIP header", Format::Phylip);
    ExpectError(" 3 4\na ACGT\nb ACGT\n", 3, "expected 3 sequences, found 2");
    ExpectError(" 2 4\na ACGT\nb ACG\n", 3, "sequence 'b' has 3 columns, expected 4 from the header");
}

TEST(ReaderErrors, PirSequencesMustEndWithAStar) {
    ExpectError(">P1;a\ndesc\nACGT\n>P1;b\ndesc\nACGT*\n", 4, "does not end with '*'");
    ExpectError(">P1;a\ndesc\nACGT\n", 3, "does not end with '*'");
    ExpectError(">P1;a\ndesc\nAC*GT\n", 3, "unexpected text after the '*'");
}

TEST(ReaderErrors, FastaNeedsAHeaderFirst) {
    ExpectError("ACGT\n>a\nACGT\n", 1, "expected a '>name' line", Format::Fasta);
    ExpectError(">\nACGT\n", 1, "empty sequence name");
}

TEST(ReaderErrors, UnrecognisedTextSaysWhatWasExpected) {
    ExpectError("hello world\n", 0, "expected FASTA, Clustal, Stockholm, PHYLIP, PIR, MSF, NEXUS or SELEX");
}

TEST(ReaderErrors, ForcingTheWrongFormatFailsCleanly) {
    for (Format format : {Format::Fasta, Format::Clustal, Format::Stockholm, Format::Phylip, Format::Pir,
                          Format::Msf, Format::Nexus, Format::Selex}) {
        const auto result = ReadText(FileBytes("globins4.sto").substr(17), format);  // past the header
        EXPECT_FALSE(result.ok()) << Formats::FormatName(format);
        EXPECT_FALSE(result.error.message.empty());
    }
}

TEST(ReaderErrors, FileProblemsNameTheFile) {
    const auto missing = Formats::ReadAlignmentFile(DataPath("no-such-file.fa"));
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error.ToString(),
              DataPath("no-such-file.fa") + ": cannot open: No such file or directory");
    const auto directory = Formats::ReadAlignmentFile(MSARENDER_TEST_DATA);
    EXPECT_NE(directory.error.message.find("is a directory"), std::string::npos);
}

TEST(ReaderErrors, CorruptOrTruncatedGzipIsReported) {
    const std::string compressed = FileBytes("jalview_uniref50.fa.gz");
    std::istringstream truncated(compressed.substr(0, compressed.size() / 2));
    const auto result = Formats::ReadAlignmentStream(truncated, "cut.fa.gz");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error.ToString(), "cut.fa.gz: corrupt gzip data: truncated input");

    std::string damaged = compressed;
    damaged[20] = char(~damaged[20]);
    damaged[21] = char(~damaged[21]);
    std::istringstream corrupt(damaged);
    EXPECT_NE(Formats::ReadAlignmentStream(corrupt, "bad.gz").error.message.find("corrupt gzip data"),
              std::string::npos);
}

TEST(ReaderErrors, InputOverTheSizeLimitIsRefused) {
    Formats::ReadOptions options;
    options.maxBytes = 1000;
    // GIVEN a file of 2979 bytes that compresses to under 1000: the limit applies to what it expands to
    const auto compressed = ReadData("jalview_uniref50.fa.gz", options);
    EXPECT_FALSE(compressed.ok());
    EXPECT_NE(compressed.error.message.find("larger than 1000 bytes"), std::string::npos)
        << compressed.error.ToString();
    const auto plain = ReadData("jalview_uniref50.fa", options);
    EXPECT_NE(plain.error.message.find("larger than 1000 bytes"), std::string::npos)
        << plain.error.ToString();
    EXPECT_FALSE(Formats::ReadAlignmentText(std::string(1001, 'A'), "big", options).ok());
}

TEST(ReaderErrors, ErrorTextIsFileLineMessage) {
    EXPECT_EQ((Formats::ReadError{"a.sto", 12, "ragged block"}).ToString(), "a.sto:12: ragged block");
    EXPECT_EQ((Formats::ReadError{"a.sto", 0, "empty file"}).ToString(), "a.sto: empty file");
}
