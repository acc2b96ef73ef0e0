// The standard annotation rows made from a model.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "msarender/AnnotationRowFactory.h"
#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnInformation.h"

namespace {

SDM::Alignment& Fill(SDM::Alignment& alignment, const std::vector<std::string>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        alignment.addSequence(boost::make_shared<SDM::AASequence>("s" + std::to_string(i), rows[i]));
    return alignment;
}

TEST(AnnotationRowFactoryTest, ConsensusShowsResidueTieAndNothingWithBarsOfTheShare) {
    SDM::Alignment alignment;
    Fill(alignment, {"AAQ", "AG-", "AG-", "CA-"});
    const AnnotationRow row = AnnotationRowFactory::Consensus(alignment);
    EXPECT_EQ(row.symbols, "A+ ");
    ASSERT_EQ(row.heights.size(), 3u);
    EXPECT_FLOAT_EQ(row.heights[0], 0.75f);
    EXPECT_FLOAT_EQ(row.heights[1], 0.5f);
    EXPECT_FLOAT_EQ(row.heights[2], 0.0f);  // 1 residue in 4 rows
    EXPECT_FALSE(row.cartoon);
}

TEST(AnnotationRowFactoryTest, ConservationAndOccupancyBarsFollowTheirScores) {
    SDM::Alignment alignment;
    Fill(alignment, {"WI-", "WV-"});
    const AnnotationRow conservation = AnnotationRowFactory::Conservation(alignment);
    EXPECT_EQ(conservation.symbols, "*9 ");
    EXPECT_FLOAT_EQ(conservation.heights[0], 1.0f);
    EXPECT_FLOAT_EQ(conservation.heights[1], 9.0f / 11.0f);
    EXPECT_FLOAT_EQ(conservation.heights[2], 0.0f);
    const AnnotationRow occupancy = AnnotationRowFactory::Occupancy(alignment);
    EXPECT_EQ(occupancy.heights, (std::vector<float>{1.0f, 1.0f, 0.0f}));
}

TEST(AnnotationRowFactoryTest, PairingRowColoursEachHelixAndKeepsOnlyBrackets) {
    std::vector<std::string> warnings;
    const AnnotationRow row = AnnotationRowFactory::Pairing("SS", "<<_>>:(.)", warnings);
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(row.symbols, "<< >> ( )");
    EXPECT_EQ(row.colours[0], AnnotationRowFactory::HelixColour(0));
    EXPECT_EQ(row.colours[4], AnnotationRowFactory::HelixColour(0));
    EXPECT_EQ(row.colours[6], AnnotationRowFactory::HelixColour(1));
    EXPECT_NE(AnnotationRowFactory::HelixColour(0), AnnotationRowFactory::HelixColour(1));
    EXPECT_FLOAT_EQ(row.heights[2], 0.0f);
    EXPECT_FLOAT_EQ(row.heights[8], 1.0f);
}

TEST(AnnotationRowFactoryTest, UnmatchedBracketsGiveAWarningWithLineAndColumnsNotACrash) {
    std::vector<std::string> warnings;
    const AnnotationRow row = AnnotationRowFactory::FromColumnAnnotation({"SS_cons", "<<..>", 12}, warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("line 12"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[0].find("column(s) 1"), std::string::npos) << warnings[0];
    EXPECT_EQ(row.symbols.size(), 5u);
}

TEST(AnnotationRowFactoryTest, DsspConsensusBecomesACartoonAndOtherLinesText) {
    std::vector<std::string> warnings;
    const AnnotationRow cartoon =
        AnnotationRowFactory::FromColumnAnnotation({"SS_cons", "HHGE.T-B", 3}, warnings);
    EXPECT_TRUE(cartoon.cartoon);
    EXPECT_EQ(cartoon.symbols, "HHHS-C-S");
    const AnnotationRow text = AnnotationRowFactory::FromColumnAnnotation({"RF", "xx.x", 4}, warnings);
    EXPECT_FALSE(text.cartoon);
    EXPECT_EQ(text.label, "RF");
    EXPECT_EQ(text.symbols, "xx x");
    EXPECT_TRUE(warnings.empty());
}

// A Pfam consensus sequence is full of H, E and G: only structure tags make cartoons or pairings.
TEST(AnnotationRowFactoryTest, OnlyStructureTagsBecomeCartoonsOrPairings) {
    std::vector<std::string> warnings;
    const AnnotationRow consensus =
        AnnotationRowFactory::FromColumnAnnotation({"seq_cons", "hHEGlp.h", 3}, warnings);
    EXPECT_FALSE(consensus.cartoon);
    EXPECT_EQ(consensus.symbols, "hHEGlp h");
    EXPECT_TRUE(consensus.heights.empty());  // no pairing bars either
    const AnnotationRow brackets =
        AnnotationRowFactory::FromColumnAnnotation({"PP_cons", "<<..>>", 4}, warnings);
    EXPECT_FALSE(brackets.cartoon);
    EXPECT_TRUE(brackets.heights.empty());
    EXPECT_TRUE(AnnotationRowFactory::FromColumnAnnotation({"SS_cons_2", "HHHE", 5}, warnings).cartoon);
    EXPECT_TRUE(AnnotationRowFactory::FromColumnAnnotation({"ss_CONS", "HHHE", 6}, warnings).cartoon);
    EXPECT_FALSE(
        AnnotationRowFactory::FromColumnAnnotation({"SS_cons_2", "<<>>", 7}, warnings).heights.empty());
    EXPECT_TRUE(warnings.empty());
}

}  // namespace

namespace {

TEST(AnnotationRowFactoryLogoTest, StacksPutTheMostFrequentOnTopAndRiseToTheColumnsBits) {
    // Column 1: three G over one A. Column 2: one C among gaps. Column 3: T in a DNA file is written T.
    const std::vector<std::string> texts{"GCT", "G-T", "G-T", "A-T"};
    const std::vector<AnnotationRow> rows = AnnotationRowFactory::Logo(texts, false, nullptr, false, 4);
    ASSERT_EQ(rows.size(), 4u);
    const SequenceLogo& logo = *rows[0].logo;
    EXPECT_DOUBLE_EQ(logo.axisMaximum, 2.0);
    ASSERT_EQ(logo.columns.size(), 3u);
    ASSERT_EQ(logo.columns[0].size(), 2u);
    EXPECT_EQ(logo.columns[0][0].letter, 'A');  // bottom
    EXPECT_EQ(logo.columns[0][1].letter, 'G');  // top
    EXPECT_FLOAT_EQ(logo.columns[0][1].height, 3 * logo.columns[0][0].height);
    SDM::ColumnProfile profile;
    profile.build(texts);
    const std::vector<double> bits = SDM::ColumnInformation(profile, false);
    EXPECT_NEAR(logo.columns[0][0].height + logo.columns[0][1].height, bits[0] / 2.0, 1e-6);
    EXPECT_EQ(logo.columns[2][0].letter, 'T');
    EXPECT_EQ(logo.columns[0][0].colour, 0xFF000000u);  // no scheme: black
    // Stacks are as wide as their share of the fullest column's letters.
    EXPECT_EQ(logo.widths, (std::vector<float>{1.0f, 0.25f, 1.0f}));
    // By frequency: shares of all rows, gaps included.
    const std::vector<AnnotationRow> shareRows = AnnotationRowFactory::Logo(texts, false, nullptr, true);
    const SequenceLogo& shares = *shareRows[0].logo;
    EXPECT_FLOAT_EQ(shares.columns[1][0].height, 0.25f);
    EXPECT_FLOAT_EQ(shares.columns[0][1].height, 0.75f);
    EXPECT_DOUBLE_EQ(shares.axisMaximum, 1.0);
}

TEST(AnnotationRowFactoryLogoTest, QualityBarsAreSharesOfTheBestColumn) {
    const AnnotationRow row = AnnotationRowFactory::Quality({"WW-", "WC-"});
    ASSERT_EQ(row.heights.size(), 3u);
    EXPECT_FLOAT_EQ(row.heights[0], 1.0f);
    EXPECT_FLOAT_EQ(row.heights[1], 0.0f);  // the widest spread
    EXPECT_FLOAT_EQ(row.heights[2], 0.0f);  // gaps only
    EXPECT_NE(row.colours[0], row.colours[1]);
    EXPECT_TRUE(row.symbols.empty());
}

}  // namespace
