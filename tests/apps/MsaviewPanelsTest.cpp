// An unwrapped view's fixed ruler above the rows and annotation panel below them: always in view, scrolling
// sideways with the residues, hit and clicked like the lines they replace; wrapped views keep them per block.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"

namespace {

class PanelsTest : public msaviewtest::WindowTest {
protected:
    void OpenUnwrapped(const QStringList& annotationRows) {
        Open("fn3.sto");
        SetOptions([&](DisplayOptions& options) {
            options.wrap = false;
            options.annotationRows = annotationRows;
        });
    }
    static QImage Grab(const QWidget& strip) { return const_cast<QWidget&>(strip).grab().toImage(); }
    static int DarkPixels(const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    }
    // Whether `moved` shows `still` shifted left by `shift` pixels over the residue area.
    bool ShiftedLeft(const QImage& still, const QImage& moved, int shift) {
        for (int y = 0; y < still.height(); ++y)
            for (int x = view().NameColumnWidth(); x + shift < still.width(); ++x)
                if (moved.pixel(x, y) != still.pixel(x + shift, y)) return false;
        return true;
    }
    QPoint ViewportPointOf(const QWidget& strip, QPoint point) {
        return viewport()->mapFrom(&view(), strip.mapTo(&view(), point));
    }
};

TEST_F(PanelsTest, RulerAndAnnotationRowsStayInViewAndScrollSidewaysWithTheRows) {
    OpenUnwrapped({"consensus", "conservation"});
    ASSERT_TRUE(view().PanelsShown());
    const QWidget& header = view().Header();
    const QWidget& footer = view().Footer();
    ASSERT_TRUE(header.isVisible());
    ASSERT_TRUE(footer.isVisible());
    EXPECT_EQ(header.height(), cells.RulerBandHeight());
    EXPECT_EQ(footer.height(), 2 * cells.CellHeight());
    EXPECT_EQ(header.geometry().bottom() + 1, viewport()->geometry().top());
    EXPECT_EQ(footer.geometry().top(), viewport()->geometry().bottom() + 1);
    // The rows are composed alone: the first line at the viewport's top is a residue line.
    EXPECT_TRUE(view().Renderer().AnnotationRows().empty());
    ASSERT_FALSE(view().ShownLines().empty());
    EXPECT_EQ(view().ShownLines().front().top, 0);

    const QImage ruler = Grab(header);
    const QImage annotations = Grab(footer);
    EXPECT_GT(DarkPixels(ruler), 0);
    EXPECT_GT(DarkPixels(annotations), 0);
    QScrollBar* vertical = view().verticalScrollBar();
    ASSERT_GT(vertical->maximum(), 0);
    vertical->setValue(vertical->maximum() / 2);
    EXPECT_EQ(Grab(header), ruler);
    EXPECT_EQ(Grab(footer), annotations);
    vertical->setValue(vertical->maximum());
    EXPECT_EQ(Grab(header), ruler);
    EXPECT_EQ(Grab(footer), annotations);

    const int shift = 7 * cells.CellWidth();
    view().horizontalScrollBar()->setValue(shift);
    EXPECT_TRUE(ShiftedLeft(ruler, Grab(header), shift));
    EXPECT_TRUE(ShiftedLeft(annotations, Grab(footer), shift));
}

TEST_F(PanelsTest, ThePanelsAreHitAndClickedAsTheLinesTheyShow) {
    OpenUnwrapped({"consensus", "conservation"});
    const QWidget& header = view().Header();
    const QWidget& footer = view().Footer();
    view().horizontalScrollBar()->setValue(3 * cells.CellWidth());
    const int x = view().NameColumnWidth() + cells.ColumnLeft(5) + cells.CellWidth() / 2;

    const HoverTarget onRuler = view().TargetAt(ViewportPointOf(header, QPoint(x, 2)));
    EXPECT_EQ(onRuler.column, 8);
    EXPECT_EQ(onRuler.annotation, nullptr);
    const HoverTarget onSecond =
        view().TargetAt(ViewportPointOf(footer, QPoint(x, cells.CellHeight() + cells.CellHeight() / 2)));
    EXPECT_EQ(onSecond.column, 8);
    ASSERT_NE(onSecond.annotation, nullptr);
    EXPECT_EQ(onSecond.annotation->label, "Conservation");
    const HoverTarget onLabel = view().TargetAt(ViewportPointOf(footer, QPoint(2, cells.CellHeight() / 2)));
    EXPECT_TRUE(onLabel.inNames);
    ASSERT_NE(onLabel.annotation, nullptr);
    EXPECT_EQ(onLabel.annotation->label, "Consensus");

    // A click on the fixed ruler selects its column in every row, as a click on a scrolling ruler did.
    QTest::mouseClick(const_cast<QWidget*>(&header), Qt::LeftButton, Qt::NoModifier, QPoint(x, 2));
    const SDM::Selection& selection = model().getSelection();
    const std::vector<unsigned> selected = selection.sequences();
    EXPECT_EQ(selected.size(), std::size_t(view().Document()->Rows().RowCount()));
    ASSERT_FALSE(selected.empty());
    const auto ranges = selection.ranges(selected.back());
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges[0].first, 8u);
    EXPECT_EQ(ranges[0].last, 8u);
}

TEST_F(PanelsTest, PicturesOfAnUnwrappedViewKeepTheRulerAndTheAnnotationRows) {
    OpenUnwrapped({"consensus"});
    view().SelectAll();
    const std::unique_ptr<QPixmap> picture = view().SelectionImage();
    ASSERT_NE(picture, nullptr);
    const int rows = view().Document()->Rows().RowCount();
    EXPECT_GE(picture->height(), cells.LineTop(rows + 1) + cells.RulerBandHeight());
}

TEST_F(PanelsTest, WrappedViewsAndViewsWithoutRulerOrRowsKeepNoPanels) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.annotationRows = {"consensus"}; });
    EXPECT_FALSE(view().PanelsShown());
    EXPECT_FALSE(view().Header().isVisible());
    EXPECT_EQ(view().Renderer().AnnotationRows().size(), 1u);
    SetOptions([](DisplayOptions& options) {
        options.wrap = false;
        options.showRuler = false;
        options.annotationRows.clear();
    });
    EXPECT_FALSE(view().PanelsShown());
    EXPECT_FALSE(view().Footer().isVisible());
    EXPECT_EQ(viewport()->geometry().top(), view().contentsRect().top());
}

// Names are measured in the font's pixels: with a proportional face a short name of wide letters is the
// widest, and the name column holds it whole.
TEST_F(PanelsTest, TheNameColumnHoldsTheWidestNameOfAProportionalFace) {
    view().SetDocument(std::make_unique<AlignmentDocument>(msaviewtest::MakeAlignment(
        {{"iiiiiiiiiiiiiiii", "ACDE", ""}, {"WWWWWWWW", "ACDE", ""}, {"llllllllllllll", "ACDE", ""}})));
    QFont proportional("DejaVu Sans");
    proportional.setPointSize(10);
    view().setFont(proportional);
    ASSERT_TRUE(view().IsComposed());
    const QFontMetrics metrics(AlignmentView::ResidueFont(proportional));
    ASSERT_GT(metrics.horizontalAdvance("WWWWWWWW"), metrics.horizontalAdvance("iiiiiiiiiiiiiiii"));
    EXPECT_GE(view().NameColumnWidth(), metrics.horizontalAdvance(" WWWWWWWW"));
}

// With the Find bar open, the last scroll position of fn3 wrapped fell on a secondary-structure line, from
// where the view starts a line early: the last row was cut.
TEST_F(PanelsTest, CtrlEndAfterTheFindBarOpensShowsTheLastResidueWhole) {
    for (bool wrap : {true, false}) {
        Open("fn3.sto");
        SetOptions([wrap](DisplayOptions& options) { options.wrap = wrap; });
        MenuAction("Find...")->trigger();
        QApplication::processEvents();
        view().setFocus();
        QTest::keyClick(&view(), Qt::Key_End, Qt::ControlModifier);
        const RowMap& rows = view().Document()->Rows();
        const unsigned last = unsigned(rows.SequenceOfRow(rows.RowCount() - 1));
        EXPECT_TRUE(view().IsResidueVisible(model().columnCount() - 1, last)) << "wrap " << wrap;
    }
}

}  // namespace
