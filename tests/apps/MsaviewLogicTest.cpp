// The viewer's model-side pieces: rows, the drag rectangle, picture ranges, Find, FASTA text, hover texts,
// options.

#include <gtest/gtest.h>

#include "AlignmentDocument.h"
#include "HoverDescription.h"
#include "MotifSearch.h"
#include "MsaviewTestSupport.h"
#include "RowMap.h"
#include "SelectionFasta.h"
#include "SelectionPicture.h"
#include "SelectionRectangle.h"
#include "formats/AlignmentReader.h"
#include "sqv/UserProperties.h"

using msaviewtest::MakeAlignment;

namespace {

boost::shared_ptr<SDM::Alignment> FourRows() {
    return MakeAlignment({{"alpha", "AC-DEFG", "HHCCSS"},
                          {"beta", "ACKDEFG", ""},
                          {"gamma", "--KDE-G", ""},
                          {"delta", "ACKDEFG", ""}});
}

TEST(RowMapTest, HiddenSequencesHaveNoRowAndLaterRowsMoveUp) {
    auto alignment = FourRows();
    alignment->getSequence(1)->setDisplayed(false);
    const RowMap rows(*alignment);
    EXPECT_EQ(rows.RowCount(), 3);
    EXPECT_EQ(rows.RowOfSequence(1), RowMap::kNone);
    EXPECT_EQ(rows.RowOfSequence(2), 1);
    EXPECT_EQ(rows.SequenceOfRow(2), 3);
    EXPECT_EQ(rows.SequenceOfRow(3), RowMap::kNone);
    EXPECT_EQ(rows.SequenceOfRow(-1), RowMap::kNone);
    EXPECT_EQ(rows.RowOfSequence(99), RowMap::kNone);
}

TEST(RowMapTest, ShownConsensusIsTheLastRow) {
    auto alignment = FourRows();
    alignment->setShowConsensus(true);
    const RowMap rows(*alignment);
    ASSERT_EQ(rows.RowCount(), 5);
    EXPECT_EQ(rows.SequenceOfRow(4), 4);
}

TEST(SelectionRectangleTest, DragUpAndLeftSelectsTheSameRectangleAsDownAndRight) {
    auto alignment = FourRows();
    const RowMap rows(*alignment);
    SelectionRectangle rectangle;
    rectangle.Start({2, 5});
    rectangle.Extend({0, 1});
    rectangle.ApplyTo(alignment->getSelection(), rows);
    EXPECT_EQ(alignment->getSelection().sequences(), (std::vector<unsigned>{0, 1, 2}));
    for (unsigned sequence = 0; sequence < 3; ++sequence) {
        const auto ranges = alignment->getSelection().ranges(sequence);
        ASSERT_EQ(ranges.size(), 1u);
        EXPECT_EQ(ranges[0].first, 1u);
        EXPECT_EQ(ranges[0].last, 5u);
    }
}

TEST(SelectionRectangleTest, RowsAreTranslatedPastHiddenSequencesAndTheOldSelectionIsReplaced) {
    auto alignment = FourRows();
    alignment->getSelection().select(3, 0, 6);
    alignment->getSequence(1)->setDisplayed(false);
    const RowMap rows(*alignment);
    SelectionRectangle rectangle;
    rectangle.Extend({0, 2});  // without an anchor, extending starts a rectangle
    rectangle.Extend({1, 3});
    rectangle.ApplyTo(alignment->getSelection(), rows);
    // Row 1 is sequence 2 now; sequence 3 lost its old selection.
    EXPECT_EQ(alignment->getSelection().sequences(), (std::vector<unsigned>{0, 2}));
    rectangle.Clear();
    rectangle.ApplyTo(alignment->getSelection(), rows);
    EXPECT_TRUE(alignment->getSelection().empty());
}

TEST(PictureRangeTest, SpansTheSelectedRowsFromTheLeftmostToTheRightmostSelectedColumn) {
    AlignmentDocument document(FourRows());
    document.Model().getSelection().select(2, 5, 6);
    document.Model().getSelection().select(0, 2, 4);
    const PictureRange range = PictureRange::OfSelection(document);
    EXPECT_EQ(range.sequenceIndexes, (std::vector<unsigned>{0, 2}));
    EXPECT_EQ(range.firstColumn, 2u);
    EXPECT_EQ(range.lastColumn, 6u);
}

TEST(PictureRangeTest, LeavesOutHiddenRowsAndCutsOffPastTheLastColumn) {
    AlignmentDocument document(FourRows());
    document.Model().getSelection().select(1, 0, 2);
    document.Model().getSelection().select(3, 5, 40);
    document.Model().getSequence(1)->setDisplayed(false);
    const PictureRange range = PictureRange::OfSelection(document);
    EXPECT_EQ(range.sequenceIndexes, (std::vector<unsigned>{3}));
    EXPECT_EQ(range.firstColumn, 5u);
    EXPECT_EQ(range.lastColumn, 6u);
    document.Model().getSelection().clear();
    EXPECT_TRUE(PictureRange::OfSelection(document).IsEmpty());
    const PictureRange all = PictureRange::OfAlignment(document);
    EXPECT_EQ(all.sequenceIndexes, (std::vector<unsigned>{0, 2, 3}));
    EXPECT_EQ(all.lastColumn, 6u);
}

TEST(MotifSearchTest, FindsAMotifAcrossGapsAndNamesTheColumnsItSpans) {
    AlignmentDocument document(FourRows());
    QString error;
    // alpha is AC-DEFG: "CD" spans the gap from column 1 to column 3.
    const std::vector<FindMatch> matches = MotifSearch::FindResidues(document, "cd", error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(matches, (std::vector<FindMatch>{{0, 1, 3}}));
    // gamma --KDE-G: "EG" closes its gap too; beta and delta have EF.
    EXPECT_EQ(MotifSearch::FindResidues(document, "E[GF]", error),
              (std::vector<FindMatch>{{0, 4, 5}, {1, 4, 5}, {2, 4, 6}, {3, 4, 5}}));
}

TEST(MotifSearchTest, PatternSyntaxHasWildcardsSetsExclusionsAndRepeats) {
    AlignmentDocument document(FourRows());
    QString error;
    EXPECT_EQ(MotifSearch::FindResidues(document, "KXE", error).size(), 3u);
    EXPECT_EQ(MotifSearch::FindResidues(document, "C[^K]", error), (std::vector<FindMatch>{{0, 1, 3}}));
    EXPECT_EQ(MotifSearch::FindResidues(document, "K-D-E", error).size(), 3u);
    EXPECT_EQ(MotifSearch::FindResidues(document, "x{7}", error).size(), 2u);  // beta and delta only
    EXPECT_TRUE(MotifSearch::FindResidues(document, "W", error).empty());
    EXPECT_TRUE(error.isEmpty());
}

TEST(MotifSearchTest, BadMotifsAreRefusedWithAReason) {
    AlignmentDocument document(FourRows());
    for (const char* motif : {"", "A(C", "[AC", "A*", "x{0}"}) {
        QString error;
        EXPECT_TRUE(MotifSearch::FindResidues(document, motif, error).empty()) << motif;
        EXPECT_FALSE(error.isEmpty()) << motif;
    }
}

TEST(MotifSearchTest, NamesMatchInAnyCaseAndHiddenSequencesAreLeftOut) {
    AlignmentDocument document(FourRows());
    document.Model().getSequence(2)->setDisplayed(false);
    EXPECT_EQ(MotifSearch::FindNames(document, "TA"), (std::vector<FindMatch>{{1, 0, 6}, {3, 0, 6}}));
    EXPECT_TRUE(MotifSearch::FindNames(document, "gamma").empty());
}

TEST(SelectionFastaTest, SelectedColumnsOfEachShownRowWithTheirGaps) {
    AlignmentDocument document(FourRows());
    document.Model().getSelection().select(0, 1, 3);
    document.Model().getSelection().select(2, 0, 2);
    EXPECT_EQ(SelectionFasta(document), ">alpha\nC-D\n>gamma\n--K\n");
    document.Model().getSequence(2)->setDisplayed(false);
    EXPECT_EQ(SelectionFasta(document), ">alpha\nC-D\n");
}

TEST(FindSequenceByNameTest, ExactNameOrTheOnlyNameStartingSoElseNone) {
    AlignmentDocument document(FourRows());
    EXPECT_EQ(document.FindSequenceByName("BETA"), 1);
    EXPECT_EQ(document.FindSequenceByName("gam"), 2);
    EXPECT_EQ(document.FindSequenceByName("zeta"), -1);
    EXPECT_EQ(document.FindSequenceByName(""), -1);
    document.Model().getSequence(2)->setDisplayed(false);
    EXPECT_EQ(document.FindSequenceByName("gamma"), -1);
}

TEST(DisplayOptionsTest, ColumnsAreNumberedFromTheRulerOrigin) {
    DisplayOptions options;
    EXPECT_EQ(options.ColumnNumber(0), 1);
    options.rulerOrigin = 7;
    EXPECT_EQ(options.ColumnNumber(6), 1);
    EXPECT_EQ(options.ColumnNumber(0), -5);
    EXPECT_EQ(options.ColumnOfNumber(options.ColumnNumber(40)), 40);
}

TEST(AlignmentDocumentTest, HiddenSequencesLeaveTheSelection) {
    AlignmentDocument document(FourRows());
    document.Model().getSelection().select(1, 0, 3);
    document.Model().getSelection().select(2, 0, 3);
    document.HideSequences({1});
    EXPECT_EQ(document.Model().getSelection().sequences(), (std::vector<unsigned>{2}));
    document.ShowAllSequences();
    EXPECT_EQ(document.Model().getSelection().sequences(), (std::vector<unsigned>{2}));
}

class HoverDescriptionTest : public ::testing::Test {
protected:
    void SetUp() override { document.View().Update(); }
    HoverTarget Residue(int sequence, int column) {
        HoverTarget target;
        target.sequenceIndex = sequence;
        target.row = document.Rows().RowOfSequence(sequence);
        target.column = column;
        return target;
    }
    AlignmentDocument document{FourRows()};
    DisplayOptions options;
};

TEST_F(HoverDescriptionTest, ResidueLineNamesTheResidueAndItsPositionInTheSequence) {
    // "--KDE-G": column 4 holds E, the third residue.
    EXPECT_EQ(DescribeHover(document, Residue(2, 4), options), "gamma | column 5 | residue E 3");
    EXPECT_EQ(DescribeHover(document, Residue(2, 5), options), "gamma | column 6 | gap");
}

TEST_F(HoverDescriptionTest, StructureLineNamesTheKeyAndTheStructureAtTheColumn) {
    // "AC-DEFG" with "HHCCSS": the structure lands on the residue columns, '-' in the gap.
    HoverTarget target = Residue(0, 4);
    target.ssKey = "SS";
    EXPECT_EQ(DescribeHover(document, target, options), "alpha | column 5 | SS: coil (C)");
    target.column = 6;
    EXPECT_EQ(DescribeHover(document, target, options), "alpha | column 7 | SS: sheet (S)");
    target.column = 2;
    EXPECT_EQ(DescribeHover(document, target, options), "alpha | column 3 | SS: gap (-)");
}

// The model folds DSSP's eight letters into helix, sheet and coil; the hover also shows what the file says.
TEST(HoverDescriptionFileLetters, StructureLineShowsTheFilesOwnLetter) {
    const Formats::ReadResult read =
        Formats::ReadAlignmentText("# STOCKHOLM 1.0\ns1 AC-DEFG\n#=GR s1 SS HH.EGTC\n//\n", "s.sto");
    ASSERT_TRUE(read.ok()) << read.error.ToString();
    AlignmentDocument document{read.alignment};
    document.View().Update();
    HoverTarget target;
    target.sequenceIndex = 0;
    target.row = document.Rows().RowOfSequence(0);
    target.ssKey = "SS";
    const DisplayOptions options;
    target.column = 3;
    EXPECT_EQ(DescribeHover(document, target, options), "s1 | column 4 | SS: sheet (S, file: E)");
    target.column = 4;
    EXPECT_EQ(DescribeHover(document, target, options), "s1 | column 5 | SS: helix (H, file: G)");
    target.column = 0;
    EXPECT_EQ(DescribeHover(document, target, options), "s1 | column 1 | SS: helix (H)")
        << "same letter, said once";
    target.column = 2;
    EXPECT_EQ(DescribeHover(document, target, options), "s1 | column 3 | SS: gap (-)");
}

TEST_F(HoverDescriptionTest, NamesRulerAndNothing) {
    HoverTarget name = Residue(3, -1);
    name.inNames = true;
    EXPECT_EQ(DescribeHover(document, name, options), "delta");
    HoverTarget ruler;
    ruler.column = 9;
    EXPECT_EQ(DescribeHover(document, ruler, options), "column 10");
    EXPECT_EQ(DescribeHover(document, HoverTarget(), options), "");
    // The position just past the last column, which the hit tests may report, names only the sequence.
    EXPECT_EQ(DescribeHover(document, Residue(1, 7), options), "beta");
}

TEST(StructureNameTest, LettersOtherThanHelixSheetAndGapAreCoil) {
    EXPECT_EQ(StructureName('H'), "helix");
    EXPECT_EQ(StructureName('S'), "sheet");
    EXPECT_EQ(StructureName('-'), "gap");
    EXPECT_EQ(StructureName('C'), "coil");
    EXPECT_EQ(StructureName('T'), "coil");
}

TEST(AlignmentDocumentTest, NewDocumentCarriesStructureColoursAndNoCurrentRow) {
    AlignmentDocument document(FourRows());
    unsigned helix = 0;
    ASSERT_TRUE(document.Properties().GetColorProperty(SQC::UserProperties::SSHelixColorKey, helix));
    EXPECT_EQ(helix, Common::Color(210, 40, 40).Packed());
    unsigned gap = 0;
    EXPECT_TRUE(document.Properties().GetColorProperty(SQC::UserProperties::SSGapColorKey, gap));
    int current = 0;
    ASSERT_TRUE(document.Properties().GetIntProperty(SQC::UserProperties::CurrSeqIndex, current));
    EXPECT_EQ(current, -1);
    EXPECT_EQ(document.CurrentRow(), -1);
}

TEST(AlignmentDocumentTest, OptionsReachTheModelOnlyWhenTheyChange) {
    AlignmentDocument document(FourRows());
    DisplayOptions options;
    options.rulerOrigin = 10;
    EXPECT_FALSE(document.ApplyOptions(options));
    int origin = -1;
    document.Properties().GetIntProperty(SQC::UserProperties::RulerDragOffset, origin);
    EXPECT_EQ(origin, 9);  // the renderer counts the origin column from 0
    options.showConsensus = true;
    EXPECT_TRUE(document.ApplyOptions(options));
    EXPECT_TRUE(document.Model().getShowConsensus());
    EXPECT_FALSE(document.ApplyOptions(options));
    options.colorScheme = "zappo";
    const auto before = document.Model().getColorScheme();
    EXPECT_TRUE(document.ApplyOptions(options));
    EXPECT_NE(document.Model().getColorScheme(), before);
}

TEST(AlignmentDocumentTest, CurrentRowFollowsHiddenSequences) {
    AlignmentDocument document(FourRows());
    document.SetCurrentSequence(2);
    EXPECT_EQ(document.CurrentRow(), 2);
    document.HideSequences({0});
    EXPECT_EQ(document.CurrentRow(), 1);
    document.HideSequences({2});
    EXPECT_EQ(document.CurrentRow(), -1);
    document.ShowAllSequences();
    EXPECT_EQ(document.Rows().RowCount(), 4);
}

TEST(AlignmentDocumentTest, LoadReportsUnreadableFiles) {
    QString error;
    EXPECT_EQ(AlignmentDocument::Load(QStringLiteral("/nonexistent/none.sto"), error), nullptr);
    EXPECT_FALSE(error.isEmpty());
    auto document = AlignmentDocument::Load(msaviewtest::DataFile("globins4.sto"), error);
    ASSERT_NE(document, nullptr) << error.toStdString();
    EXPECT_EQ(document->Model().size(), 4u);
}

}  // namespace
