// Figures 1 and 2: a scroll frame that keeps the layout, and a full repaint of the same view.

#include <benchmark/benchmark.h>

#include <QPixmap>

#include "BenchSupport.h"
#include "Figures.h"

namespace bench {

namespace {

constexpr unsigned kRows = 2000;
constexpr unsigned kColumns = 5000;

// A renderer that has laid out the view once, as a host has after its first paint.
struct LaidOutView {
    BenchAlignment& alignment = SharedAlignment(kRows, kColumns);
    ViewWidget device{BenchFont()};
    RenderSequenceData::RenderAspects aspects = ViewAspects();
    RenderSequenceData renderer;
    int cellWidth = 0;
    int cellHeight = 0;

    explicit LaidOutView(int top = 0) {
        renderer.InitializeRendering();
        ScrollTo(top);
        renderer.Render(&device, *alignment.view, aspects, false, false);
        cellWidth = renderer.CellFont().GetMaxWidth();
        cellHeight = renderer.CellFont().GetMaxHeight();
    }
    ~LaidOutView() { renderer.UninitializeRendering(); }

    void ScrollTo(int top) {
        renderer.TopScrollValue() = top;
        renderer.TopDrawnValue() = top;
    }
    bool Frame(bool redrawResidues) {
        return renderer.Render(&device, *alignment.view, aspects, redrawResidues, false);
    }
    QSize FrameSize() const {
        const QPixmap* frame = renderer.GetAlignmentPixmap();
        return frame ? frame->size() : QSize();
    }
    int FrameGridRows() const { return (FrameSize().height() + cellHeight - 1) / cellHeight; }
    // The top of the view somewhere in the middle of the alignment, where every grid row shows residues.
    int MiddleTop() const { return int(renderer.RowsPerBlock()) * cellHeight * 5 + 700 * cellHeight; }
};

void ScrollFrameRender(benchmark::State& state) {
    LaidOutView view;
    const int lastTop = view.renderer.GetVerticalScrollValue() - view.aspects.viewRect.height();
    int top = 0;
    for (auto _ : state) {
        top += view.cellHeight;  // one grid row per frame
        if (top > lastTop) top = 0;
        view.ScrollTo(top);
        if (!view.Frame(false)) {
            state.SkipWithError("Render failed");
            break;
        }
    }
    state.counters["grid_rows"] = view.FrameGridRows();
}

void ScrollFrameBaseline(benchmark::State& state) {
    const LaidOutView view;
    const int rows = view.FrameGridRows();
    std::vector<QPixmap> strips;
    for (int row = 0; row < rows; ++row) strips.push_back(ReadyStrip(int(view.renderer.ResiduesPerBlock())));
    for (auto _ : state)
        ComposeFromPieces(view.FrameSize(), strips, QSize(view.FrameSize().width(), view.cellHeight), 1,
                          rows);
}

void FullRepaintRender(benchmark::State& state) {
    LaidOutView view;
    view.ScrollTo(view.MiddleTop());
    view.Frame(false);
    for (auto _ : state) {
        if (!view.Frame(true)) {
            state.SkipWithError("Render failed");
            break;
        }
    }
    state.counters["cells"] = double(view.FrameGridRows()) * view.renderer.ResiduesPerBlock();
}

void FullRepaintBaseline(benchmark::State& state) {
    LaidOutView view;
    view.ScrollTo(view.MiddleTop());
    view.Frame(false);
    const long long perLine = view.renderer.ResiduesPerBlock();
    const long long cells = perLine * view.FrameGridRows();
    const std::vector<QPixmap> glyph{ReadyGlyph()};
    for (auto _ : state)
        ComposeFromPieces(view.FrameSize(), glyph, QSize(view.cellWidth, view.cellHeight), perLine, cells);
}

}  // namespace

void RegisterViewBenchmarks(std::vector<RatioReporter::Figure>& figures) {
    const int repetitions = 5;
    benchmark::RegisterBenchmark("ScrollFrame/render", ScrollFrameRender)
        ->MeasureProcessCPUTime()
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("ScrollFrame/baseline", ScrollFrameBaseline)
        ->MeasureProcessCPUTime()
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("FullRepaint/render", FullRepaintRender)
        ->MeasureProcessCPUTime()
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("FullRepaint/baseline", FullRepaintBaseline)
        ->MeasureProcessCPUTime()
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
    figures.push_back(
        {"1 scroll frame 2000x5000", "ScrollFrame/render", "ScrollFrame/baseline", 3.0, {"grid_rows"}});
    figures.push_back(
        {"2 full repaint 2000x5000", "FullRepaint/render", "FullRepaint/baseline", 1.5, {"cells"}});
}

}  // namespace bench
