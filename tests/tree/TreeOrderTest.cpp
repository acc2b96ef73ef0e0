// Rows in the tree's leaf order: leaves matched by identifier, with or without a /start-end range, and one
// warning for what the tree and the alignment do not share.

#include <gtest/gtest.h>

#include "TreeTestSupport.h"
#include "msarender/tree/Newick.h"
#include "msarender/tree/TreeOrder.h"
#include "support/AlignmentBuilder.h"

using treetest::Read;

namespace {
testsupport::BuiltAlignment Family() {
    testsupport::AlignmentBuilder builder;
    builder.Seq("alpha/1-5", "ACDEF").Seq("beta", "ACDEY").Seq("gamma/3-7", "ACDWW").Seq("delta", "AC-WW");
    return builder.Build();
}
}  // namespace

TEST(TreeOrder, RowsFollowTheLeavesMatchedWithOrWithoutRanges) {
    const auto family = Family();
    // "alpha" lacks the sequence's range, "gamma/1-9" has another one; "beta" is as in the file.
    const TreeRows rows = OrderByTree(*family.model, Read("((gamma/1-9,beta),(delta,alpha));"), {0, 1, 2, 3});
    EXPECT_EQ(rows.order, (std::vector<unsigned>{2, 1, 3, 0}));
    EXPECT_EQ(rows.leafSequences, rows.order);
    EXPECT_EQ(WriteNewick(rows.tree), "((gamma/1-9,beta),(delta,alpha));");
    EXPECT_TRUE(rows.warning.isEmpty()) << rows.warning.toStdString();
}

TEST(TreeOrder, OneWarningNamesSequencesMissingFromTheTreeAndLeavesNamingNoSequence) {
    const auto family = Family();
    const TreeRows rows = OrderByTree(*family.model, Read("((zeta,beta),(delta,eta,beta));"), {0, 1, 2, 3});
    // The tree's sequences first, the others below in the file's order; the second "beta" names none.
    EXPECT_EQ(rows.order, (std::vector<unsigned>{1, 3, 0, 2}));
    EXPECT_EQ(rows.leafSequences, (std::vector<unsigned>{1, 3}));
    EXPECT_EQ(WriteNewick(rows.tree), "(beta,delta);");
    EXPECT_EQ(rows.warning,
              "the tree and the alignment differ: 2 sequences not in the tree, drawn below it: alpha/1-5, "
              "gamma/3-7; 3 leaves naming no sequence of the alignment, left out: zeta, eta, beta");
}

TEST(TreeOrder, OnlyTheSequencesAskedForTakePart) {
    const auto family = Family();
    const TreeRows rows = OrderByTree(*family.model, Read("(alpha,(beta,delta));"), {3, 1});
    EXPECT_EQ(rows.order, (std::vector<unsigned>{1, 3}));
    EXPECT_TRUE(rows.warning.contains("1 leaf naming no sequence of the alignment, left out: alpha"));
}

TEST(TreeOrder, ABareNameSharedByTwoRangesMatchesNeither) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("kin/1-5", "ACDEF").Seq("kin/10-14", "ACDEF");
    const auto built = builder.Build();
    const TreeRows rows = OrderByTree(*built.model, Read("(kin,kin/10-14);"), {0, 1});
    EXPECT_EQ(rows.order, (std::vector<unsigned>{1, 0}));
    EXPECT_TRUE(rows.warning.contains("left out: kin")) << rows.warning.toStdString();
}
