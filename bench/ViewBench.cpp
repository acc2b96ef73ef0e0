// Figures 1 and 2: a scroll frame that keeps the layout, and a full repaint of the same view. Figures 8 and
// 9: paging through wrapped alignments of many rows, whose blocks are far taller than the view, and the
// memory the renderer's caches hold after paging through the largest of them.

#include <benchmark/benchmark.h>

#include <QPixmap>
#include <algorithm>
#include <cstdint>
#include <string>

#include "BenchSupport.h"
#include "Figures.h"
#include "HeapCounter.h"
#include "renderer/PixmapAllocation.h"
#include "renderer/RenderSequenceDataTestAccess.h"

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

// ---- Figures 8 and 9: pages of alignments whose wrapped blocks are taller than the view ----

constexpr unsigned kTallColumns = 300;
const unsigned kTallRows[] = {2000, 20000, 100000};
// Pages of one cycle, half of them before the first block boundary: more than the strip store keeps, so
// every page draws its strips, as paging through a long alignment does.
constexpr int kPagesPerCycle = 40;

// A renderer laid out once on a wrapped alignment of `rows` x 300, and the page it steps by.
struct TallView {
    BenchAlignment& alignment;
    ViewWidget device{BenchFont()};
    RenderSequenceData::RenderAspects aspects = ViewAspects();
    RenderSequenceData renderer;
    int page = 0;

    explicit TallView(unsigned rows) : alignment(SharedAlignment(rows, kTallColumns)) {
        renderer.InitializeRendering();
        ScrollTo(0);
        renderer.Render(&device, *alignment.view, aspects, false, false);
        const int cellHeight = std::max(renderer.CellFont().GetMaxHeight(), 1);
        page = (aspects.viewRect.height() / cellHeight - 1) * cellHeight;  // one line stays in view
    }
    ~TallView() { renderer.UninitializeRendering(); }

    void ScrollTo(int top) {
        renderer.TopScrollValue() = top;
        renderer.TopDrawnValue() = top;
    }
    bool Frame() { return renderer.Render(&device, *alignment.view, aspects, false, true); }
    int LastTop() const { return renderer.GetVerticalScrollValue() - aspects.viewRect.height(); }
    // Bytes of the strips and of the composed pixmaps.
    double CacheBytes() const {
        double bytes = double(renderer.StripCacheBytes());
        for (const QPixmap* pixmap : {renderer.GetAlignmentPixmap(), renderer.GetNamePixmap()})
            if (pixmap != nullptr) bytes += double(PixmapAllocation::BytesOf(*pixmap));
        return bytes;
    }
    double TableBytes() {
        double bytes = 0;
        for (const auto& row : RenderSequenceDataTestAccess(renderer).ResidueTable())
            bytes += double(row.capacity() * sizeof(SDM::Residue) + sizeof(row));
        return bytes;
    }
};

void TallPageRender(benchmark::State& state, unsigned rows) {
    TallView view(rows);
    const int first = std::max(0, view.renderer.GetResidueBlockHeight() - kPagesPerCycle / 2 * view.page);
    const int last = std::min(view.LastTop(), first + kPagesPerCycle * view.page);
    int top = first;
    int crossings = 0;
    for (auto _ : state) {
        top += view.page;
        if (top > last) top = first;
        view.ScrollTo(top);
        if (!view.Frame()) {
            state.SkipWithError("Render failed");
            break;
        }
        crossings += view.renderer.BlocksToRender() > 1 ? 1 : 0;
    }
    const QPixmap* frame = view.renderer.GetAlignmentPixmap();
    state.counters["rows"] = rows;
    state.counters["frame_px_high"] = frame != nullptr ? frame->height() : 0;
    state.counters["crossing_frames"] = crossings;
}

void TallMemory(benchmark::State& state, unsigned rows) {
    for (auto _ : state) {
        const std::int64_t heapBefore = HeapCounter::Live();
        TallView view(rows);
        const double table = view.TableBytes();
        const double firstPage = view.CacheBytes();
        const std::int64_t heapFirst = HeapCounter::Live();
        int frames = 0;
        for (int top = view.page; top <= view.LastTop() + view.page; top += view.page) {
            view.ScrollTo(std::min(top, view.LastTop()));
            if (!view.Frame()) {
                state.SkipWithError("Render failed");
                return;
            }
            ++frames;
        }
        const double afterPaging = view.CacheBytes();
        const double megabyte = 1 << 20;
        state.counters["frames"] = frames;
        state.counters["first_page_MB"] = firstPage / megabyte;
        state.counters["after_paging_MB"] = afterPaging / megabyte;
        state.counters["table_MB"] = table / megabyte;
        // The target: caches and table after paging within 2 x of them after the first page.
        state.counters["ratio"] = (afterPaging + table) / (firstPage + table);
        state.counters["caches_ratio"] = afterPaging / firstPage;
        state.counters["heap_growth_MB"] = double(HeapCounter::Live() - heapFirst) / megabyte;
        state.counters["heap_first_MB"] = double(heapFirst - heapBefore) / megabyte;
    }
}

std::string TallName(const char* figure, unsigned rows) {
    return std::string(figure) + "/" + std::to_string(rows);
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

    for (unsigned rows : kTallRows) {
        benchmark::RegisterBenchmark(TallName("TallPage/render", rows).c_str(), TallPageRender, rows)
            ->MeasureProcessCPUTime()
            ->Repetitions(repetitions)
            ->ReportAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
        figures.push_back({"8 tall page frame " + std::to_string(rows) + "x300",
                           TallName("TallPage/render", rows),
                           "ScrollFrame/baseline",
                           3.0,
                           {"frame_px_high", "crossing_frames"}});
    }
    figures.push_back({"8 tall page frame 100000 vs 2000 rows",
                       TallName("TallPage/render", 100000),
                       TallName("TallPage/render", 2000),
                       1.5,
                       {}});
    benchmark::RegisterBenchmark(TallName("TallMemory", 100000).c_str(), TallMemory, 100000u)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    figures.push_back(
        {"9 tall caches after paging 100000x300",
         TallName("TallMemory", 100000),
         "",
         0,
         {"first_page_MB", "after_paging_MB", "table_MB", "ratio", "caches_ratio", "heap_growth_MB"}});
}

}  // namespace bench
