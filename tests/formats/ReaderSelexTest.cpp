// SELEX: column-aligned rows where blanks are gaps, #=SS structure under its row, other #= lines.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "formats/Parsers.h"

using namespace formatstest;
using Formats::Format;

namespace {

void ExpectErrorAt(const std::string& text, long line, const std::string& fragment) {
    const auto result = ReadText(text, Format::Selex);
    ASSERT_FALSE(result.ok()) << text;
    EXPECT_EQ(result.error.line, line) << result.error.ToString();
    EXPECT_NE(result.error.message.find(fragment), std::string::npos) << result.error.ToString();
}

}  // namespace

TEST(ReaderSelex, SeqretOutputMatchesThePirOriginal) {
    const auto selex = ReadData("seaview_nuc.slx");
    const auto pir = ReadData("seaview_nuc.pir");
    ASSERT_TRUE(selex.ok()) << selex.error.ToString();
    EXPECT_EQ(selex.format, Format::Selex);
    EXPECT_EQ(NamedRows(*selex.alignment), NamedRows(*pir.alignment));
}

TEST(ReaderSelex, BlanksInsideColumnAlignedRowsAreGaps) {
    // GIVEN  lig28 GGAGUAAGAUAGC AUCA GCAUCUUGUUCC
    //        lig1        GUUCACC AUCA GGGGAC
    const auto result = ReadData("emboss_r17.selex");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Selex);
    EXPECT_EQ(Rows(*result.alignment), (std::vector<std::pair<std::string, std::string>>{
                                           {"lig28", "GGAGUAAGAUAGC.AUCA.GCAUCUUGUUCC"},
                                           {"lig1", "......GUUCACC.AUCA.GGGGAC......"},
                                           {"lig2", "AUGGAUGCGCACC.AUCA.GGGCGUAUCUAU"}}));
    // #=RF (line 13) and #=CS (line 14) are not drawn: one warning each.
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].ToString().substr(0, result.warnings[0].ToString().find(' ')),
              DataPath("emboss_r17.selex") + ":13:");
    EXPECT_NE(result.warnings[0].message.find("#=RF"), std::string::npos);
    EXPECT_EQ(result.warnings[1].line, 14);
    EXPECT_NE(result.warnings[1].message.find("#=CS"), std::string::npos);
}

TEST(ReaderSelex, StructureLinesFollowTheirRowColumnForColumn) {
    Formats::ParsedAlignment parsed;
    Formats::ReadError error;
    ASSERT_TRUE(Formats::ParseSelex(FileBytes("emboss_r17.selex"), parsed, error)) << error.message;
    ASSERT_EQ(parsed.records.size(), 3u);
    EXPECT_EQ(parsed.records[0].structures.at("SS"), ".>>>>>>>>>+>>.++++.<<<<<<<<<<<<");
    EXPECT_EQ(parsed.records[1].structures.at("SS"), "......>>>>+>>.++++.<<<<<<......");
    EXPECT_EQ(parsed.records[0].structureLines.at("SS"), 16);
}

TEST(ReaderSelex, ProteinStructureReachesTheModelAcrossBlocks) {
    const auto result = ReadText(
        "#=ID test\n"
        "p1    MKV.LAE\n"
        "#=SS  CHH.HHC\n"
        "p2    MRVKLA-\n"
        "\n"
        "p1    WY\n"
        "#=SS  EE\n"
        "p2    W.\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Selex);
    const auto p1 = Protein(*result.alignment, "p1");
    ASSERT_TRUE(p1);
    ASSERT_TRUE(p1->getSecondaryStructure("SS"));
    // One model letter per residue: C H H H H C for MKVLAE, S S for WY.
    EXPECT_EQ(p1->getSecondaryStructure("SS")->Letters(), "CHHHHCSS");
    EXPECT_EQ(result.alignment->getSequence(1)->getAligned(), "MRVKLA-W.");
}

TEST(ReaderSelex, BadFilesNameTheLine) {
    ExpectErrorAt("a ACGT\nb AC1T\n", 2, "unexpected '1' in sequence 'b'");
    ExpectErrorAt("#=SS HHHH\na ACGT\n", 1, "#=SS line without a sequence row above it");
    ExpectErrorAt("a    ACGT\nlongname ACGT\n", 2, "the name reaches into the residue columns");
    ExpectErrorAt("a ACGT\na ACGT\n", 2, "appears twice in one block");
    ExpectErrorAt("a\tACGT\n", 1, "tab in a SELEX row");
    ExpectErrorAt("# only a comment\n", 0, "no sequence rows");
}
