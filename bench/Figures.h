#pragma once

#include <vector>

#include "RatioReporter.h"

// Each file registers its benchmarks and names the figures they make; main runs them in this order.
namespace bench {

void RegisterViewBenchmarks(std::vector<RatioReporter::Figure>& figures);
void RegisterLayoutBenchmarks(std::vector<RatioReporter::Figure>& figures);
void RegisterExportBenchmarks(std::vector<RatioReporter::Figure>& figures);
void RegisterGlyphCacheBenchmarks(std::vector<RatioReporter::Figure>& figures);
void RegisterPngBenchmarks(std::vector<RatioReporter::Figure>& figures);

}  // namespace bench
