// Figure 5: the glyph cache. A hit is set beside copying the glyph it returns; a first drawing beside a hit.

#include <benchmark/benchmark.h>

#include <QPainter>

#include "BenchSupport.h"
#include "Figures.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"

namespace bench {

namespace {

// The twenty amino acids, each on a colour of its own, as a coloured alignment asks for them.
std::vector<ResidueRenderData> RowOfKeys() {
    static const char kLetters[] = "ACDEFGHIKLMNPQRSTVWY";
    std::vector<ResidueRenderData> keys;
    for (int i = 0; i < 20; ++i) {
        ResidueRenderData data;
        data.residue = kLetters[i];
        data.backgroundColour = 0xFF000000u | unsigned(0x10305 * (i + 1) * 37);
        keys.push_back(data);
    }
    return keys;
}

void GlyphCacheHit(benchmark::State& state) {
    const QFont font = BenchFont();
    const std::vector<ResidueRenderData> keys = RowOfKeys();
    ResidueFactory* glyphs = ResidueFactory::Instance();
    for (const ResidueRenderData& key : keys) glyphs->GetPixmap(key, font);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(glyphs->GetPixmap(keys[next], font));
        next = next + 1 == keys.size() ? 0 : next + 1;
    }
}

void GlyphCopy(benchmark::State& state) {
    const QPixmap glyph = ReadyGlyph();
    QPixmap strip = ReadyStrip(240);
    QPainter painter(&strip);
    int x = 0;
    for (auto _ : state) {
        painter.drawPixmap(x, 0, glyph);
        x = x + glyph.width() >= strip.width() ? 0 : x + glyph.width();
    }
}

void GlyphCreate(benchmark::State& state) {
    const QFont font = BenchFont();
    const std::vector<ResidueRenderData> keys = RowOfKeys();
    const ResidueFactory* glyphs = ResidueFactory::Instance();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(glyphs->CreatePixmap(keys[next], font));
        next = next + 1 == keys.size() ? 0 : next + 1;
    }
}

}  // namespace

void RegisterGlyphCacheBenchmarks(std::vector<RatioReporter::Figure>& figures) {
    for (auto* run : {benchmark::RegisterBenchmark("GlyphCache/hit", GlyphCacheHit),
                      benchmark::RegisterBenchmark("GlyphCache/copy_glyph", GlyphCopy),
                      benchmark::RegisterBenchmark("GlyphCache/first_drawing", GlyphCreate)})
        run->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);
    figures.push_back(
        {"5 glyph cache hit (vs copying it)", "GlyphCache/hit", "GlyphCache/copy_glyph", 0, {}});
    figures.push_back(
        {"5 first drawing of a glyph (vs hit)", "GlyphCache/first_drawing", "GlyphCache/hit", 0, {}});
}

}  // namespace bench
