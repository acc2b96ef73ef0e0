#include <gtest/gtest.h>

#include "model/AlignmentHelper.h"
#include "support/AlignmentBuilder.h"

namespace {

using Corvane::AlignmentHelper;
using testsupport::AlignmentBuilder;

constexpr unsigned kNoRow = 0xFFFFFFFFu;

// Sequences 0, 2 and 5 displayed out of 6 (1 and 4 hidden, 3 an empty entry).
testsupport::BuiltAlignment SixWithThreeShown() {
    return AlignmentBuilder()
        .Seq("s0", "MKLV")
        .Seq("s1", "MKLV")
        .Hidden()
        .Seq("s2", "MK-V")
        .EmptyEntry()
        .Seq("s4", "MKLV")
        .Hidden()
        .Seq("s5", "M--V")
        .Build();
}

TEST(AlignmentHelperRowsTest, RowListSkipsHiddenSequencesAndEmptyEntries) {
    auto built = SixWithThreeShown();
    AlignmentHelper helper(*built.view);
    EXPECT_TRUE(helper.HasRows());
    EXPECT_EQ(helper.RowCount(), 3u);
    EXPECT_EQ(helper.SequenceOfRow(0), 0);
    EXPECT_EQ(helper.SequenceOfRow(1), 2);
    EXPECT_EQ(helper.SequenceOfRow(2), 5);
    EXPECT_EQ(helper.SequenceOfRow(3), -1);
    EXPECT_EQ(helper.RowOfSequence(2), 1u);
    EXPECT_EQ(helper.RowOfSequence(3), kNoRow);
    EXPECT_EQ(helper.RowOfSequence(1), kNoRow);
    EXPECT_EQ(helper.RowOfSequence(99), kNoRow);
    EXPECT_EQ(helper.GetSequence(2)->getDefline(), "s5");
    EXPECT_FALSE(helper.GetSequence(3));
}

TEST(AlignmentHelperRowsTest, MapSequencesToRowsDropsUnshownAndKeepsOrder) {
    auto built = SixWithThreeShown();
    AlignmentHelper helper(*built.view);
    std::vector<unsigned> list{5, 3, 0};
    helper.MapSequencesToRows(list);
    EXPECT_EQ(list, (std::vector<unsigned>{2, 0}));
    std::vector<unsigned> none{1, 4, 77};
    helper.MapSequencesToRows(none);
    EXPECT_TRUE(none.empty());
}

TEST(AlignmentHelperRowsTest, RowListMatchesTheViewRows) {
    auto built = SixWithThreeShown();
    AlignmentHelper helper(*built.view);
    ASSERT_EQ(built.view->RowCount(), helper.RowCount());
    for (unsigned row = 0; row < helper.RowCount(); ++row) {
        const auto& aligned = built.view->GetAlignedSequence(row);
        EXPECT_EQ(std::string(aligned.begin(), aligned.end()), helper.GetSequence(row)->getAligned()) << row;
    }
}

TEST(AlignmentHelperRowsTest, AllSequencesHiddenGivesNoRows) {
    auto built = AlignmentBuilder().Seq("a", "MK").Hidden().Seq("b", "MK").Hidden().Build();
    AlignmentHelper helper(*built.view);
    EXPECT_FALSE(helper.HasRows());
    EXPECT_EQ(helper.RowCount(), 0u);
    EXPECT_FALSE(helper.IsInFixedBlock(0, 0));
    EXPECT_FALSE(helper.IsMasked(0, 0));
}

TEST(AlignmentHelperRowsTest, ConsensusOfASingleSequenceIsSwitchedOffForGood) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MK").Hidden().Consensus(true).Build();
    ASSERT_TRUE(built.model->getShowConsensus());
    AlignmentHelper helper(*built.view);
    EXPECT_FALSE(built.model->getShowConsensus());
    EXPECT_FALSE(helper.GetShowConsensus());
    EXPECT_EQ(helper.RowCount(), 1u) << "the consensus index no longer has a sequence";
    EXPECT_EQ(helper.SequenceOfRow(0), 0);
    AlignmentHelper again(*built.view);
    EXPECT_FALSE(built.model->getShowConsensus());
}

TEST(AlignmentHelperRowsTest, ConsensusOfTwoSequencesStaysAndGetsARow) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MR").Consensus(true).Build();
    AlignmentHelper helper(*built.view);
    EXPECT_TRUE(built.model->getShowConsensus());
    ASSERT_EQ(helper.RowCount(), 3u);
    EXPECT_TRUE(helper.GetSequence(2)->isTransient());
}

TEST(AlignmentHelperRowsTest, NoModelAnswersGuardedValues) {
    SQV::SVAlignment view{boost::shared_ptr<SDM::Alignment>()};
    AlignmentHelper helper(view);
    EXPECT_FALSE(helper.HasRows());
    EXPECT_EQ(helper.RowCount(), 0u);
    EXPECT_EQ(helper.SequenceOfRow(0), -1);
    EXPECT_EQ(helper.RowOfSequence(0), kNoRow);
    EXPECT_FALSE(helper.GetSequence(0));
    EXPECT_EQ(helper.GetMaxTotalLength(), 0u);
    EXPECT_FALSE(helper.GetShowConsensus());
    EXPECT_FALSE(helper.IsSecondaryStructureShown());
    EXPECT_FALSE(helper.IsSecondaryStructureVisible("alpha"));
    EXPECT_TRUE(helper.GetSecondaryStructureKeys().empty());
    EXPECT_FALSE(helper.IsSelected(0, 1, 0));
    EXPECT_FALSE(helper.AllSelected(0));
    EXPECT_FALSE(helper.IsInFixedBlock(0, 0));
    EXPECT_FALSE(helper.IsMasked(0, 0));
    std::vector<std::vector<SDM::Residue>> out(2);
    helper.Align(out);
    EXPECT_TRUE(out.empty());
    std::vector<unsigned> list{0, 1};
    helper.MapSequencesToRows(list);
    EXPECT_TRUE(list.empty());
    // Properties still work: the store belongs to the view, not to the model.
    EXPECT_EQ(helper.GetRulerDragOffset(), 1);
}

TEST(AlignmentHelperRowsTest, RowListIsFrozenAtConstruction) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MK").Build();
    AlignmentHelper helper(*built.view);
    built.model->getSequence(0)->setDisplayed(false);
    EXPECT_EQ(helper.RowCount(), 2u);
    EXPECT_EQ(AlignmentHelper(*built.view).RowCount(), 1u);
}

}  // namespace
