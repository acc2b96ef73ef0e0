// Figure 4: CopyImageData of a whole 1,000 x 1,000 alignment, with its gaps and closed up.

#include <benchmark/benchmark.h>

#include <numeric>

#include "BenchSupport.h"
#include "Figures.h"

namespace bench {

namespace {

constexpr unsigned kSide = 1000;

// Unwrapped, so that the picture is one block of 1,000 columns: 8 x 15-pixel cells keep it within the
// renderer's limit on the pixels of one image.
struct ExportingView {
    BenchAlignment& alignment = SharedAlignment(kSide, kSide);
    ViewWidget device{BenchFont()};
    RenderSequenceData renderer;
    std::vector<unsigned> everySequence = std::vector<unsigned>(kSide);

    ExportingView() {
        std::iota(everySequence.begin(), everySequence.end(), 0u);
        RenderSequenceData::RenderAspects aspects = ViewAspects();
        aspects.wrap = false;
        renderer.InitializeRendering();
        renderer.Render(&device, *alignment.view, aspects, false, false);
    }
    ~ExportingView() { renderer.UninitializeRendering(); }

    std::unique_ptr<QPixmap> Export(bool includeGaps) {
        return std::unique_ptr<QPixmap>(renderer.CopyImageData(everySequence, {}, false, includeGaps));
    }
};

void ExportRender(benchmark::State& state, bool includeGaps) {
    ExportingView view;
    for (auto _ : state) {
        if (!view.Export(includeGaps)) {
            state.SkipWithError("CopyImageData gave no picture");
            break;
        }
    }
    state.counters["cells"] = double(includeGaps ? view.alignment.Cells() : view.alignment.residues);
}

void ExportBaseline(benchmark::State& state, bool includeGaps) {
    ExportingView view;
    const std::unique_ptr<QPixmap> picture = view.Export(includeGaps);
    if (!picture) {
        state.SkipWithError("CopyImageData gave no picture");
        return;
    }
    const SQC::FontAttributes& cell = view.renderer.CellFont();
    const long long cells =
        includeGaps ? (long long)view.alignment.Cells() : (long long)view.alignment.residues;
    const std::vector<QPixmap> glyph{ReadyGlyph()};
    for (auto _ : state)
        ComposeFromPieces(picture->size(), glyph, QSize(cell.GetMaxWidth(), cell.GetMaxHeight()), kSide,
                          cells);
}

}  // namespace

void RegisterExportBenchmarks(std::vector<RatioReporter::Figure>& figures) {
    for (const bool gaps : {true, false}) {
        const std::string name = gaps ? "with_gaps" : "without_gaps";
        for (auto* run :
             {benchmark::RegisterBenchmark(("Export/render/" + name).c_str(), ExportRender, gaps),
              benchmark::RegisterBenchmark(("Export/baseline/" + name).c_str(), ExportBaseline, gaps)})
            run->Iterations(2)->MeasureProcessCPUTime()->Repetitions(3)->ReportAggregatesOnly(true)->Unit(
                benchmark::kMillisecond);
        figures.push_back({"4 export 1000x1000 " + std::string(gaps ? "with gaps" : "without gaps"),
                           "Export/render/" + name,
                           "Export/baseline/" + name,
                           2.0,
                           {}});
    }
}

}  // namespace bench
