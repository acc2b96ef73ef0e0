// The dendrogram's lines as numbers: branch lengths to scale or a cladogram, inner nodes between their
// children; and the clade a click picks.

#include <gtest/gtest.h>

#include <algorithm>

#include "TreeTestSupport.h"
#include "msarender/tree/Dendrogram.h"

using treetest::Read;

namespace {
bool Has(const std::vector<QLine>& lines, QLine line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
}  // namespace

TEST(DendrogramLines, PhylogramPutsEachNodeAtItsDistanceFromTheRoot) {
    // Depths: inner 1, A 4 (the deepest: x = 100), B 2, C 3.
    const PhyloTree tree = Read("((A:3,B:1):1,C:3);");
    const std::vector<QLine> lines = DendrogramLines(tree, {10, 30, 50}, 100, TreeStyle::Phylogram);
    EXPECT_EQ(lines.size(), 6u);
    EXPECT_TRUE(Has(lines, QLine(25, 10, 100, 10)));  // A
    EXPECT_TRUE(Has(lines, QLine(25, 30, 50, 30)));   // B
    EXPECT_TRUE(Has(lines, QLine(25, 10, 25, 30)));   // the inner node joins A and B
    EXPECT_TRUE(Has(lines, QLine(0, 20, 25, 20)));    // its branch, midway between them
    EXPECT_TRUE(Has(lines, QLine(0, 50, 75, 50)));    // C
    EXPECT_TRUE(Has(lines, QLine(0, 20, 0, 50)));     // the root
}

TEST(DendrogramLines, CladogramAndTreesWithoutLengthsAlignTheLeaves) {
    const PhyloTree tree = Read("((A:3,B:1):1,C:3);");
    for (const auto& lines : {DendrogramLines(tree, {10, 30, 50}, 100, TreeStyle::Cladogram),
                              DendrogramLines(Read("((A,B),C);"), {10, 30, 50}, 100, TreeStyle::Phylogram)}) {
        EXPECT_TRUE(Has(lines, QLine(50, 10, 100, 10)));
        EXPECT_TRUE(Has(lines, QLine(50, 30, 100, 30)));
        EXPECT_TRUE(Has(lines, QLine(0, 50, 100, 50)));
        EXPECT_TRUE(Has(lines, QLine(0, 20, 50, 20)));
    }
}

TEST(DendrogramLines, NegativeLengthsCountAsNothingAndMultifurcationsSpanAllChildren) {
    const PhyloTree tree = Read("(A:-0.5,B:2,C:1,D:2);");
    const std::vector<QLine> lines = DendrogramLines(tree, {0, 10, 20, 30}, 40, TreeStyle::Phylogram);
    EXPECT_TRUE(Has(lines, QLine(0, 0, 0, 0)));  // A sits on the root
    EXPECT_TRUE(Has(lines, QLine(0, 20, 20, 20)));
    EXPECT_TRUE(Has(lines, QLine(0, 0, 0, 30)));
    EXPECT_TRUE(DendrogramLines(PhyloTree(), {}, 40, TreeStyle::Phylogram).empty());
}

TEST(DendrogramPath, HoldsEveryLineAsAMoveAndALine) {
    const QPainterPath path = DendrogramPath({QLine(0, 5, 10, 5), QLine(10, 0, 10, 9)});
    ASSERT_EQ(path.elementCount(), 4);
    EXPECT_TRUE(path.elementAt(2).isMoveTo());
    EXPECT_EQ(QPointF(path.elementAt(3)), QPointF(10, 9));
}

TEST(CladeAt, AClickOnABranchTakesTheLeavesBelowIt) {
    const PhyloTree tree = Read("((A:3,B:1):1,C:3);");
    const std::vector<int> y{10, 30, 50};
    EXPECT_EQ(CladeAt(tree, y, 100, TreeStyle::Phylogram, QPoint(10, 21), 3), (std::vector<int>{0, 1}));
    EXPECT_EQ(CladeAt(tree, y, 100, TreeStyle::Phylogram, QPoint(26, 25), 3), (std::vector<int>{0, 1}));
    EXPECT_EQ(CladeAt(tree, y, 100, TreeStyle::Phylogram, QPoint(60, 49), 3), (std::vector<int>{2}));
    EXPECT_EQ(CladeAt(tree, y, 100, TreeStyle::Phylogram, QPoint(1, 40), 3), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(CladeAt(tree, y, 100, TreeStyle::Phylogram, QPoint(90, 40), 3).empty());
}
