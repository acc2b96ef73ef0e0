#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>

#include "BenchSupport.h"
#include "Figures.h"
#include "RatioReporter.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    std::vector<RatioReporter::Figure> figures;
    bench::RegisterViewBenchmarks(figures);
    bench::RegisterLayoutBenchmarks(figures);
    bench::RegisterExportBenchmarks(figures);
    bench::RegisterGlyphCacheBenchmarks(figures);
    bench::RegisterPngBenchmarks(figures);

    // Colour only on a terminal; --benchmark_color does not reach a reporter made here.
    RatioReporter reporter(std::move(figures), isatty(STDOUT_FILENO) != 0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::ReleaseSharedAlignment();
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
