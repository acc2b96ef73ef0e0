// Row orders shared by every host, and the identity they sort by, worked out by hand.
#include <gtest/gtest.h>

#include "msarender/picture/RowOrder.h"
#include "support/AlignmentBuilder.h"

namespace {

TEST(Identity, CountsOnlyColumnsWhereBothHaveResidues) {
    // Four shared columns, three the same.
    EXPECT_DOUBLE_EQ(*RowOrder::Identity("AC-DE", "AC-DF"), 75.0);
    // A gap on one side leaves its column out: the three shared columns are the same.
    EXPECT_DOUBLE_EQ(*RowOrder::Identity("ACDE", "A-DE"), 100.0);
    EXPECT_DOUBLE_EQ(*RowOrder::Identity("A.DE~", "AKD-W"), 100.0);
    // Case does not count, and a longer text's tail shares nothing.
    EXPECT_DOUBLE_EQ(*RowOrder::Identity("mkvL", "MKIlAAAA"), 75.0);
    EXPECT_DOUBLE_EQ(*RowOrder::Identity("MK", "QR"), 0.0);
}

TEST(Identity, TextsWithoutASharedResidueColumnHaveNone) {
    EXPECT_FALSE(RowOrder::Identity("AC--", "--DE").has_value());
    EXPECT_FALSE(RowOrder::Identity("", "ACDE").has_value());
    EXPECT_FALSE(RowOrder::Identity("----", "----").has_value());
}

testsupport::BuiltAlignment Rows() {
    testsupport::AlignmentBuilder builder;
    builder
        .Seq("delta", "MKVLA")     // identity to MKVLA 100, length 5
        .Seq("Beta", "MK-LQ")      // 75, 4
        .Seq("alpha", "--V--")     // 100, 1
        .Seq("beta", "QRVLA")      // 60, 5
        .Seq("gamma", "RR---")     // 0, 2
        .Seq("epsilon", "-----");  // none, 0
    return builder.Build();
}

TEST(RowOrders, ByNameIgnoresCaseAndKeepsTiesInTheOrderGiven) {
    const testsupport::BuiltAlignment built = Rows();
    const std::vector<unsigned> all = RowOrder::ModelSequences(*built.model);
    EXPECT_EQ(RowOrder::ByName(*built.model, all), (std::vector<unsigned>{2, 1, 3, 0, 5, 4}));
    // "Beta" and "beta" tie: given the other way round, they stay so.
    EXPECT_EQ(RowOrder::ByName(*built.model, {3, 1, 0}), (std::vector<unsigned>{3, 1, 0}));
}

TEST(RowOrders, ByIdentityIsHighestFirstStableOnTiesAndPutsNoOverlapLast) {
    const testsupport::BuiltAlignment built = Rows();
    const std::vector<unsigned> all = RowOrder::ModelSequences(*built.model);
    // 0 and 2 tie at 100%, 4 (0%) comes before 5, which shares no residue column with the reference.
    EXPECT_EQ(RowOrder::ByIdentity(*built.model, all, "MKVLA"), (std::vector<unsigned>{0, 2, 1, 3, 4, 5}));
    EXPECT_EQ(RowOrder::ByIdentity(*built.model, {2, 0}, "MKVLA"), (std::vector<unsigned>{2, 0}));
}

TEST(RowOrders, ByLengthCountsResiduesLongestFirstAndSortingTwiceChangesNothing) {
    const testsupport::BuiltAlignment built = Rows();
    const std::vector<unsigned> once =
        RowOrder::ByLength(*built.model, RowOrder::ModelSequences(*built.model));
    EXPECT_EQ(once, (std::vector<unsigned>{0, 3, 1, 4, 2, 5}));
    EXPECT_EQ(RowOrder::ByLength(*built.model, once), once);
}

TEST(RowOrders, SortedGoesByTheKeyAndIndexesOutsideTheModelAreDropped) {
    const testsupport::BuiltAlignment built = Rows();
    EXPECT_EQ(RowOrder::Sorted(*built.model, {4, 0, 99}, RowOrder::Key::Length, ""),
              (std::vector<unsigned>{0, 4}));
    EXPECT_EQ(RowOrder::KeyNamed(" Identity "), RowOrder::Key::Identity);
    EXPECT_EQ(RowOrder::KeyNamed("length"), RowOrder::Key::Length);
    EXPECT_FALSE(RowOrder::KeyNamed("tree-ish").has_value());
}

TEST(RowOrders, LeadingMovesOrAddsOneIndexToTheFront) {
    EXPECT_EQ(RowOrder::Leading({3, 1, 2}, 2), (std::vector<unsigned>{2, 3, 1}));
    EXPECT_EQ(RowOrder::Leading({3, 1}, 0), (std::vector<unsigned>{0, 3, 1}));
}

TEST(RowOrders, TheConsensusTextHasGapsWhereMostAreGapsOrResiduesTie) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "MKV-A").Seq("b", "mRV-C").Seq("c", "MK--G").Seq("d", "MR--T");
    const testsupport::BuiltAlignment built = builder.Build();
    // Column 2 ties K and R, column 3 is half gaps (so shown), column 4 all gaps, column 5 ties four ways.
    EXPECT_EQ(RowOrder::ConsensusText(*built.model, {0, 1, 2, 3}), "M-V--");
    // Of the sequences given only.
    EXPECT_EQ(RowOrder::ConsensusText(*built.model, {0, 2}), "MKV--");
}

}  // namespace
