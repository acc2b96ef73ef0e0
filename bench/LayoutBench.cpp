// Figure 3: the layout pass, at four sizes, next to copying as many bytes as the residue table holds.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "BenchSupport.h"
#include "Figures.h"
#include "HeapCounter.h"
#include "renderer/RenderSequenceDataTestAccess.h"

namespace bench {

namespace {

struct Size {
    unsigned rows;
    unsigned columns;
    int iterations;  // fixed for the large sizes, where one pass takes long enough to time on its own
    std::string Name() const { return std::to_string(rows) + "x" + std::to_string(columns); }
};

// 2,000 x 5,000 and 10,000 x 10,000 have targets; the four together show how the time grows with the cells.
const Size kSizes[] = {{1000, 2500, 0}, {2000, 5000, 0}, {5000, 8000, 3}, {10000, 10000, 2}};

// Bytes of the tables a layout pass leaves: the residue table and the slot vectors of the pixmap store.
double TableBytes(RenderSequenceData& renderer) {
    const RenderSequenceDataTestAccess access(renderer);
    double bytes = 0;
    for (const auto& row : access.ResidueTable())
        bytes += double(row.capacity() * sizeof(SDM::Residue) + sizeof(row));
    for (const auto& entry : access.ResidueBlocks())
        bytes += double(entry.second.capacity() * sizeof(entry.second[0]));
    return bytes;
}

void LayoutRender(benchmark::State& state, Size size) {
    BenchAlignment& alignment = SharedAlignment(size.rows, size.columns);
    ViewWidget device(BenchFont());
    RenderSequenceData::RenderAspects aspects = ViewAspects();
    RenderSequenceData renderer;
    renderer.InitializeRendering();

    // The first pass of a fresh renderer builds every table from nothing: its peak is the tables' peak.
    HeapCounter::ResetPeak();
    const std::int64_t before = HeapCounter::Live();
    renderer.Render(&device, *alignment.view, aspects, false, false);
    const double peak = double(HeapCounter::Peak() - before);

    aspects.layoutChanged = true;  // every call below recomputes the layout
    for (auto _ : state) {
        if (!renderer.Render(&device, *alignment.view, aspects, false, false)) {
            state.SkipWithError("Render failed");
            break;
        }
    }
    const double cells = double(alignment.Cells());
    state.counters["cells"] = cells;
    state.counters["table_B_per_cell"] = TableBytes(renderer) / cells;
    state.counters["peak_B_per_cell"] = peak / cells;
    renderer.UninitializeRendering();
}

void LayoutBaseline(benchmark::State& state, Size size) {
    const std::size_t bytes = std::size_t(size.rows) * size.columns * sizeof(SDM::Residue);
    std::vector<char> source(bytes, 'A');
    std::vector<char> target(bytes, 0);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), bytes);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = double(bytes);
}

}  // namespace

void RegisterLayoutBenchmarks(std::vector<RatioReporter::Figure>& figures) {
    for (const Size& size : kSizes) {
        const std::string name = size.Name();
        auto* render =
            benchmark::RegisterBenchmark(("LayoutPass/render/" + name).c_str(), LayoutRender, size);
        auto* baseline =
            benchmark::RegisterBenchmark(("LayoutPass/baseline/" + name).c_str(), LayoutBaseline, size);
        for (auto* run : {render, baseline}) {
            run->MeasureProcessCPUTime()->Repetitions(3)->ReportAggregatesOnly(true)->Unit(
                benchmark::kMillisecond);
            if (size.iterations > 0) run->Iterations(size.iterations);
        }
        const bool targeted = (size.rows == 2000 && size.columns == 5000) || size.rows == 10000;
        figures.push_back({"3 layout pass " + name,
                           "LayoutPass/render/" + name,
                           "LayoutPass/baseline/" + name,
                           targeted ? 3.0 : 0.0,
                           {"table_B_per_cell", "peak_B_per_cell"}});
    }
}

}  // namespace bench
