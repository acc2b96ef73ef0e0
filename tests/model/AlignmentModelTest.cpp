#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "sdm/Alignment.h"
#include "support/AlignmentBuilder.h"

namespace {

using testsupport::AlignmentBuilder;

TEST(AlignmentModelTest, SizeAndSequencesCoverEmptyEntries) {
    auto built = AlignmentBuilder().Seq("a", "MK").EmptyEntry().Seq("c", "M-K").Build();
    EXPECT_EQ(built.model->size(), 3u);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "a");
    EXPECT_FALSE(built.model->getSequence(1));
    EXPECT_FALSE(built.model->getSequence(3));
    EXPECT_FALSE(built.model->getSequence(0xFFFFFFFFu));
    EXPECT_EQ(built.model->getSequence(2)->size(), 2u) << "gaps are not residues";
    EXPECT_EQ(built.model->getSeqAlign().getMaxTotalLength(), 3u);
    EXPECT_EQ(built.model->findSequence("c"), 2);
    EXPECT_EQ(built.model->findSequence("zz"), -1);
}

TEST(AlignmentModelTest, NamesShowIdentifierOrTitleLineWithResidueRanges) {
    auto built = AlignmentBuilder()
                     .Seq("FER_CAPAA", "-AS-Y")
                     .Seq("L1CAM_HUMAN/813-907", "MKV")
                     .Seq("empty", "--")
                     .Build();
    built.model->getSequence(0)->setDescription("Ferredoxin, chloroplast");
    built.model->setShowConsensus(true);

    built.model->showNames(SDM::NameStyle::Full, false);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "FER_CAPAA Ferredoxin, chloroplast");
    EXPECT_EQ(built.model->getSequence(1)->getDefline(), "L1CAM_HUMAN/813-907");

    // Ranges count residues, not columns; a name that already carries a range keeps it; no residues, no
    // range.
    built.model->showNames(SDM::NameStyle::Identifier, true);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "FER_CAPAA/1-3");
    EXPECT_EQ(built.model->getSequence(1)->getDefline(), "L1CAM_HUMAN/813-907");
    EXPECT_EQ(built.model->getSequence(2)->getDefline(), "empty");
    EXPECT_EQ(built.model->getSequence(3)->getDefline(), "Consensus sequence")
        << "the model's own rows keep their label";

    built.model->showNames(SDM::NameStyle::Full, true);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "FER_CAPAA/1-3 Ferredoxin, chloroplast");
    built.model->showNames(SDM::NameStyle::Identifier, false);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "FER_CAPAA")
        << "switching back restores the identifier";
}

// Columns 3 to 5 of "AB-CD-EF" hold C and D, the third and fourth residues.
TEST(AlignmentModelTest, RangesOfChosenColumnsNameTheResiduesShown) {
    auto built = AlignmentBuilder()
                     .Seq("plain", "AB-CD-EF")
                     .Seq("ranged/101-106", "AB-CD-EF")
                     .Seq("reverse/106-101", "AB-CD-EF")
                     .Seq("gapped", "ABC---EF")
                     .Build();
    built.model->showNames(SDM::NameStyle::Identifier, true, 2, 4);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "plain/3-4");
    EXPECT_EQ(built.model->getSequence(1)->getDefline(), "ranged/103-104");
    EXPECT_EQ(built.model->getSequence(2)->getDefline(), "reverse/104-103");
    EXPECT_EQ(built.model->getSequence(3)->getDefline(), "gapped/3-3");
    built.model->showNames(SDM::NameStyle::Identifier, true, 3, 5);
    EXPECT_EQ(built.model->getSequence(3)->getDefline(), "gapped") << "no residue shown, no range";
    built.model->showNames(SDM::NameStyle::Identifier, true, 0, 7);
    EXPECT_EQ(built.model->getSequence(0)->getDefline(), "plain/1-6") << "every column: the whole sequence";
    EXPECT_EQ(built.model->getSequence(2)->getDefline(), "reverse/106-101") << "and the file's own range";
}

TEST(AlignmentModelTest, ResiduesAreNumberedFromTheRangeEndingTheIdentifier) {
    const struct {
        const char* identifier;
        long long start;
        long long step;
    } cases[] = {
        {"Q9XYZ/101-230", 101, 1}, {"rev/50-41", 50, -1}, {"plain", 1, 1},  {"a/b/7-9", 7, 1}, {"x/7-", 1, 1},
        {"x/7-9-11", 1, 1},        {"x/-9", 1, 1},        {"x/7a-9", 1, 1}, {"/3-4", 3, 1}};
    for (const auto& c : cases) {
        const SDM::Sequence::Numbering numbering = SDM::AASequence(c.identifier, "MK").numbering();
        EXPECT_EQ(numbering.start, c.start) << c.identifier;
        EXPECT_EQ(numbering.step, c.step) << c.identifier;
    }
}

TEST(AlignmentModelTest, EmptyAlignmentAnswersNeutralValues) {
    SDM::Alignment empty;
    std::vector<unsigned> indexes{42};
    empty.getNonTransientIndexes(indexes, true);
    EXPECT_TRUE(indexes.empty());
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.getSeqAlign().getMaxTotalLength(), 0u);
    EXPECT_FALSE(empty.allSelected(0, false));
    EXPECT_FALSE(empty.isInFixedBlock(0, 0));
    EXPECT_FALSE(empty.isMasked(0, 0));
    empty.removeSequence(5);
    std::vector<std::vector<SDM::Residue>> out(3);
    EXPECT_TRUE(empty.align(out, {}));
    EXPECT_TRUE(out.empty());
}

TEST(AlignmentModelTest, ConsensusIsTheTransientLastSequence) {
    auto built = AlignmentBuilder()
                     .Seq("a", "MKA-")
                     .Seq("b", "MRA-")
                     .Seq("c", "LRC-")
                     .Seq("d", "-K")
                     .Consensus(true)
                     .Build();
    SDM::Alignment& model = *built.model;
    ASSERT_EQ(model.size(), 5u);
    auto consensus = model.getSequence(4);
    ASSERT_TRUE(consensus);
    EXPECT_TRUE(consensus->isTransient());
    EXPECT_FALSE(model.getSequence(0)->isTransient());
    // Column 1: K twice, R twice: the tie goes to the lower code. Column 3: gaps only.
    EXPECT_EQ(consensus->getAligned(), "MKA-");
    std::vector<unsigned> nonTransient;
    model.getNonTransientIndexes(nonTransient, true);
    EXPECT_EQ(nonTransient, (std::vector<unsigned>{0, 1, 2, 3}));
}

TEST(AlignmentModelTest, ConsensusFollowsChangesOfTheSequences) {
    auto built = AlignmentBuilder().Seq("a", "AC").Seq("b", "AC").Seq("c", "GT").Consensus(true).Build();
    EXPECT_EQ(built.model->getSequence(3)->getAligned(), "AC");
    built.model->getSequence(0)->setAligned("GT");
    EXPECT_EQ(built.model->getSequence(3)->getAligned(), "GT");
    built.model->setShowConsensus(false);
    EXPECT_EQ(built.model->size(), 3u);
    EXPECT_FALSE(built.model->getSequence(3));
}

TEST(AlignmentModelTest, NonTransientIndexesSkipHiddenOnlyWhenAsked) {
    auto built = AlignmentBuilder().Seq("a", "A").Seq("b", "A").Hidden().EmptyEntry().Seq("d", "A").Build();
    std::vector<unsigned> displayed;
    built.model->getNonTransientIndexes(displayed, true);
    EXPECT_EQ(displayed, (std::vector<unsigned>{0, 3}));
    std::vector<unsigned> all;
    built.model->getNonTransientIndexes(all, false);
    EXPECT_EQ(all, (std::vector<unsigned>{0, 1, 3}));
}

TEST(AlignmentModelTest, AllSelectedNeedsEveryResidueColumn) {
    auto built = AlignmentBuilder()
                     .Seq("a", "MK-LV")
                     .Seq("b", "MK-LV")
                     .Seq("c", "-----")
                     .Select(0, 0, 1)
                     .Select(0, 3, 4)  // every residue, the gap left out
                     .Select(1, 0, 3)
                     .Select(2, 0, 4)
                     .Build();
    EXPECT_TRUE(built.model->allSelected(0, false));
    EXPECT_FALSE(built.model->allSelected(0, true)) << "with gaps, column 2 is missing";
    EXPECT_FALSE(built.model->allSelected(1, false));
    EXPECT_FALSE(built.model->allSelected(2, false))
        << "a sequence without residues is never wholly selected";
    EXPECT_FALSE(built.model->allSelected(9, false));
}

TEST(AlignmentModelTest, FixedBlocksAndMasksAreAskedByViewRow) {
    // Rows: 0 -> sequence 0, 1 -> sequence 3 (sequence 1 hidden, 2 empty).
    auto built = AlignmentBuilder()
                     .Seq("a", "AAAAAA")
                     .Seq("b", "AAAAAA")
                     .Hidden()
                     .EmptyEntry()
                     .Seq("d", "AAAAAA")
                     .Mask(3, 1, 2)
                     .Mask(1, 4, 4)
                     .FixedBlock(4, 3)  // reversed bounds
                     .Build();
    const SDM::Alignment& model = *built.model;
    EXPECT_TRUE(model.isMasked(1, 1));
    EXPECT_TRUE(model.isMasked(2, 1));
    EXPECT_FALSE(model.isMasked(3, 1));
    EXPECT_FALSE(model.isMasked(1, 0));
    EXPECT_FALSE(model.isMasked(4, 0)) << "the hidden sequence's mask belongs to no row";
    EXPECT_FALSE(model.isMasked(1, 2)) << "row out of range";
    EXPECT_TRUE(model.isInFixedBlock(0, 3));
    EXPECT_TRUE(model.isInFixedBlock(1, 4));
    EXPECT_FALSE(model.isInFixedBlock(1, 2));
    EXPECT_FALSE(model.isInFixedBlock(2, 3)) << "row out of range";
}

TEST(AlignmentModelTest, StructureSwitchesDefaultToShownAndVisible) {
    SDM::Alignment model;
    EXPECT_TRUE(model.IsSecondaryStructureShown());
    EXPECT_TRUE(model.IsSecondaryStructureVisible("any"));
    model.SetSecondaryStructureVisible("alpha", false);
    EXPECT_FALSE(model.IsSecondaryStructureVisible("alpha"));
    EXPECT_TRUE(model.IsSecondaryStructureVisible("beta"));
    model.SetSecondaryStructureVisible("alpha", true);
    EXPECT_TRUE(model.IsSecondaryStructureVisible("alpha"));
    model.SetSecondaryStructureShown(false);
    EXPECT_FALSE(model.IsSecondaryStructureShown());
}

TEST(AlignmentModelTest, RevisionMovesOnEveryChangeAndOnlyThen) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MK").Build();
    SDM::Alignment& model = *built.model;
    auto last = model.revision();
    EXPECT_EQ(model.revision(), last);
    auto expectMoved = [&](const char* what) {
        EXPECT_NE(model.revision(), last) << what;
        last = model.revision();
    };
    model.getSequence(1)->setAligned("M-K");
    expectMoved("aligned text");
    model.getSequence(0)->setDisplayed(false);
    expectMoved("displayed flag");
    model.addMask(0, 0, 0);
    expectMoved("mask");
    model.addFixedBlock(0, 1);
    expectMoved("fixed block");
    model.setShowConsensus(true);
    model.getSequence(2);  // computes the consensus
    expectMoved("consensus");
    model.removeSequence(0);
    expectMoved("removal");
    // An unrelated alignment changing leaves this revision alone.
    SDM::Alignment other;
    other.addSequence(boost::make_shared<SDM::Sequence>("x", "A"));
    EXPECT_EQ(model.revision(), last);
}

TEST(AlignmentModelTest, InsertAndRemoveKeepSelectionMasksAndMarksWithTheirSequence) {
    auto built = AlignmentBuilder()
                     .Seq("a", "AAAA")
                     .Seq("b", "CCCC")
                     .Select(1, 2, 2)
                     .Mask(1, 0, 0)
                     .Style(1, 3, SDM::Bold)
                     .Build();
    SDM::Alignment& model = *built.model;
    model.insertSequence(0, boost::make_shared<SDM::AASequence>("new", "GGGG"));
    EXPECT_EQ(model.getSequence(2)->getDefline(), "b");
    EXPECT_TRUE(model.getSelection().isSelected(2, 1, 2));
    EXPECT_FALSE(model.getSelection().isSelected(2, 1, 1));
    EXPECT_TRUE(model.isMasked(0, 2));
    std::vector<std::vector<SDM::Residue>> out;
    model.align(out, {2});
    EXPECT_EQ(out[0][3].getFontStyle(), SDM::Bold);
    model.removeSequence(1);  // "a"
    EXPECT_TRUE(model.getSelection().isSelected(2, 1, 1));
    EXPECT_TRUE(model.isMasked(0, 1));
    model.insertSequence(99, boost::make_shared<SDM::AASequence>("end", "T"));
    EXPECT_EQ(model.getSequence(2)->getDefline(), "end") << "an index past the end appends";
}

}  // namespace
