#include <gtest/gtest.h>

#include "residue/PenCaches.h"

namespace {

TEST(PenCachesTest, OneEntryPerColourWithAStableReference) {
    const unsigned colour = 0xFF0A0B0Cu;
    const std::size_t before = PenCaches::CaretPenCount();
    const QPen* first = &PenCaches::CaretPen(colour);
    for (unsigned other = 0xFF000001u; other < 0xFF000040u; ++other) {
        PenCaches::CaretPen(other);  // grow the map around the first entry
    }
    EXPECT_EQ(first, &PenCaches::CaretPen(colour));
    EXPECT_EQ(before + 1 + 0x3F, PenCaches::CaretPenCount());
}

TEST(PenCachesTest, ThePenAndBrushCachesAreSeparate) {
    const unsigned colour = 0xFF0D0E0Fu;
    const std::size_t residuePens = PenCaches::ResiduePenCount();
    const std::size_t linePens = PenCaches::LinePenCount();
    const std::size_t brushes = PenCaches::CaretBrushCount();
    PenCaches::LinePen(colour);
    EXPECT_EQ(linePens + 1, PenCaches::LinePenCount());
    EXPECT_EQ(residuePens, PenCaches::ResiduePenCount());
    EXPECT_EQ(brushes, PenCaches::CaretBrushCount());
    PenCaches::CaretBrush(colour);
    EXPECT_EQ(brushes + 1, PenCaches::CaretBrushCount());
}

TEST(PenCachesTest, ToolsAreOpaqueOnePixelAndSolid) {
    const unsigned translucent = 0x20336699u;
    const QPen& pen = PenCaches::ResiduePen(translucent);
    EXPECT_EQ(1, pen.width());
    EXPECT_EQ(QColor(0x33, 0x66, 0x99, 0xFF), pen.color());
    const QBrush& brush = PenCaches::CaretBrush(translucent);
    EXPECT_EQ(Qt::SolidPattern, brush.style());
    EXPECT_EQ(QColor(0x33, 0x66, 0x99, 0xFF), brush.color());
}

}  // namespace
