// The alignment view under simulated mouse and scroll bar use, on a real alignment.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "ViewerWindow.h"
#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "sqv/UserProperties.h"
#include "support/TestFont.h"

using msaviewtest::CellCentre;
using msaviewtest::DataFile;

namespace {

class AlignmentViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.View().setFont(testsupport::MonoFont());
        window.resize(900, 600);
        msaviewtest::ShowAndWait(window);
        ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto"))) << window.LastError().toStdString();
        ASSERT_TRUE(view().IsComposed());
    }

    AlignmentView& view() { return window.View(); }
    QWidget* viewport() { return view().viewport(); }
    SDM::Alignment& model() { return view().Document()->Model(); }
    const RenderSequenceData& renderer() { return view().Renderer(); }
    int RowOf(unsigned sequence) { return view().Document()->Rows().RowOfSequence(int(sequence)); }
    std::string Name(unsigned sequence) { return model().getSequence(sequence)->getDefline(); }
    char Letter(unsigned sequence, unsigned column) {
        return model().getSequence(sequence)->getAligned()[column];
    }
    // The first column from `from` on where the sequence has a residue.
    unsigned ResidueColumn(unsigned sequence, unsigned from) {
        unsigned column = from;
        while (SQC::SequenceConstants::IsGap(Letter(sequence, column))) ++column;
        return column;
    }
    void SetOptions(const std::function<void(DisplayOptions&)>& change) {
        DisplayOptions options = view().Options();
        change(options);
        view().SetOptions(options);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mousePress(viewport(), Qt::LeftButton, modifiers, from);
        QTest::mouseMove(viewport(), to);
        QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, to);
    }
    std::vector<SDM::Selection::Range> Ranges(unsigned sequence) {
        return model().getSelection().ranges(sequence);
    }
    // Scroll range of `pixels` of hidden content: whole lines, so that the last one is shown whole.
    int WholeLines(int pixels) const {
        return pixels <= 0 ? 0 : cells.LineTop(cells.LinesIn(pixels + cells.CellHeight() - 1));
    }
    // A residue's cell as the viewport shows it, marks included.
    QImage ShownCell(unsigned column, unsigned sequence) {
        const QPoint corner = *view().ResiduePosition(column, sequence);
        return viewport()->grab().toImage().copy(cells.Cell(0, 0).translated(corner));
    }

    const CellGeometry cells{SQC::FontAttributes(testsupport::MonoFont())};
    // White below a picture's last line, for its names' descenders.
    const int kDescenderRoom = cells.CellHeight() / 2;
    ViewerWindow window;
};

TEST_F(AlignmentViewTest, OpeningAFileLaysItOutInTheViewFontAndSizesTheScrollBars) {
    EXPECT_EQ(view().CellWidth(), cells.CellWidth());
    EXPECT_EQ(view().CellHeight(), cells.CellHeight());
    const int area = viewport()->width() - view().NameColumnWidth();
    EXPECT_EQ(int(renderer().ResiduesPerBlock()), cells.ColumnsIn(area));  // wrapped, fit to width
    EXPECT_GT(view().NameColumnWidth(), renderer().GetNameViewSize().width());
    EXPECT_LE(view().NameColumnWidth(), viewport()->width() / 3 + 6);
    EXPECT_EQ(view().verticalScrollBar()->maximum(),
              WholeLines(renderer().GetVerticalScrollValue() - viewport()->height()));
    EXPECT_EQ(view().horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view().verticalScrollBar()->singleStep(), cells.CellHeight());
    ASSERT_NE(renderer().GetAlignmentPixmap(), nullptr);
    ASSERT_NE(renderer().GetNamePixmap(), nullptr);
}

TEST_F(AlignmentViewTest, ResizingLaysTheAlignmentOutForTheNewWidth) {
    const unsigned wide = renderer().ResiduesPerBlock();
    window.resize(560, 400);
    QTRY_COMPARE(viewport()->width() < 560, true);
    const int area = viewport()->width() - view().NameColumnWidth();
    EXPECT_EQ(int(renderer().ResiduesPerBlock()), cells.ColumnsIn(area));
    EXPECT_LT(renderer().ResiduesPerBlock(), wide);
    const unsigned blocks =
        (model().columnCount() + renderer().ResiduesPerBlock() - 1) / renderer().ResiduesPerBlock();
    EXPECT_EQ(renderer().BlockCount(), blocks);
    // The range ends where the content's last line is shown whole; when that position falls on a line the
    // view cannot start at (a secondary-structure line), a line or two further.
    const int end = WholeLines(renderer().GetVerticalScrollValue() - viewport()->height());
    EXPECT_GE(view().verticalScrollBar()->maximum(), end);
    EXPECT_LE(view().verticalScrollBar()->maximum(), end + 2 * cells.CellHeight());
    view().verticalScrollBar()->setValue(view().verticalScrollBar()->maximum());
    const RowMap& rows = view().Document()->Rows();
    EXPECT_TRUE(view().IsResidueVisible(model().columnCount() - 1,
                                        unsigned(rows.SequenceOfRow(rows.RowCount() - 1))));
}

TEST_F(AlignmentViewTest, ScrollingAWrappedViewDownABlockShowsTheNextColumns) {
    const unsigned perBlock = renderer().ResiduesPerBlock();
    ASSERT_GE(renderer().BlockCount(), 2u);
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
    view().verticalScrollBar()->setValue(renderer().GetResidueBlockHeight());
    EXPECT_EQ(renderer().TopResidueIndex(), perBlock);
    EXPECT_TRUE(view().IsResidueVisible(perBlock, 0));
    EXPECT_FALSE(view().ResiduePosition(0, 0).has_value());
}

TEST_F(AlignmentViewTest, ScrollingAnUnwrappedViewSidewaysMovesTheFirstColumn) {
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    ASSERT_GT(view().horizontalScrollBar()->maximum(), cells.ColumnLeft(20));
    const int hidden =
        cells.ColumnLeft(model().columnCount()) - (viewport()->width() - view().NameColumnWidth());
    EXPECT_EQ(view().horizontalScrollBar()->maximum(),
              cells.ColumnLeft(cells.ColumnsIn(hidden + cells.CellWidth() - 1)));  // whole columns
    view().horizontalScrollBar()->setValue(cells.ColumnLeft(20));
    EXPECT_EQ(renderer().TopResidueIndex(), 20u);
    EXPECT_EQ(view().ResiduePosition(20, 0)->x(), view().NameColumnWidth());
    EXPECT_FALSE(view().ResiduePosition(19, 0).has_value());
    // At the far right the last column is shown whole.
    view().horizontalScrollBar()->setValue(view().horizontalScrollBar()->maximum());
    EXPECT_TRUE(view().IsResidueVisible(model().columnCount() - 1, 0));
    // Down the rows: the first rows leave the view.
    view().verticalScrollBar()->setValue(cells.LineTop(20));
    EXPECT_FALSE(view().ResiduePosition(model().columnCount() - 1, 0).has_value());
    EXPECT_TRUE(view().IsResidueVisible(model().columnCount() - 1, 30));
}

TEST_F(AlignmentViewTest, HoveringOverAResidueTellsItsSequenceColumnAndResidue) {
    const unsigned sequence = 2;
    ASSERT_EQ(Name(sequence), "KALM_CHICK/544-641");  // its first residue is number 544
    const unsigned column = ResidueColumn(sequence, 20);
    int position = 0;
    for (unsigned c = 0; c <= column; ++c)
        position += SQC::SequenceConstants::IsGap(Letter(sequence, c)) ? 0 : 1;
    QTest::mouseMove(viewport(), CellCentre(view(), column, sequence));
    const QString expected = QStringLiteral("%1 | column %2 | residue %3 %4")
                                 .arg(QString::fromStdString(Name(sequence)))
                                 .arg(column + 1)
                                 .arg(QChar::fromLatin1(Letter(sequence, column)))
                                 .arg(543 + position);
    EXPECT_EQ(window.StatusText(), expected);

    const QPoint nameCentre(4, CellCentre(view(), column, sequence).y());
    QTest::mouseMove(viewport(), nameCentre);
    EXPECT_EQ(window.StatusText(), QString::fromStdString(Name(sequence)));
}

TEST_F(AlignmentViewTest, HoveringOverAStructureLineTellsTheStructureAtTheColumn) {
    // The first sequence with secondary structure; its cartoon line lies right below its residues.
    unsigned sequence = 0;
    while (boost::dynamic_pointer_cast<SDM::AASequence>(model().getSequence(sequence))
               ->getSecondaryStructure()
               .empty())
        ++sequence;
    const unsigned column = ResidueColumn(sequence, 10);
    unsigned residues = 0;
    for (unsigned c = 0; c <= column; ++c)
        residues += SQC::SequenceConstants::IsGap(Letter(sequence, c)) ? 0 : 1;
    const auto structure = boost::dynamic_pointer_cast<SDM::AASequence>(model().getSequence(sequence))
                               ->getSecondaryStructure("SS");
    const char letter = structure->Letters()[residues - 1];
    const char fileLetter = structure->FileLetter(residues - 1);
    const QString letters = fileLetter != letter ? QStringLiteral("%1, file: %2").arg(letter).arg(fileLetter)
                                                 : QString(QChar::fromLatin1(letter));
    QTest::mouseMove(viewport(), CellCentre(view(), column, sequence) + QPoint(0, cells.CellHeight()));
    EXPECT_EQ(window.StatusText(), QStringLiteral("%1 | column %2 | SS: %3 (%4)")
                                       .arg(QString::fromStdString(Name(sequence)))
                                       .arg(column + 1)
                                       .arg(StructureName(letter), letters));
}

TEST_F(AlignmentViewTest, DraggingSelectsTheRectangleInTheModelAndRedrawsIt) {
    const QImage before = ShownCell(12, 3);
    const QImage outside = ShownCell(20, 3);
    Drag(CellCentre(view(), 10, 1), CellCentre(view(), 14, 3));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{1, 2, 3}));
    for (unsigned sequence = 1; sequence <= 3; ++sequence) {
        ASSERT_EQ(Ranges(sequence).size(), 1u);
        EXPECT_EQ(Ranges(sequence)[0].first, 10u);
        EXPECT_EQ(Ranges(sequence)[0].last, 14u);
    }
    EXPECT_NE(ShownCell(12, 3), before) << "the selected residue was not drawn anew";
    EXPECT_EQ(ShownCell(20, 3), outside);

    // A new drag replaces the rectangle; dragging up and left works too.
    Drag(CellCentre(view(), 30, 6), CellCentre(view(), 25, 5));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{5, 6}));
    EXPECT_EQ(Ranges(5)[0].first, 25u);
    EXPECT_EQ(Ranges(5)[0].last, 30u);
    EXPECT_EQ(ShownCell(12, 3), before) << "the old selection is still drawn";
}

TEST_F(AlignmentViewTest, ShiftClickExtendsTheSelectionFromWhereItBegan) {
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 5, 4));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{4}));
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(view(), 8, 7));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{4, 5, 6, 7}));
    EXPECT_EQ(Ranges(7)[0].first, 5u);
    EXPECT_EQ(Ranges(7)[0].last, 8u);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(view(), 2, 4));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{4}));
    EXPECT_EQ(Ranges(4)[0].first, 2u);
    EXPECT_EQ(Ranges(4)[0].last, 5u);
}

TEST_F(AlignmentViewTest, ClickingANameMakesItTheCurrentRowWithoutFreezingTheView) {
    const unsigned sequence = 4;
    const QPoint residue = CellCentre(view(), 0, sequence);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(4, residue.y()));
    EXPECT_EQ(view().Document()->CurrentRow(), RowOf(sequence));
    EXPECT_EQ(view().Document()->CurrentSequence(), int(sequence));
    EXPECT_EQ(model().getSelection().sequences(), std::vector<unsigned>{sequence});  // the whole sequence

    // Scrolling still composes the newly shown part.
    const QImage top = renderer().GetAlignmentPixmap()->toImage();
    view().verticalScrollBar()->setValue(renderer().GetResidueBlockHeight());
    EXPECT_EQ(renderer().TopResidueIndex(), renderer().ResiduesPerBlock());
    EXPECT_NE(renderer().GetAlignmentPixmap()->toImage(), top);
    EXPECT_TRUE(view().IsResidueVisible(renderer().ResiduesPerBlock(), 0));
}

struct GoToCase {
    const char* mode;
    bool wrap;
    int residuesPerLine;
};

class GoToTest : public AlignmentViewTest, public ::testing::WithParamInterface<GoToCase> {};

TEST_P(GoToTest, GoToScrollsTheResidueIntoView) {
    SetOptions([](DisplayOptions& options) {
        options.wrap = GetParam().wrap;
        options.residuesPerLine = GetParam().residuesPerLine;
    });
    const unsigned last = model().size() - 1;
    const unsigned lastColumn = model().columnCount() - 1;
    const std::vector<std::pair<unsigned, unsigned>> targets{{last, lastColumn}, {50, 60},  {0, 0}, {last, 0},
                                                             {0, lastColumn},    {90, 100}, {10, 5}};
    for (const auto& [sequence, column] : targets) {
        EXPECT_TRUE(view().GoTo(sequence, column)) << sequence << "," << column;
        EXPECT_TRUE(view().IsResidueVisible(column, sequence))
            << "sequence " << sequence << " column " << column;
    }
    EXPECT_FALSE(view().GoTo(0, model().columnCount()));
    model().getSequence(3)->setDisplayed(false);
    EXPECT_FALSE(view().GoTo(3, 0));
}

INSTANTIATE_TEST_SUITE_P(Modes, GoToTest,
                         ::testing::Values(GoToCase{"WrapFitToWidth", true, DisplayOptions::kFitToWidth},
                                           GoToCase{"WrapFixed40", true, 40},
                                           GoToCase{"WrapFixed130", true, 130},
                                           GoToCase{"NoWrap", false, DisplayOptions::kFitToWidth}),
                         [](const auto& info) { return std::string(info.param.mode); });

TEST_F(AlignmentViewTest, GoToInAnUnwrappedViewRevealsAColumnJustRightOfTheView) {
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    const unsigned visibleColumns = unsigned(cells.ColumnsIn(viewport()->width() - view().NameColumnWidth()));
    for (unsigned column : {visibleColumns, visibleColumns + 2, visibleColumns + 20}) {
        view().horizontalScrollBar()->setValue(0);
        view().verticalScrollBar()->setValue(0);
        ASSERT_FALSE(view().IsResidueVisible(column, 5));
        EXPECT_TRUE(view().GoTo(5, column)) << column;
        EXPECT_TRUE(view().IsResidueVisible(column, 5)) << column;
    }
}

TEST_F(AlignmentViewTest, CopiedImageOfOneRowHasItsNameColumnsAndTheRuler) {
    Drag(CellCentre(view(), 10, 2), CellCentre(view(), 29, 2));
    ASSERT_TRUE(window.CopySelectionImage());
    const QPixmap copied = QApplication::clipboard()->pixmap();
    const int nameWidth =
        QFontMetrics(testsupport::MonoFont()).boundingRect(QString::fromStdString(" " + Name(2))).width();
    EXPECT_EQ(copied.size(),
              QSize(nameWidth + cells.ColumnLeft(20), cells.LineTop(kRulerBandRows + 1) + kDescenderRoom));
}

TEST_F(AlignmentViewTest, CopiedImageOfSeveralRowsHasTheirNamesAndIsSavedAsPng) {
    Drag(CellCentre(view(), 10, 1), CellCentre(view(), 29, 3));
    int nameWidth = 0;
    for (unsigned sequence = 1; sequence <= 3; ++sequence)
        nameWidth = std::max(nameWidth, QFontMetrics(testsupport::MonoFont())
                                            .boundingRect(QString::fromStdString(" " + Name(sequence)))
                                            .width());
    const std::unique_ptr<QPixmap> image = view().SelectionImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(),
              QSize(cells.ColumnLeft(20) + nameWidth, cells.LineTop(kRulerBandRows + 3) + kDescenderRoom));

    QTemporaryDir directory;
    const QString path = directory.filePath("selection.png");
    ASSERT_TRUE(window.SaveSelectionImage(path));
    EXPECT_EQ(QImage(path).size(), image->size());
}

TEST_F(AlignmentViewTest, NothingSelectedGivesNoImage) {
    EXPECT_EQ(view().SelectionImage(), nullptr);
    EXPECT_FALSE(window.CopySelectionImage());
    EXPECT_FALSE(window.LastError().isEmpty());
}

}  // namespace
