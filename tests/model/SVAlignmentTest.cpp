#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "sqv/SVAlignment.h"
#include "support/AlignmentBuilder.h"

namespace {

using testsupport::AlignmentBuilder;

std::string Text(const std::vector<char>& characters) {
    return std::string(characters.begin(), characters.end());
}

TEST(SVAlignmentTest, RowsAreDisplayedSequencesPaddedToTheColumnCount) {
    auto built =
        AlignmentBuilder().Seq("a", "MK").Seq("b", "MKLVA").Hidden().EmptyEntry().Seq("d", "M-K").Build();
    const SQV::SVAlignment& view = *built.view;
    ASSERT_EQ(view.RowCount(), 2u);
    EXPECT_EQ(Text(view.GetAlignedSequence(0)), "MK---") << "the hidden row still sets the column count";
    EXPECT_EQ(Text(view.GetAlignedSequence(1)), "M-K--");
    EXPECT_TRUE(view.GetAlignedSequence(2).empty());
    EXPECT_TRUE(view.GetAlignedSequence(0xFFFFFFFFu).empty());
}

TEST(SVAlignmentTest, StructureLettersGoToResidueColumns) {
    auto built = AlignmentBuilder()
                     .Seq("a", "M-KL-V")
                     .Structure("alpha", "HHSC")
                     .Structure("short", "HH")
                     .Structure("long", "HHHHH")
                     .NullStructure("none")
                     .Seq("b", "MKLVAAA")
                     .Build();
    const SQV::SVAlignment& view = *built.view;
    EXPECT_EQ(view.GetAlignedSS("alpha", 0), "H-HS-C-");
    EXPECT_TRUE(view.GetAlignedSS("short", 0).empty()) << "fewer letters than residues";
    EXPECT_TRUE(view.GetAlignedSS("long", 0).empty()) << "more letters than residues";
    EXPECT_TRUE(view.GetAlignedSS("none", 0).empty());
    EXPECT_TRUE(view.GetAlignedSS("alpha", 1).empty()) << "the key belongs to another row";
    EXPECT_TRUE(view.GetAlignedSS("alpha", 9).empty());
}

TEST(SVAlignmentTest, UpdateRebuildsOnlyAfterAChange) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MK").Build();
    SQV::SVAlignment& view = *built.view;
    EXPECT_FALSE(view.Update()) << "Build() already updated";
    built.model->getSequence(1)->setDisplayed(false);
    EXPECT_EQ(view.RowCount(), 2u) << "getters answer from the last Update";
    EXPECT_TRUE(view.Update());
    EXPECT_EQ(view.RowCount(), 1u);
    EXPECT_FALSE(view.Update());
}

TEST(SVAlignmentTest, ConsensusGetsTheLastRowAndUpdateSettles) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MR").Seq("c", "LR").Consensus(true).Build();
    SQV::SVAlignment& view = *built.view;
    ASSERT_EQ(view.RowCount(), 4u);
    EXPECT_EQ(Text(view.GetAlignedSequence(3)), "MR");
    EXPECT_FALSE(view.Update()) << "computing the consensus must not look like a new change";
}

TEST(SVAlignmentTest, WithoutAModelEverythingIsEmpty) {
    SQV::SVAlignment view{boost::shared_ptr<SDM::Alignment>()};
    EXPECT_FALSE(view.Update());
    EXPECT_EQ(view.RowCount(), 0u);
    EXPECT_TRUE(view.GetAlignedSequence(0).empty());
    EXPECT_TRUE(view.GetAlignedSS("alpha", 0).empty());

    auto built = AlignmentBuilder().Seq("a", "MK").Build();
    built.view->SetModelAlignment(boost::shared_ptr<SDM::Alignment>());
    EXPECT_EQ(built.view->RowCount(), 0u);
    built.view->SetModelAlignment(built.model);
    EXPECT_TRUE(built.view->Update()) << "a new model is always rebuilt";
    EXPECT_EQ(built.view->RowCount(), 1u);
}

}  // namespace
