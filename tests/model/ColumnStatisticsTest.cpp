// Occupancy and consensus of small alignments worked out by hand.

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnConsensus.h"
#include "sdm/annotations/ColumnOccupancy.h"

namespace {

using Rows = std::vector<std::string>;

TEST(ColumnOccupancyTest, CountsResiduesAndTreatsEveryGapCharacterAndShortRowsAsGaps) {
    // Columns: 3 residues, '-' '.' '~' gaps with one residue, and a column only the long row reaches.
    const Rows rows{"AC-", "A.", "a~G"};
    EXPECT_EQ(SDM::ColumnOccupancy(rows), (std::vector<unsigned>{3, 1, 1}));
}

TEST(ColumnOccupancyTest, NoRowsGiveNoColumnsAndAllGapsGiveZero) {
    EXPECT_TRUE(SDM::ColumnOccupancy({}).empty());
    EXPECT_EQ(SDM::ColumnOccupancy({"--", ".."}), (std::vector<unsigned>{0, 0}));
}

TEST(ColumnOccupancyTest, AlignedTextsLeaveOutTheConsensusAndKeepHiddenSequences) {
    SDM::Alignment alignment;
    alignment.addSequence(boost::make_shared<SDM::AASequence>("a", "AC"));
    auto hidden = boost::make_shared<SDM::AASequence>("b", "A-");
    hidden->setDisplayed(false);
    alignment.addSequence(hidden);
    alignment.setShowConsensus(true);
    EXPECT_EQ(SDM::AlignedTexts(alignment), (Rows{"AC", "A-"}));
}

TEST(ColumnConsensusTest, IdentityColumnShowsTheResidueAtOneHundredPercent) {
    const auto consensus = SDM::ColumnConsensus({"K", "k", "K", "K"});
    ASSERT_EQ(consensus.size(), 1u);
    EXPECT_EQ(consensus[0].residue, 'K');  // case folded
    EXPECT_EQ(consensus[0].count, 4u);
    EXPECT_DOUBLE_EQ(consensus[0].percent, 100.0);
}

TEST(ColumnConsensusTest, MajorityPercentCountsGapsInTheRowTotal) {
    // 2 of 4 rows are L, one V, one gap: L at 50 %.
    const auto consensus = SDM::ColumnConsensus({"L", "L", "V", "-"});
    EXPECT_EQ(consensus[0].residue, 'L');
    EXPECT_DOUBLE_EQ(consensus[0].percent, 50.0);
}

TEST(ColumnConsensusTest, TieShowsPlusWithTheSharedCount) {
    const auto consensus = SDM::ColumnConsensus({"A", "G", "G", "A", "W"});
    EXPECT_EQ(consensus[0].residue, SDM::ConsensusColumn::kTie);
    EXPECT_EQ(consensus[0].count, 2u);
    EXPECT_DOUBLE_EQ(consensus[0].percent, 40.0);
}

TEST(ColumnConsensusTest, MostlyGapColumnsShowNothingAndTheThresholdIsInclusive) {
    // 1 residue in 4 rows: 75 % gaps. 2 in 4: exactly 50 %, still shown.
    const auto consensus = SDM::ColumnConsensus({"QA", "-A", "--", "--"});
    EXPECT_EQ(consensus[0].residue, 0);
    EXPECT_EQ(consensus[1].residue, 'A');
    EXPECT_DOUBLE_EQ(consensus[1].percent, 50.0);
    // A stricter threshold hides the half-gap column too.
    EXPECT_EQ(SDM::ColumnConsensus({"QA", "-A", "--", "--"}, 0.25)[1].residue, 0);
}

TEST(ColumnConsensusTest, AllGapsAndNoRowsShowNothing) {
    const auto allGaps = SDM::ColumnConsensus({"-.", "--"});
    ASSERT_EQ(allGaps.size(), 2u);
    EXPECT_EQ(allGaps[0].residue, 0);
    EXPECT_EQ(allGaps[1].residue, 0);
    EXPECT_TRUE(SDM::ColumnConsensus({}).empty());
}

TEST(ColumnConsensusTest, OneSequenceIsItsOwnConsensus) {
    const auto consensus = SDM::ColumnConsensus({"M-K"});
    EXPECT_EQ(consensus[0].residue, 'M');
    EXPECT_EQ(consensus[1].residue, 0);
    EXPECT_EQ(consensus[2].residue, 'K');
    EXPECT_DOUBLE_EQ(consensus[2].percent, 100.0);
}

}  // namespace
