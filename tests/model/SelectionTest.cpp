#include <gtest/gtest.h>

#include "sdm/Selection.h"

namespace {

TEST(SelectionTest, AnyColumnOfTheQueriedRangeCounts) {
    SDM::Selection selection;
    selection.select(2, 5, 7);
    EXPECT_TRUE(selection.isSelected(5, 1, 2));
    EXPECT_TRUE(selection.isSelected(7, 1, 2));
    EXPECT_TRUE(selection.isSelected(0, 6, 2));  // [0,5] touches 5
    EXPECT_TRUE(selection.isSelected(7, 100, 2));
    EXPECT_FALSE(selection.isSelected(4, 1, 2));
    EXPECT_FALSE(selection.isSelected(8, 1, 2));
    EXPECT_FALSE(selection.isSelected(0, 5, 2));  // [0,4] stops short
    EXPECT_FALSE(selection.isSelected(5, 1, 1));  // other sequence
    EXPECT_FALSE(selection.isSelected(5, 0, 2));  // empty range
}

TEST(SelectionTest, TouchingAndOverlappingRangesMerge) {
    SDM::Selection selection;
    selection.select(0, 0, 2);
    selection.select(0, 6, 8);
    selection.select(0, 3, 5);  // touches both neighbours
    ASSERT_EQ(selection.ranges(0).size(), 1u);
    EXPECT_EQ(selection.ranges(0)[0].first, 0u);
    EXPECT_EQ(selection.ranges(0)[0].last, 8u);
    EXPECT_TRUE(selection.isFullySelected(0, 9, 0));
    EXPECT_FALSE(selection.isFullySelected(0, 10, 0));
}

TEST(SelectionTest, ReversedBoundsAndHugeCountsAreSafe) {
    SDM::Selection selection;
    selection.select(0, 9, 4);
    EXPECT_TRUE(selection.isFullySelected(4, 6, 0));
    selection.select(1, 0xFFFFFFF0u, 0xFFFFFFFFu);
    EXPECT_TRUE(selection.isSelected(0xFFFFFFF5u, 0xFFFFFFFFu, 1));
    EXPECT_TRUE(selection.isFullySelected(0xFFFFFFF0u, 16, 1));
}

TEST(SelectionTest, DeselectSplitsARange) {
    SDM::Selection selection;
    selection.select(3, 0, 9);
    selection.deselect(3, 4, 5);
    auto ranges = selection.ranges(3);
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].last, 3u);
    EXPECT_EQ(ranges[1].first, 6u);
    EXPECT_FALSE(selection.isSelected(4, 2, 3));
    selection.deselect(3, 0, 100);
    EXPECT_TRUE(selection.empty() || selection.sequences().empty());
    EXPECT_FALSE(selection.isSelected(0, 10, 3));
}

TEST(SelectionTest, RangesFollowTheirSequenceOnInsertAndRemove) {
    SDM::Selection selection;
    selection.select(0, 1, 1);
    selection.select(2, 4, 4);
    selection.sequenceInserted(1);
    EXPECT_EQ(selection.sequences(), (std::vector<unsigned>{0, 3}));
    selection.sequenceRemoved(0);
    EXPECT_EQ(selection.sequences(), (std::vector<unsigned>{2}));
    EXPECT_TRUE(selection.isSelected(4, 1, 2));
}

}  // namespace
