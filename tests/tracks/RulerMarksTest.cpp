#include <gtest/gtest.h>

#include <map>

#include "msarender/CellGeometry.h"
#include "tracks/RulerBuilder.h"

namespace {

const CellGeometry cells(7, 15);  // any cell: marks are pure arithmetic on its width

// Column (relative to the band) -> mark, for readable expectations.
std::map<int, RulerMark> ByColumn(const std::vector<RulerMark>& marks) {
    std::map<int, RulerMark> byColumn;
    for (const RulerMark& mark : marks) {
        const int column = cells.ColumnAt(mark.x);
        EXPECT_GE(mark.x, 0);
        EXPECT_EQ(cells.CentreX(column), mark.x) << "a mark sits at its column's centre";
        byColumn[column] = mark;
    }
    return byColumn;
}

TEST(RulerMarksTest, OriginZeroNumbersColumnsFromOne) {
    const auto marks = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 60, 0));
    ASSERT_EQ(60u, marks.size());
    EXPECT_EQ(1, marks.at(0).number);
    EXPECT_TRUE(marks.at(0).shortTick);
    EXPECT_TRUE(marks.at(0).longTick);
    for (int column = 1; column < 60; ++column) {
        const RulerMark& mark = marks.at(column);
        EXPECT_EQ(column + 1, mark.number);
        const bool fifth = (column + 1) % 5 == 0 && (column + 1) % 10 != 0;
        const bool tenth = (column + 1) % 10 == 0;
        EXPECT_EQ(fifth, mark.shortTick) << column;
        EXPECT_EQ(tenth, mark.longTick) << column;
    }
    EXPECT_TRUE(marks.at(4).shortTick);
    EXPECT_TRUE(marks.at(14).shortTick);
    EXPECT_TRUE(marks.at(59).longTick);
}

TEST(RulerMarksTest, OriginOneLeavesTheFirstColumnBlank) {
    const auto first = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 60, 1));
    EXPECT_EQ(0u, first.count(0));
    EXPECT_EQ(1, first.at(1).number);
    EXPECT_TRUE(first.at(1).longTick);
    EXPECT_EQ(59, first.at(59).number);

    const auto second = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 60, 60, 1));
    EXPECT_EQ(60, second.at(0).number);
    EXPECT_TRUE(second.at(0).longTick);
    EXPECT_FALSE(second.at(0).shortTick);
}

TEST(RulerMarksTest, OriginTwentyFiveWithBlocksOfTen) {
    EXPECT_TRUE(RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 10, 25).empty());
    EXPECT_TRUE(RulerBuilder::CalculateMarks(cells.CellWidth(), 10, 10, 25).empty());

    const auto third = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 20, 10, 25));
    for (int column = 0; column < 5; ++column) EXPECT_EQ(0u, third.count(column)) << column;
    EXPECT_EQ(1, third.at(5).number);
    EXPECT_TRUE(third.at(5).shortTick && third.at(5).longTick);
    EXPECT_EQ(5, third.at(9).number);
    EXPECT_TRUE(third.at(9).shortTick);
    EXPECT_FALSE(third.at(9).longTick);

    const auto fourth = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 30, 10, 25));
    EXPECT_EQ(6, fourth.at(0).number);
    EXPECT_FALSE(fourth.at(0).shortTick || fourth.at(0).longTick);
    EXPECT_EQ(10, fourth.at(4).number);
    EXPECT_TRUE(fourth.at(4).longTick);
}

TEST(RulerMarksTest, NoMarksOutsideTheBandsColumns) {
    for (const RulerMark& mark : RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 60, 0)) {
        EXPECT_LT(mark.x, cells.ColumnLeft(60));
    }
    EXPECT_TRUE(RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 0, 0).empty());
}

TEST(RulerMarksTest, NegativeOriginNumbersLikeOriginZero) {
    const auto marks = ByColumn(RulerBuilder::CalculateMarks(cells.CellWidth(), 0, 20, -3));
    EXPECT_EQ(1, marks.at(0).number);
    EXPECT_EQ(20, marks.at(19).number);
}

TEST(RulerMarksTest, HugeColumnsStopBeforeTheNumbersOverflow) {
    const auto marks = RulerBuilder::CalculateMarks(cells.CellWidth(), 0xFFFFFFF0u, 0xFFu, 0);
    EXPECT_TRUE(marks.empty());
}

TEST(RulerMarksTest, LabelLeftEdge) {
    EXPECT_EQ(90, RulerBuilder::LabelLeft(100, 20));
    EXPECT_EQ(90, RulerBuilder::LabelLeft(100, 21));  // half the width truncates
    EXPECT_EQ(0, RulerBuilder::LabelLeft(3, 14));
    EXPECT_EQ(0, RulerBuilder::LabelLeft(-5, 14));
}

}  // namespace
