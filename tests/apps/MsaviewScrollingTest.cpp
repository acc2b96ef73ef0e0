// Scrolling a large alignment: no frame redoes the layout pass, and drawn blocks are reused.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <chrono>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "common/PerformanceTimer.h"
#include "sqv/UserProperties.h"
#include "support/TestFont.h"

namespace {

// The layout pass, and only it, publishes the columns per block; its absence after scrolling shows that
// no frame laid the alignment out again.
bool LayoutPassRan(AlignmentDocument& document) {
    return document.Properties().HasProperty(SQC::UserProperties::WVFitToWidthValueKey);
}

class LargeAlignmentScrollingTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.setFont(testsupport::MonoFont());
        view.resize(800, 600);
        msaviewtest::ShowAndWait(view);
        view.SetDocument(std::make_unique<AlignmentDocument>(msaviewtest::MakeLargeAlignment(3000, 300)));
        ASSERT_TRUE(view.IsComposed());
    }
    void SetOptions(bool wrap, int residuesPerLine) {
        DisplayOptions options = view.Options();
        options.wrap = wrap;
        options.residuesPerLine = residuesPerLine;
        view.SetOptions(options);
        ASSERT_TRUE(LayoutPassRan(*view.Document()));
        view.Document()->Properties().RemoveProperty(SQC::UserProperties::WVFitToWidthValueKey);
    }
    // Scrolls down `frames` steps of `step` pixels; the mean milliseconds per frame.
    double ScrollDown(int frames, int step) {
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 1; frame <= frames; ++frame) view.verticalScrollBar()->setValue(frame * step);
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        return spent.count() / frames;
    }

    AlignmentView view;
};

TEST_F(LargeAlignmentScrollingTest, WrappedFitToWidthScrollsWithoutLayoutPasses) {
    SetOptions(true, DisplayOptions::kFitToWidth);
    const int step = view.CellHeight() * 7;
    const double perFrame = ScrollDown(120, step);
    EXPECT_FALSE(LayoutPassRan(*view.Document()));
    EXPECT_TRUE(view.IsResidueVisible(0, 120 * 7 - 2 - 1 + 5));
    std::printf("wrapped, fit to width: %.2f ms per frame\n", perFrame);
}

TEST_F(LargeAlignmentScrollingTest, FixedWidthAndUnwrappedViewsKeepTheirLayoutWhileScrolling) {
    SetOptions(true, 50);
    ScrollDown(60, view.CellHeight() * 9);
    view.horizontalScrollBar()->setValue(0);
    EXPECT_FALSE(LayoutPassRan(*view.Document()));

    SetOptions(false, DisplayOptions::kFitToWidth);
    ScrollDown(60, view.CellHeight() * 9);
    view.horizontalScrollBar()->setValue(view.CellWidth() * 40);
    EXPECT_FALSE(LayoutPassRan(*view.Document()));
    EXPECT_EQ(view.Renderer().TopResidueIndex(), 40u);
}

TEST_F(LargeAlignmentScrollingTest, ScrollingAwayAndBackShowsTheSameViewWithoutLayoutPasses) {
    SetOptions(true, DisplayOptions::kFitToWidth);
    const QImage first = view.Renderer().GetAlignmentPixmap()->toImage();
    const int step = view.CellHeight() * 5;
    ScrollDown(40, step);
    EXPECT_NE(view.Renderer().GetAlignmentPixmap()->toImage(), first);
    Common::PerformanceManager& timers = Common::PerformanceManager::Instance();
    timers.Reset();
    for (int frame = 39; frame >= 0; --frame) view.verticalScrollBar()->setValue(frame * step);
    EXPECT_FALSE(LayoutPassRan(*view.Document()));
    EXPECT_EQ(view.Renderer().GetAlignmentPixmap()->toImage(), first);
    const auto renders = timers.Get(L"[RenderSequenceData::Render]");
    EXPECT_EQ(renders.count, 40u) << "one Render per frame";
    std::printf("scrolling back: %llu renders, mean %.2f ms, longest %.2f ms\n",
                static_cast<unsigned long long>(renders.count),
                std::chrono::duration<double, std::milli>(renders.total).count() / double(renders.count),
                std::chrono::duration<double, std::milli>(renders.longest).count());
}

TEST_F(LargeAlignmentScrollingTest, ACurrentRowDoesNotSlowScrollingDownToLayoutPasses) {
    SetOptions(true, DisplayOptions::kFitToWidth);
    view.SetCurrentSequence(2);
    view.Document()->Properties().RemoveProperty(SQC::UserProperties::WVFitToWidthValueKey);
    const double perFrame = ScrollDown(60, view.CellHeight() * 11);
    EXPECT_FALSE(LayoutPassRan(*view.Document()));
    EXPECT_TRUE(view.IsResidueVisible(0, 60 * 11 - 2 + 3));
    std::printf("with a current row: %.2f ms per frame\n", perFrame);
}

}  // namespace
