// Stockholm: interleaved blocks, descriptions, per-sequence secondary structure, several alignments per file.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "sdm/annotations/ColumnConsensus.h"
#include "sdm/annotations/ColumnOccupancy.h"

using namespace formatstest;
using Formats::Format;

namespace {

std::string Letters(const SDM::Alignment& alignment, const std::string& name, const std::string& key) {
    const auto sequence = Protein(alignment, name);
    if (!sequence) return "<no protein sequence " + name + ">";
    const auto& structure = sequence->getSecondaryStructure(key);
    return structure ? structure->Letters() : "<no key " + key + ">";
}

unsigned SequencesWithStructure(const SDM::Alignment& alignment) {
    unsigned count = 0;
    for (unsigned i = 0; i < alignment.size(); ++i) {
        const auto protein = boost::dynamic_pointer_cast<SDM::AASequence>(alignment.getSequence(i));
        if (protein && !protein->getSecondaryStructure().empty()) ++count;
    }
    return count;
}

}  // namespace

TEST(ReaderStockholm, Fn3SecondaryStructureHasOneModelLetterPerResidue) {
    const auto result = ReadData("fn3.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Stockholm);
    EXPECT_EQ(result.alignment->size(), 98u);
    EXPECT_EQ(result.alignment->columnCount(), 117u);
    EXPECT_EQ(result.alignment->GetSequenceClass(), SDM::AminoAcid);
    EXPECT_EQ(SequencesWithStructure(*result.alignment), 11u);

    // GIVEN  residues  EAP.FDLSVIYR..EGANDFVVTFNTSHLQKKYVKV...
    //        DSSP      ---.EEEEEEEE..TTTTEEEEEEE-GGGGHSSST-...
    // THEN the gap columns drop out and the letters map to C, S and H
    const std::string letters = Letters(*result.alignment, "IL7RA_HUMAN/130-218", "SS");
    EXPECT_EQ(letters.substr(0, 28), "CCCSSSSSSSSCCCCSSSSSSSCHHHHH");
    const auto sequence = Protein(*result.alignment, "IL7RA_HUMAN/130-218");
    EXPECT_EQ(letters.size(), sequence->size());
    EXPECT_EQ(letters.find_first_not_of("HSC"), std::string::npos);
}

TEST(ReaderStockholm, PkinaseKeepsSsAndIgnoresOtherResidueRows) {
    // GIVEN #=GR rows SS (with X codes), AS, pAS and sAS
    const auto result = ReadData("Pkinase.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->size(), 38u);
    EXPECT_EQ(result.alignment->columnCount(), 419u);
    EXPECT_EQ(SequencesWithStructure(*result.alignment), 8u);
    const auto kinase = Protein(*result.alignment, "AKT1_HUMAN/150-408");
    ASSERT_TRUE(kinase);
    ASSERT_EQ(kinase->getSecondaryStructure().size(), 1u);
    EXPECT_EQ(kinase->getSecondaryStructure().begin()->first, "SS");
    EXPECT_EQ(kinase->getSecondaryStructure("SS")->Letters().size(), kinase->size());
}

TEST(ReaderStockholm, InterleavedBlocksAreJoined) {
    const auto result = ReadData("globins4.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(Rows(*result.alignment).size(), 4u);
    EXPECT_EQ(result.alignment->columnCount(), 171u);
    EXPECT_EQ(result.alignment->getSequence(3)->getDefline(), "GLB5_PETMA");
    EXPECT_EQ(result.alignment->getSequence(2)->getAligned().substr(160), "AAKYKELGYQG");
}

TEST(ReaderStockholm, RnaPairingNotationIsNotSecondaryStructure) {
    const auto result = ReadData("srp-euk.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->size(), 37u);
    EXPECT_EQ(result.alignment->columnCount(), 344u);
    EXPECT_EQ(result.alignment->GetSequenceClass(), SDM::NucleicAcid);
    EXPECT_EQ(SequencesWithStructure(*result.alignment), 0u);
    EXPECT_TRUE(boost::dynamic_pointer_cast<SDM::NASequence>(result.alignment->getSequence(0)));
}

TEST(ReaderStockholm, DescriptionsAreKeptAndSsNamesBecomeKeys) {
    const std::string text =
        "# STOCKHOLM 1.0\n"
        "#=GS p1 DE Fibronectin type III\n"
        "#=GS p1 DE domain 2\n"
        "#=GS p2 AC P12345\n"
        "p1          MKV-LHEEGI\n"
        "#=GR p1 SS  CCC.HHHHGG\n"
        "#=GR p1 SS_model  EEE.BB--TT\n"
        "#=GR p1 AS  ***.......\n"
        "p2          MKVELH-EGI\n"
        "#=GC SS_cons CCCCHHHHHH\n"
        "//\n";
    const auto result = ReadText(text);
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "p1");
    EXPECT_EQ(result.alignment->getSequence(0)->getDescription(), "Fibronectin type III domain 2");
    EXPECT_EQ(result.alignment->getSequence(1)->getDefline(), "p2");
    EXPECT_EQ(Letters(*result.alignment, "p1", "SS"), "CCCHHHHHH");
    EXPECT_EQ(Letters(*result.alignment, "p1", "model"), "SSSSSCCCC");
    EXPECT_EQ(Protein(*result.alignment, "p1")->getSecondaryStructure().size(), 2u);
}

TEST(ReaderStockholm, LaterAlignmentsOfAFileAreReachedByIndex) {
    const std::string text = FileBytes("globins4.sto") + FileBytes("fn3.sto");
    Formats::ReadOptions options;
    const auto first = Formats::ReadAlignmentText(text, "two.sto", options);
    ASSERT_TRUE(first.ok()) << first.error.ToString();
    EXPECT_EQ(first.alignment->size(), 4u);
    // The reader is told that there is more than the one it sees, and how to pick another.
    ASSERT_EQ(first.warnings.size(), 1u);
    EXPECT_NE(first.warnings[0].message.find("holds 2 alignments; alignment 1 is read"), std::string::npos);
    EXPECT_NE(first.warnings[0].message.find("--alignment"), std::string::npos);

    options.alignmentIndex = 1;
    const auto second = Formats::ReadAlignmentText(text, "two.sto", options);
    ASSERT_TRUE(second.ok()) << second.error.ToString();
    EXPECT_EQ(second.alignment->size(), 98u);
    ASSERT_EQ(second.warnings.size(), 1u);
    EXPECT_NE(second.warnings[0].message.find("alignment 2 is read"), std::string::npos);
    EXPECT_TRUE(Formats::ReadAlignmentText(FileBytes("fn3.sto"), "one.sto").warnings.empty());

    options.alignmentIndex = 2;
    const auto missing = Formats::ReadAlignmentText(text, "two.sto", options);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error.ToString(),
              "two.sto: alignment number 3 was asked for, but the file holds 2 alignments");

    options.alignmentIndex = -1;
    EXPECT_EQ(Formats::ReadAlignmentText(text, "two.sto", options).error.message,
              "the alignment index must not be negative");
}

TEST(ReaderStockholm, ColumnAnnotationsAreKeptWholeAcrossBlocksWithTheirFirstLine) {
    const auto result = ReadData("srp-euk.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    const auto& annotations = result.alignment->columnAnnotations();
    ASSERT_EQ(annotations.size(), 1u);
    EXPECT_EQ(annotations[0].tag, "SS_cons");
    EXPECT_EQ(annotations[0].line, 78);
    EXPECT_EQ(annotations[0].text.size(), result.alignment->columnCount());
    EXPECT_EQ(annotations[0].text.substr(0, 10), "..<<<..<<<");
}

TEST(ReaderStockholm, NucleicAcidPairingStructureIsKeptPerSequence) {
    const auto result = ReadData("srp-euk.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    unsigned withPairing = 0;
    for (unsigned i = 0; i < result.alignment->size(); ++i) {
        const auto rna = boost::dynamic_pointer_cast<SDM::NASequence>(result.alignment->getSequence(i));
        ASSERT_TRUE(rna);
        const auto& pairings = rna->getPairingStructures();
        if (pairings.empty()) continue;
        ++withPairing;
        ASSERT_EQ(pairings.count("SS"), 1u);
        EXPECT_EQ(pairings.at("SS").size(), rna->getAligned().size());
    }
    EXPECT_GT(withPairing, 0u);
}

TEST(ReaderStockholm, UnkeptAnnotationKindsAndMisfittingColumnLinesAreNamedWithTheirLine) {
    const auto result = ReadText(
        "# STOCKHOLM 1.0\n"
        "a ACDE\n"
        "#=GR a AS __*_\n"
        "#=GC RF xxxx\n"
        "#=GC short xx\n"
        "#=GR a AS ____\n"
        "//\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    ASSERT_EQ(result.alignment->columnAnnotations().size(), 1u);
    EXPECT_EQ(result.alignment->columnAnnotations()[0].tag, "RF");
    const auto& skipped = result.alignment->skippedAnnotations();
    ASSERT_EQ(skipped.size(), 2u);
    EXPECT_EQ(skipped[0].tag, "short (2 columns, expected 4)");
    EXPECT_EQ(skipped[0].line, 5);
    EXPECT_EQ(skipped[1].tag, "#=GR AS");  // named once, at its first line
    EXPECT_EQ(skipped[1].line, 3);
}

TEST(ReaderStockholm, ColumnLineWithoutTextIsAnErrorWithItsLine) {
    const auto result = ReadText("# STOCKHOLM 1.0\na ACDE\n#=GC RF\n//\n");
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(result.error.line, 3);
}

TEST(ReaderStockholm, Fn3ColumnFourteenIsMostlyGapsAndShowsNoConsensus) {
    const auto result = ReadData("fn3.sto");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    const std::vector<std::string> texts = SDM::AlignedTexts(*result.alignment);
    const unsigned column = 13;  // column 14, counted from 1
    EXPECT_EQ(SDM::ColumnOccupancy(texts)[column], 1u);
    EXPECT_EQ(SDM::ColumnConsensus(texts)[column].residue, 0);
}
