// Annotation rows switched from the View menu: the layout they add, what the window remembers of them and
// the status text over them.

#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>
#include <boost/pointer_cast.hpp>

#include "AlignmentView.h"
#include "HoverDescription.h"
#include "MsaviewTestSupport.h"
#include "ViewerWindow.h"

using msaviewtest::MakeAlignment;

namespace {

class AnnotationRowsTest : public msaviewtest::WindowTest {
protected:
    const RenderSequenceData& renderer() { return view().Renderer(); }
    int ContentHeight() { return renderer().GetVerticalScrollValue(); }
    // The viewport point in the middle of annotation row `index` at `column`, from the composed lines.
    std::optional<QPoint> AnnotationCell(int index, unsigned column) {
        for (const auto& [top, location] : renderer().RowLocations())
            if (location.kind == RenderSequenceData::RowLocation::kAnnotationLine &&
                location.annotation == index && column >= location.firstColumn && column < location.endColumn)
                return QPoint(view().NameColumnWidth() +
                                  cells.ColumnLeft(int(column - location.firstColumn)) +
                                  cells.CellWidth() / 2,
                              top + cells.CellHeight() / 2);
        return std::nullopt;
    }
};

TEST_F(AnnotationRowsTest, EachCheckedRowAddsItsLinesToEveryBlockAndUncheckingTakesThemAway) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 40; });
    const unsigned rows = renderer().RowsPerBlock();
    const unsigned blocks = renderer().BlockCount();
    const int height = ContentHeight();
    QAction* conservation = MenuAction("Conservation");
    ASSERT_NE(conservation, nullptr);
    conservation->trigger();
    EXPECT_TRUE(conservation->isChecked());
    EXPECT_EQ(view().Options().annotationRows, QStringList{"conservation"});
    ASSERT_EQ(renderer().AnnotationRows().size(), 1u);
    EXPECT_EQ(renderer().RowsPerBlock(), rows + 1);
    EXPECT_EQ(ContentHeight(), height + int(blocks) * cells.CellHeight());
    MenuAction("#=GC SS_cons")->trigger();
    EXPECT_EQ(view().Options().annotationRows, (QStringList{"conservation", "ss_cons"}));
    EXPECT_EQ(ContentHeight(), height + 2 * int(blocks) * cells.CellHeight());
    conservation->trigger();
    EXPECT_EQ(view().Options().annotationRows, QStringList{"ss_cons"});
    MenuAction("#=GC SS_cons")->trigger();
    EXPECT_EQ(renderer().RowsPerBlock(), rows);
    EXPECT_EQ(ContentHeight(), height);
}

// An RNA's own structure is a line under it, as a protein's is: Secondary structure shows and hides them,
// and hovering one tells a bracket's partner.
TEST_F(AnnotationRowsTest, SequenceStructuresAreLinesUnderTheirSequences) {
    Open("srp-euk.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    unsigned structures = 0;
    for (unsigned i = 0; i < model().size(); ++i)
        if (auto rna = boost::dynamic_pointer_cast<SDM::NASequence>(model().getSequence(i)))
            structures += unsigned(rna->getPairingStructures().size());
    ASSERT_GT(structures, 0u);
    for (QAction* action : window.findChildren<QAction*>()) {
        EXPECT_FALSE(action->text().startsWith("#=GR SS")) << "no row below the block for them";
        EXPECT_NE(action->text(), "Conservation") << "nucleic acids are offered none";
    }
    const unsigned rows = renderer().RowsPerBlock();
    MenuAction("Secondary structure")->trigger();
    EXPECT_EQ(renderer().RowsPerBlock() + structures, rows) << "switched off";
    MenuAction("Secondary structure")->trigger();
    ASSERT_EQ(renderer().RowsPerBlock(), rows);

    const ShownLine first = view().ShownLines().front();
    const auto rna =
        boost::dynamic_pointer_cast<SDM::NASequence>(model().getSequence(unsigned(first.sequenceIndex)));
    ASSERT_TRUE(rna && !rna->getPairingStructures().empty()) << "the first row has a structure";
    const std::string& notation = rna->getPairingStructures().begin()->second;
    const std::size_t bracket = notation.find_first_of("(<[{");
    ASSERT_LT(bracket, std::size_t(first.endColumn));
    const QPoint residue = msaviewtest::CellCentre(view(), unsigned(bracket), unsigned(first.sequenceIndex));
    const HoverTarget target = view().TargetAt(residue + QPoint(0, cells.CellHeight()));
    EXPECT_EQ(target.ssKey, rna->getPairingStructures().begin()->first);
    EXPECT_EQ(target.sequenceIndex, first.sequenceIndex);
    const QString text = DescribeHover(*view().Document(), target, view().Options());
    EXPECT_TRUE(text.contains(": paired with column ")) << text.toStdString();
}

TEST_F(AnnotationRowsTest, RowsDescribeTheSequencesShownAndFollowHidingAndShowing) {
    Open("srp-euk.sto");
    MenuAction("Occupancy")->trigger();
    ASSERT_EQ(renderer().AnnotationRows().size(), 1u);
    const std::vector<float> all = renderer().AnnotationRows()[0].heights;
    view().Document()->HideSequences({0, 1, 2});
    view().viewport()->update();
    QTest::qWait(50);
    view().repaint();
    ASSERT_EQ(renderer().AnnotationRows().size(), 1u);
    EXPECT_NE(renderer().AnnotationRows()[0].heights, all);
    view().ShowAllSequences();
    view().repaint();
    EXPECT_EQ(renderer().AnnotationRows()[0].heights, all);
}

TEST_F(AnnotationRowsTest, TheChoiceIsRememberedAndKeptForAFileThatLacksARow) {
    Open("fn3.sto");
    MenuAction("Occupancy")->trigger();
    MenuAction("#=GC seq_cons")->trigger();
    Open("globins4.sto");  // no #=GC lines: seq_cons is kept for later
    EXPECT_EQ(renderer().AnnotationRows().size(), 1u);
    MenuAction("Consensus")->trigger();
    EXPECT_EQ(view().Options().annotationRows, (QStringList{"consensus", "occupancy", "seq_cons"}));
    window.close();
    ViewerWindow next;
    EXPECT_EQ(next.View().Options().annotationRows, (QStringList{"consensus", "occupancy", "seq_cons"}));
    ASSERT_TRUE(next.OpenFile(msaviewtest::DataFile("fn3.sto")));
    EXPECT_EQ(next.View().Renderer().AnnotationRows().size(), 3u);
}

TEST_F(AnnotationRowsTest, StatusTextOverAnAnnotationRowNamesTheRowTheColumnAndItsValue) {
    // Column 1 holds residues in two of the three rows.
    view().SetDocument(std::make_unique<AlignmentDocument>(
        MakeAlignment({{"alpha", "AC-D", ""}, {"beta", "A--D", ""}, {"gamma", "ACCD", ""}})));
    SetOptions([](DisplayOptions& options) { options.annotationRows = {"consensus", "occupancy"}; });
    ASSERT_EQ(renderer().AnnotationRows().size(), 2u);
    const QString label = QString::fromStdString(renderer().AnnotationRows()[1].label);
    const std::optional<QPoint> cell = AnnotationCell(1, 1);
    ASSERT_TRUE(cell);
    QTest::mouseMove(viewport(), *cell);
    EXPECT_EQ(window.StatusText(), label + " | column 2 | 67%");
    // A row of the whole alignment holds no residue to select.
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, *cell);
    EXPECT_TRUE(model().getSelection().empty());
    QTest::mouseMove(viewport(), QPoint(2, cell->y()));
    EXPECT_EQ(window.StatusText(), label);
    const std::optional<QPoint> consensus = AnnotationCell(0, 0);
    ASSERT_TRUE(consensus);
    QTest::mouseMove(viewport(), *consensus);
    EXPECT_TRUE(window.StatusText().startsWith(QString::fromStdString(renderer().AnnotationRows()[0].label) +
                                               " | column 1 | A"))
        << window.StatusText().toStdString();
}

// GIVEN the consensus sequence (View > Consensus sequence) and the Consensus annotation row, which count
// gaps differently WHEN both are shown THEN the name column calls them by different names.
TEST_F(AnnotationRowsTest, TheConsensusSequenceAndTheConsensusRowHaveNamesOfTheirOwn) {
    Open("globins4.sto");
    SetOptions([](DisplayOptions& options) {
        options.showConsensus = true;
        options.annotationRows = {"consensus"};
    });
    QString sequenceName;
    QString rowName;
    for (const auto& [top, location] : renderer().RowLocations()) {
        QTest::mouseMove(viewport(), QPoint(2, top + cells.CellHeight() / 2));
        const int sequence = location.row >= 0 ? view().Document()->Rows().SequenceOfRow(location.row) : -1;
        if (location.kind == RenderSequenceData::RowLocation::kAnnotationLine)
            rowName = window.StatusText();
        else if (sequence >= 0 && model().getSequence(unsigned(sequence))->isTransient())
            sequenceName = window.StatusText();
    }
    EXPECT_FALSE(sequenceName.isEmpty());
    EXPECT_FALSE(rowName.isEmpty());
    EXPECT_NE(sequenceName, rowName) << sequenceName.toStdString();
}

}  // namespace
