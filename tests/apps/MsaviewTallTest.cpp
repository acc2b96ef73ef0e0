// Paging through an alignment of two thousand rows, whose wrapped blocks are far taller than the window:
// every page is composed, no taller than the view plus a few lines, and shows the rows it scrolled to.

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTest>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "msarender/CellGeometry.h"
#include "support/TestFont.h"

namespace {

constexpr unsigned kRows = 2000;
constexpr unsigned kColumns = 749;

class TallAlignmentPagingTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        view.setFont(testsupport::MonoFont());
        view.resize(1000, 700);
        msaviewtest::ShowAndWait(view);
        view.SetDocument(
            std::make_unique<AlignmentDocument>(msaviewtest::MakeLargeAlignment(kRows, kColumns)));
        DisplayOptions options = view.Options();
        options.wrap = GetParam();
        options.residuesPerLine = DisplayOptions::kFitToWidth;
        view.SetOptions(options);
        ASSERT_TRUE(view.IsComposed());
    }

    // The page the view shows now: composed, no taller than the view plus three lines, and showing a
    // residue of the rows that the scroll position reaches a few lines below the top.
    void ExpectPageShown(int step) {
        SCOPED_TRACE("step " + std::to_string(step) + " at " +
                     std::to_string(view.verticalScrollBar()->value()));
        ASSERT_TRUE(view.IsComposed());
        const QPixmap* alignment = view.Renderer().GetAlignmentPixmap();
        ASSERT_NE(alignment, nullptr);
        const int viewHeight = view.viewport()->height();
        EXPECT_LE(alignment->height(), viewHeight + 3 * view.CellHeight());
        EXPECT_LE(view.Renderer().GetNamePixmap()->height(), viewHeight + 3 * view.CellHeight());

        // Filled to the bottom of the viewport unless the alignment ends in it.
        const int bottom = view.verticalScrollBar()->value() + viewHeight;
        if (bottom <= view.Renderer().GetVerticalScrollValue()) {
            EXPECT_GE(view.Renderer().GetSequenceViewSize().height(), viewHeight - view.CellHeight());
        }

        const CellGeometry cells(view.CellWidth(), view.CellHeight());
        const RenderSequenceData& renderer = view.Renderer();
        const std::int64_t blockRows = renderer.RowsPerBlock();
        std::int64_t gridRow = cells.LinesIn(view.verticalScrollBar()->value()) + 5;
        if (gridRow % blockRows < std::int64_t(kRulerBandRows)) gridRow += kRulerBandRows;
        const std::int64_t row = gridRow % blockRows - kRulerBandRows;
        const unsigned block = GetParam() ? unsigned(gridRow / blockRows) : 0;
        const unsigned column = GetParam() ? block * renderer.ResiduesPerBlock() : renderer.TopResidueIndex();
        if (row < 0 || row >= std::int64_t(kRows) || column >= kColumns) return;  // past the end
        ++checked;
        ASSERT_TRUE(view.IsResidueVisible(column, unsigned(row))) << "row " << row << " column " << column;
        const QPoint corner =
            *view.ResiduePosition(column, unsigned(row)) - QPoint(view.NameColumnWidth(), 0);
        const QImage image =
            alignment->copy(QRect(corner, QSize(view.CellWidth(), view.CellHeight()))).toImage();
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y)
            for (int x = 0; x < image.width() && !ink; ++x)
                ink = QColor(image.pixel(x, y)) != QColor(Qt::white);
        EXPECT_TRUE(ink) << "row " << row << " column " << column << " is blank";
    }

    AlignmentView view;
    int checked = 0;
};

TEST_P(TallAlignmentPagingTest, PageDownThroughTheWholeAlignmentAndBackShowsEveryPage) {
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 10 * bar->pageStep());
    int steps = 0;
    ExpectPageShown(steps);
    while (bar->value() < bar->maximum()) {
        const int before = bar->value();
        QTest::keyClick(&view, Qt::Key_PageDown);
        ASSERT_GT(bar->value(), before) << "Page Down did not scroll";
        ExpectPageShown(++steps);
        if (HasFatalFailure()) return;
    }
    const int pagesDown = steps;
    while (bar->value() > 0) {
        const int before = bar->value();
        QTest::keyClick(&view, Qt::Key_PageUp);
        ASSERT_LT(bar->value(), before) << "Page Up did not scroll";
        ExpectPageShown(++steps);
        if (HasFatalFailure()) return;
    }
    EXPECT_GE(steps, 2 * pagesDown - 2);
    EXPECT_GT(checked, steps / 2);
}

INSTANTIATE_TEST_SUITE_P(Modes, TallAlignmentPagingTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "WrappedFitToWidth" : "Unwrapped");
                         });

}  // namespace
