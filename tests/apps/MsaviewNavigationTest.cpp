// Moving around the viewer: scroll bars that follow the content, a place kept through resizes, Go to,
// Home/End, auto-scrolling drags, zoom and the overview strip.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "OverviewStrip.h"
#include "ViewerWindow.h"
#include "msarender/FontAttributes.h"
#include "support/TestFont.h"

using msaviewtest::CellCentre;

namespace {

class NavigationTest : public msaviewtest::WindowTest {
protected:
    int LastSequence() {
        return view().Document()->Rows().SequenceOfRow(view().Document()->Rows().RowCount() - 1);
    }
    unsigned LastColumn() { return model().columnCount() - 1; }
};

TEST_F(NavigationTest, ATallFileOpensWithAVerticalScrollBar) {
    Open("fn3.sto");
    EXPECT_GT(view().verticalScrollBar()->maximum(), 0);
    // The scroll area shows its bars once the event loop turns.
    QTRY_VERIFY(view().verticalScrollBar()->isVisible());
    EXPECT_FALSE(view().horizontalScrollBar()->isVisible());  // fitted to the width: nothing to scroll
}

// As from the command line: the file is read right after the window is asked to show.
TEST(ScrollBarsTest, AFileOpenedAsTheWindowShowsGetsItsScrollBars) {
    ViewerWindow window;
    window.View().setFont(testsupport::MonoFont());
    window.show();
    ASSERT_TRUE(window.OpenFile(msaviewtest::DataFile("fn3.sto")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_GT(window.View().verticalScrollBar()->maximum(), 0);
    QTRY_VERIFY(window.View().verticalScrollBar()->isVisible());
    QTRY_VERIFY(!window.View().horizontalScrollBar()->isVisible());
}

TEST_F(NavigationTest, ScrollBarsComeAndGoWithTheContent) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    ASSERT_GT(view().horizontalScrollBar()->maximum(), 0);
    QTRY_VERIFY(view().horizontalScrollBar()->isVisible());
    view().horizontalScrollBar()->setValue(view().horizontalScrollBar()->maximum());
    SetOptions([](DisplayOptions& options) { options.wrap = true; });
    EXPECT_EQ(view().horizontalScrollBar()->maximum(), 0);
    QTRY_VERIFY(!view().horizontalScrollBar()->isVisible());
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
    // Hiding all but two rows leaves nothing to scroll down to.
    std::vector<std::array<unsigned, 3>> runs;
    for (unsigned sequence = 2; sequence < model().size(); ++sequence) runs.push_back({sequence, 0, 0});
    view().SelectRuns(runs);
    ASSERT_TRUE(view().HideChosenSequences());
    SetOptions([](DisplayOptions& options) { options.showSecondaryStructure = false; });
    EXPECT_EQ(view().verticalScrollBar()->maximum(), 0);
    QTRY_VERIFY(!view().verticalScrollBar()->isVisible());
}

TEST_F(NavigationTest, ShrinkingTheWindowToAlmostNothingAndBackKeepsThePlace) {
    Open("fn3.sto");
    ASSERT_TRUE(view().GoTo(60, 0));
    const std::vector<ShownLine> before = view().ShownLines();
    ASSERT_FALSE(before.empty());
    ASSERT_GT(view().verticalScrollBar()->value(), 0);
    window.setMinimumSize(0, 0);
    window.resize(120, 100);
    QTest::qWait(50);
    window.resize(900, 600);
    QTest::qWait(50);
    const std::vector<ShownLine> after = view().ShownLines();
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.front().sequenceIndex, before.front().sequenceIndex);
    EXPECT_EQ(after.front().firstColumn, before.front().firstColumn);
}

TEST_F(NavigationTest, GoToAnUnknownNameSaysSoAndStaysPut) {
    Open("fn3.sto");
    const int before = view().verticalScrollBar()->value();
    EXPECT_FALSE(window.GoToNamed("no-such-sequence", 5));
    EXPECT_TRUE(window.LastError().contains("no-such-sequence"));
    EXPECT_EQ(view().verticalScrollBar()->value(), before);
}

TEST_F(NavigationTest, GoToMarksTheResidueAndNumbersColumnsAsTheRuler) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.rulerOrigin = 7; });
    const QString name = view().Document()->SequenceName(70);
    ASSERT_TRUE(window.GoToNamed(name, 1));  // the ruler's 1 is column 7, index 6
    EXPECT_EQ(view().Document()->CurrentSequence(), 70);
    ASSERT_TRUE(view().IsResidueVisible(6, 70));
    const QPoint corner = *view().ResiduePosition(6, 70);
    EXPECT_EQ(Shot().pixelColor(corner + QPoint(1, view().CellHeight() / 2)), ViewMarks::kTargetFrame);
    QTest::mouseMove(viewport(), CellCentre(view(), 6, 70));
    EXPECT_TRUE(window.StatusText().contains("column 1 |")) << window.StatusText().toStdString();
}

TEST_F(NavigationTest, ControlHomeAndEndGoToTheFirstAndLastResidue) {
    Open("fn3.sto");
    QTest::keyClick(&view(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_TRUE(view().IsResidueVisible(LastColumn(), unsigned(LastSequence())));
    EXPECT_GT(view().verticalScrollBar()->value(), 0);
    QTest::keyClick(&view(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
    EXPECT_EQ(view().verticalScrollBar()->value(), 0);
}

TEST_F(NavigationTest, HomeAndEndGoAlongTheCurrentRow) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 2, 3));
    ASSERT_FALSE(view().IsResidueVisible(LastColumn(), 3));
    QTest::keyClick(&view(), Qt::Key_End);
    EXPECT_TRUE(view().IsResidueVisible(LastColumn(), 3));
    QTest::keyClick(&view(), Qt::Key_Home);
    EXPECT_TRUE(view().IsResidueVisible(0, 3));
    EXPECT_EQ(view().horizontalScrollBar()->value(), 0);
}

TEST_F(NavigationTest, DraggingPastTheBottomScrollsAndExtendsTheSelection) {
    Open("fn3.sto");
    const QPoint start = CellCentre(view(), 5, 2);
    QTest::mousePress(viewport(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(viewport(), QPoint(start.x(), viewport()->height() + 20));
    QTest::qWait(400);
    const int scrolled = view().verticalScrollBar()->value();
    QTest::mouseRelease(viewport(), Qt::LeftButton, Qt::NoModifier,
                        QPoint(start.x(), viewport()->height() + 20));
    EXPECT_GT(scrolled, 0);
    const std::vector<unsigned> selected = model().getSelection().sequences();
    ASSERT_FALSE(selected.empty());
    // The selection reaches the rows that scrolled in at the bottom.
    EXPECT_EQ(selected.back(), unsigned(view().ShownLines().back().sequenceIndex));
    QTest::qWait(200);
    EXPECT_EQ(view().verticalScrollBar()->value(), scrolled) << "it went on scrolling after the release";
}

TEST_F(NavigationTest, ZoomStepsTheFontWithinItsLimits) {
    Open("globins4.sto");
    const int size = view().font().pointSize();
    ASSERT_TRUE(view().Zoom(1));
    EXPECT_EQ(view().font().pointSize(), size + 1);
    while (view().Zoom(5)) {
    }
    EXPECT_EQ(view().font().pointSize(), AlignmentView::kMaxPointSize);
    EXPECT_TRUE(view().IsComposed());
    while (view().Zoom(-5)) {
    }
    EXPECT_EQ(view().font().pointSize(), AlignmentView::kMinPointSize);
    EXPECT_FALSE(view().Zoom(-1));
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
}

TEST_F(NavigationTest, ControlWheelZoomsAndAPlainWheelScrolls) {
    Open("fn3.sto");
    const int size = view().font().pointSize();
    const QPoint at = CellCentre(view(), 3, 3);
    QWheelEvent zoomIn(at, viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                       Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport(), &zoomIn);
    EXPECT_EQ(view().font().pointSize(), size + 1);
    EXPECT_EQ(view().CellHeight(), SQC::FontAttributes(view().font()).GetMaxHeight());
    QWheelEvent scroll(at, viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport(), &scroll);
    EXPECT_EQ(view().font().pointSize(), size + 1);
    EXPECT_GT(view().verticalScrollBar()->value(), 0);
}

TEST_F(NavigationTest, TheOverviewFramesTheViewAndJumpsWhereClicked) {
    Open("fn3.sto");
    OverviewStrip& overview = window.Overview();
    ASSERT_TRUE(overview.isVisible());
    ASSERT_FALSE(overview.ViewFrames().empty());
    EXPECT_EQ(overview.ViewFrames().front().top(), 0);
    EXPECT_FALSE(overview.Picture().isNull());
    const QPoint bottomRight(overview.width() - 1, overview.height() - 1);
    const QPoint place = overview.PlaceAt(bottomRight);
    const int rows = view().Document()->Rows().RowCount();
    EXPECT_GE(place.y(), rows - rows / overview.height() - 1);
    EXPECT_EQ(place.x(), int(LastColumn()));
    QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier, bottomRight);
    const int sequence = view().Document()->Rows().SequenceOfRow(place.y());
    EXPECT_TRUE(view().IsResidueVisible(unsigned(place.x()), unsigned(sequence)));
    EXPECT_GT(overview.ViewFrames().back().bottom(), overview.height() / 2);
}

// The view's frame in the overview, and how wide a column and how high a row are there.
struct OverviewFrame {
    QRect frame;
    double columnWidth = 0;
    double rowHeight = 0;
};

class OverviewTest : public NavigationTest {
protected:
    void SetUp() override {
        NavigationTest::SetUp();
        Open("fn3.sto");
        SetOptions([](DisplayOptions& options) {
            options.wrap = false;
            options.showSecondaryStructure = false;
        });
    }
    OverviewFrame Frame() {
        OverviewStrip& overview = window.Overview();
        const std::vector<QRect> frames = overview.ViewFrames();
        EXPECT_EQ(frames.size(), 1u);
        return {frames.empty() ? QRect() : frames.front(), double(overview.width()) / model().columnCount(),
                double(overview.height()) / view().Document()->Rows().RowCount()};
    }
    // A point where the frame's middle can go: half a frame from the strip's edges, `share` of the way.
    QPoint Reachable(double shareAcross, double shareDown) {
        const QSize frame = Frame().frame.size();
        const QSize strip = window.Overview().size();
        return QPoint(int(frame.width() / 2 + shareAcross * (strip.width() - frame.width())),
                      int(frame.height() / 2 + shareDown * (strip.height() - frame.height())));
    }
    // The frame counts a column shown in part, and the view shows whole lines: within 1.5 columns and two
    // rows of the point.
    void ExpectFrameAt(QPoint point) {
        const OverviewFrame now = Frame();
        EXPECT_LE(std::abs(now.frame.center().x() - point.x()), 1.5 * now.columnWidth + 1)
            << now.frame.center().x();
        EXPECT_LE(std::abs(now.frame.center().y() - point.y()), 2 * now.rowHeight + 1)
            << now.frame.center().y();
    }
};

TEST_F(OverviewTest, AClickInsideTheFrameCentresTheViewThere) {
    OverviewStrip& overview = window.Overview();
    const QRect start = Frame().frame;
    const QPoint inside = Reachable(0.5, 0.1);
    ASSERT_TRUE(start.contains(inside)) << "the view shows too much of the alignment for this test";
    ASSERT_GT((inside - start.center()).manhattanLength(), 4);
    QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier, inside);
    ExpectFrameAt(inside);
    const QPoint outside = Reachable(0.9, 0.8);
    QTest::mouseClick(&overview, Qt::LeftButton, Qt::NoModifier, outside);
    ExpectFrameAt(outside);
}

TEST_F(OverviewTest, ADragCarriesTheFrameAsFarAsThePointer) {
    OverviewStrip& overview = window.Overview();
    const QPoint from = Reachable(0.2, 0.2);
    QTest::mousePress(&overview, Qt::LeftButton, Qt::NoModifier, from);
    ExpectFrameAt(from);
    const QPoint to = Reachable(0.8, 0.7);
    QMouseEvent move(QEvent::MouseMove, to, overview.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&overview, &move);
    ExpectFrameAt(to);
    QTest::mouseRelease(&overview, Qt::LeftButton, Qt::NoModifier, to);
}

TEST_F(NavigationTest, GoToCentresTheResidue) {
    Open("fn3.sto");
    for (const bool wrap : {false, true}) {
        SetOptions([wrap](DisplayOptions& options) { options.wrap = wrap; });
        const unsigned sequence = 50;
        const unsigned column = 60;
        ASSERT_TRUE(window.GoToNamed(view().Document()->SequenceName(int(sequence)), int(column) + 1));
        const QPoint cell = CellCentre(view(), column, sequence);
        const QPoint middle((view().NameColumnWidth() + viewport()->width()) / 2, viewport()->height() / 2);
        EXPECT_LE(std::abs(cell.x() - middle.x()), wrap ? viewport()->width() : view().CellWidth()) << wrap;
        EXPECT_LE(std::abs(cell.y() - middle.y()), 2 * view().CellHeight()) << wrap;
    }
}

}  // namespace
