// NEXUS: seaview's own example, an interleaved file that seqret wrote, and the syntax around the MATRIX.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

namespace {

Formats::ReadResult ReadNexus(const std::string& matrixAndFormat) {
    return ReadText("#NEXUS\nBEGIN DATA;\n" + matrixAndFormat + "\nEND;\n", Format::Nexus);
}

void ExpectErrorAt(const std::string& text, long line, const std::string& fragment) {
    const auto result = ReadText(text, Format::Nexus);
    ASSERT_FALSE(result.ok()) << text;
    EXPECT_EQ(result.error.file, "test.txt");
    EXPECT_EQ(result.error.line, line) << result.error.ToString();
    EXPECT_NE(result.error.message.find(fragment), std::string::npos) << result.error.ToString();
}

long LineOf(const std::string& text, const std::string& fragment) {
    const std::size_t at = text.find(fragment);
    return at == std::string::npos ? -1 : long(std::count(text.begin(), text.begin() + long(at), '\n')) + 1;
}

}  // namespace

TEST(ReaderNexus, SeqretInterleavedFileMatchesThePirOriginal) {
    const auto nexus = ReadData("seaview_nuc.nex");
    const auto pir = ReadData("seaview_nuc.pir");
    ASSERT_TRUE(nexus.ok()) << nexus.error.ToString();
    EXPECT_EQ(nexus.format, Format::Nexus);
    // seqret declares MISSING=N: N is a residue code already and stays one.
    EXPECT_EQ(NamedRows(*nexus.alignment), NamedRows(*pir.alignment));
    ASSERT_EQ(nexus.warnings.size(), 1u);  // the ASSUMPTIONS block
    EXPECT_NE(nexus.warnings[0].message.find("'assumptions'"), std::string::npos);
    EXPECT_EQ(nexus.warnings[0].line, LineOf(FileBytes("seaview_nuc.nex"), "begin assumptions"));
}

TEST(ReaderNexus, SeaviewSequentialFileWithCommentsAndQuotedNames) {
    const auto result = ReadData("seaview_example.nxs");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Nexus);
    EXPECT_EQ(result.alignment->size(), 54u);
    EXPECT_EQ(result.alignment->columnCount(), 456u);
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "D82069.PE1");  // "[1]" is a comment
    EXPECT_EQ(result.alignment->getSequence(1)->getDefline(), "AB019540.AIF-1");
    // Rows run over several lines: the second line of row 1 follows its first without a seam.
    EXPECT_EQ(result.alignment->getSequence(0)->getAligned().substr(50, 16), "gctgaaagcccaacag");
    EXPECT_EQ(result.alignment->GetSequenceClass(), SDM::NucleicAcid);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].line, LineOf(FileBytes("seaview_example.nxs"), "BEGIN NOTES"));
}

TEST(ReaderNexus, SymbolsOfTheFormatCommandAreTranslated) {
    const auto result = ReadNexus(
        "DIMENSIONS NTAX=3 NCHAR=6;\n"
        "FORMAT DATATYPE=PROTEIN MISSING=! GAP=~ MATCHCHAR=.;\n"
        "MATRIX\n"
        "first   ACD[comment]EFG\n"
        "'two words' A.~!.(KR)\n"
        "third   ?CDEF{GH}\n"
        ";");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(Rows(*result.alignment),
              (std::vector<std::pair<std::string, std::string>>{
                  {"first", "ACDEFG"}, {"two words", "AC-?FX"}, {"third", "?CDEFX"}}));
}

TEST(ReaderNexus, InterleavedBlocksJoinByName) {
    const auto result = ReadNexus(
        "DIMENSIONS NTAX=2 NCHAR=8;\nFORMAT INTERLEAVE DATATYPE=DNA;\nMATRIX\n"
        "a ACGT\nb AC-?\n\na TTGG\nb TT??\n;");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(Rows(*result.alignment),
              (std::vector<std::pair<std::string, std::string>>{{"a", "ACGTTTGG"}, {"b", "AC-?TT??"}}));
}

TEST(ReaderNexus, WindowsLineEndsAndQuotesInNamesReadTheSame) {
    const std::string unix =
        "#NEXUS\nBEGIN CHARACTERS;\nDIMENSIONS NCHAR=4;\nFORMAT INTERLEAVE;\nMATRIX\n"
        "'it''s' AC\n\"b\" KL\n'it''s' DE\n\"b\" MN\n;\nEND;\n";
    std::string windows;
    for (char c : unix) windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const auto fromUnix = ReadText(unix, Format::Nexus);
    const auto fromWindows = ReadText(windows, Format::Nexus);
    ASSERT_TRUE(fromUnix.ok()) << fromUnix.error.ToString();
    ASSERT_TRUE(fromWindows.ok()) << fromWindows.error.ToString();
    EXPECT_EQ(Rows(*fromUnix.alignment),
              (std::vector<std::pair<std::string, std::string>>{{"it's", "ACDE"}, {"b", "KLMN"}}));
    EXPECT_EQ(Rows(*fromWindows.alignment), Rows(*fromUnix.alignment));
}

TEST(ReaderNexus, BadFilesNameTheLine) {
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nDIMENSIONS NTAX=2 NCHAR=4;\nMATRIX\na ACGT\nb ACG\n;\nEND;\n", 6,
                  "taxon 'b' ends after 3 of NCHAR=4 characters");
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nDIMENSIONS NTAX=3 NCHAR=2;\nMATRIX\na AC\nb AC\n;\nEND;\n", 7,
                  "the MATRIX has 2 taxa, expected NTAX=3");
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nDIMENSIONS NCHAR=2;\nMATRIX\na AC\nb A1\n;\nEND;\n", 6,
                  "unexpected '1' in sequence 'b'");
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nDIMENSIONS NCHAR=2;\nMATRIX\na [open\nAC\n;\nEND;\n", 5,
                  "comment '[' is never closed");
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nDIMENSIONS NCHAR=x;\nEND;\n", 3, "NCHAR must be a positive number");
    ExpectErrorAt("#NEXUS\nBEGIN DATA;\nMATRIX\na AC\n;\nEND;\n", 3, "MATRIX before DIMENSIONS NCHAR");
    ExpectErrorAt("#NEXUS\nBEGIN TREES;\nTREE t = (a,b);\nEND;\n", 0, "no DATA or CHARACTERS block");
    ExpectErrorAt("BEGIN DATA;\n", 1, "expected a '#NEXUS' header");
}
