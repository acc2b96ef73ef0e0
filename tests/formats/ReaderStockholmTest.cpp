// Stockholm: interleaved blocks, descriptions, per-sequence secondary structure, several alignments per file.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

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

    options.alignmentIndex = 1;
    const auto second = Formats::ReadAlignmentText(text, "two.sto", options);
    ASSERT_TRUE(second.ok()) << second.error.ToString();
    EXPECT_EQ(second.alignment->size(), 98u);

    options.alignmentIndex = 2;
    const auto missing = Formats::ReadAlignmentText(text, "two.sto", options);
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.error.ToString(),
              "two.sto: alignment number 3 was asked for, but the file holds 2 alignments");

    options.alignmentIndex = -1;
    EXPECT_EQ(Formats::ReadAlignmentText(text, "two.sto", options).error.message,
              "the alignment index must not be negative");
}
