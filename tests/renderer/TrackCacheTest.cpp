#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>

#include "model/AlignmentHelper.h"
#include "renderer/RenderSequenceDataTestAccess.h"
#include "renderer/RendererFixture.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

using namespace renderertest;
using testsupport::AlignmentBuilder;
using testsupport::BuiltAlignment;

namespace {

using Access = RenderSequenceDataTestAccess;

const QColor kRulerBackground = QColor::fromRgba(0xFFEDEDE1u);
const QColor kMarker(255, 0, 255);

bool RegionHasColourOtherThan(const QImage& image, const QRect& region, const QColor& colour) {
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (QColor(image.pixel(x, y)) != colour) return true;
    return false;
}

class TrackCacheTest : public RendererFixture {
protected:
    static BuiltAlignment TwoKeyAlignment() {
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Seq("first", Letters(60)).Structure("alpha", std::string(30, 'H') + std::string(30, 'C'));
        builder.Structure("beta", std::string(10, 'S') + std::string(50, 'C'));
        builder.Seq("plain", Letters(60, 1));
        builder.Seq("third", "HHHHHH--SS" + Letters(50, 2)).Structure("beta", std::string(58, 'S'));
        return builder.Build();
    }
};

// ---- Ruler bands
// --------------------------------------------------------------------------------------------

TEST_F(TrackCacheTest, EachRenderedBlockGetsItsOwnBand) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(100)).Seq("b", Letters(100, 1));
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    ASSERT_EQ(access.RulerBlocks().size(), 3u);
    for (unsigned block = 0; block < 3; ++block) {
        const QPixmap* band = access.RulerBand(block);
        ASSERT_NE(band, nullptr) << block;
        EXPECT_EQ(band->size(), QSize(cells.ColumnLeft(40 + 5), cells.RulerBandHeight())) << block;
        EXPECT_EQ(QColor(PixelAt(*band, cells.ColumnLeft(42), cells.CellHeight())), kRulerBackground)
            << block;  // the margin
        EXPECT_EQ(access.RulerBlocks()[block].firstColumn, block * 40);
    }
    EXPECT_NE(access.RulerBand(0), access.RulerBand(1));
}

TEST_F(TrackCacheTest, BandsFollowTheRulerSwitchAndAreRepaintedWhenTheLayoutIsKept) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(100));
    BuiltAlignment alignment = builder.Build();
    auto aspects = AspectsOfCells(40, 20, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const qint64 shown = KeyOf(access.RulerBand(0));

    aspects.showRuler = false;
    ASSERT_TRUE(RenderWith(alignment, aspects));  // layout kept: bands are dropped and painted anew
    const QPixmap* hidden = access.RulerBand(0);
    ASSERT_NE(hidden, nullptr);
    EXPECT_NE(KeyOf(hidden), shown);
    EXPECT_EQ(QColor(PixelAt(*hidden, cells.ColumnLeft(42), cells.CellHeight())), QColor(Qt::white));
}

TEST_F(TrackCacheTest, RulerListGrowsOnlyToTheBlockAfterTheLast) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(100));
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    const Corvane::AlignmentHelper helper(*alignment.view);
    access.RenderRulerBase(helper, 120, 3);
    EXPECT_EQ(access.RulerBlocks().size(), 4u);
    EXPECT_NE(access.RulerBand(3), nullptr);
    access.RenderRulerBase(helper, 4000000000u, 100000000u);
    EXPECT_EQ(access.RulerBlocks().size(), 4u);
}

TEST_F(TrackCacheTest, ExportedBandIsDrawnWhereAsked) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(100));
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    const Corvane::AlignmentHelper helper(*alignment.view);

    QImage image(cells.ColumnLeft(30), cells.LineTop(6), QImage::Format_ARGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    access.CopyRulerPixmap(helper, painter, 10, cells.ColumnLeft(3), cells.CellHeight(), 0);
    painter.end();
    // Its 10 columns and not the band pixmap's margin: a picture's band stops at its last column.
    const QRect band(cells.ColumnLeft(3), cells.CellHeight(), cells.ColumnLeft(10), cells.RulerBandHeight());
    EXPECT_EQ(QColor(image.pixel(band.right(), band.top() + cells.CellHeight())), kRulerBackground);
    EXPECT_EQ(QColor(image.pixel(band.right() + 1, band.top() + cells.CellHeight())), kMarker);
    EXPECT_EQ(QColor(image.pixel(band.left() - 1, band.top() + cells.CellHeight())), kMarker);
    EXPECT_EQ(QColor(image.pixel(band.left() + cells.CellWidth(), band.bottom() + 1)), kMarker);
}

// ---- Secondary-structure lines
// ------------------------------------------------------------------------------

TEST_F(TrackCacheTest, CartoonLinesAreCachedPerKeyBlockAndRow) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    ASSERT_EQ(access.BlockCount(), 2u);

    for (unsigned block = 0; block < 2; ++block) {
        const int columns = block == 0 ? 40 : 20;
        for (const char* key : {"alpha", "beta"}) {
            const QPixmap* line = access.CartoonStrip(key, block, 0);
            ASSERT_NE(line, nullptr) << key << " block " << block;
            EXPECT_EQ(line->size(), QSize(cells.ColumnLeft(columns), cells.CellHeight())) << key;
        }
        EXPECT_EQ(access.CartoonStrip("alpha", block, 1), nullptr);  // no structure
        EXPECT_EQ(access.CartoonStrip("beta", block, 1), nullptr);
        EXPECT_EQ(access.CartoonStrip("alpha", block, 2), nullptr);  // only beta
        EXPECT_NE(access.CartoonStrip("beta", block, 2), nullptr);
    }
    // The helix half of alpha is painted differently from its coil half.
    const QImage alpha = access.CartoonStrip("alpha", 0, 0)->toImage();
    const QImage helix = alpha.copy(0, 0, cells.CellWidth(), cells.CellHeight());
    EXPECT_EQ(helix, alpha.copy(cells.CellWidth(), 0, cells.CellWidth(), cells.CellHeight()));
    EXPECT_NE(
        helix,
        access.CartoonStrip("alpha", 1, 0)->toImage().copy(0, 0, cells.CellWidth(), cells.CellHeight()));
}

TEST_F(TrackCacheTest, CartoonLinesAreRepaintedWheneverTheirBlockIsDrawn) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40, true, RenderSequenceData::RenderAspects::kFitToWidth);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const qint64 line = KeyOf(access.CartoonStrip("alpha", 0, 0));
    const qint64 strip = KeyOf(access.ResidueStrip(0, 0));
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(KeyOf(access.ResidueStrip(0, 0)), strip);
    EXPECT_NE(KeyOf(access.CartoonStrip("alpha", 0, 0)), line);
    EXPECT_NE(KeyOf(access.CartoonStrip("alpha", 0, 0)), 0);
}

TEST_F(TrackCacheTest, CartoonForUnknownKeysOrRowsIsIgnored) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    access.RenderSSCartoonBase(0, 0, "gamma", "HHHH");
    EXPECT_EQ(access.CartoonBlocks().count("gamma"), 0u);
    access.RenderSSCartoonBase(99, 0, "alpha", "HHHH");
    access.RenderSSCartoonBase(0, 1000000, "alpha", "HHHH");
    EXPECT_EQ(access.CartoonBlocks().at("alpha").size(), 2u);
    access.RenderSSCartoonBase(1, 1, "alpha", "HHHH");
    ASSERT_NE(access.CartoonStrip("alpha", 1, 1), nullptr);
    EXPECT_EQ(access.CartoonStrip("alpha", 1, 1)->width(), cells.ColumnLeft(4));
}

// GIVEN a row with two keys, exported from its residue line at y
TEST_F(TrackCacheTest, ExportDrawsOneLabelledLinePerKeyBelowTheRow) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const Corvane::AlignmentHelper helper(*alignment.view);

    const int x = cells.ColumnLeft(20);  // cartoons right of the label column
    QImage image(x + cells.ColumnLeft(20), cells.LineTop(8), QImage::Format_ARGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    int y = cells.CellHeight();
    access.CopySSCartoonPixmap(helper, painter, 0, x, y, 0, 12, true);
    painter.end();

    EXPECT_EQ(y, cells.LineTop(3));  // the top of the second line
    const QRect alphaLine(x, cells.LineTop(2), cells.ColumnLeft(12), cells.CellHeight());
    const QRect betaLine(x, cells.LineTop(3), cells.ColumnLeft(12), cells.CellHeight());
    EXPECT_TRUE(RegionHasColourOtherThan(image, alphaLine, kMarker));
    EXPECT_TRUE(RegionHasColourOtherThan(image, betaLine, kMarker));
    EXPECT_FALSE(RegionHasColourOtherThan(
        image, QRect(x, cells.CellHeight(), cells.ColumnLeft(12), cells.CellHeight()), kMarker));
    EXPECT_FALSE(RegionHasColourOtherThan(
        image, QRect(x + cells.ColumnLeft(12), cells.LineTop(2), cells.ColumnLeft(8), cells.LineTop(2)),
        kMarker));
    // Labels sit in the name column on the bottom edges of their lines: ink above each baseline.
    EXPECT_TRUE(
        RegionHasColourOtherThan(image, QRect(0, cells.LineTop(2), x - 1, cells.CellHeight()), kMarker));
    EXPECT_TRUE(
        RegionHasColourOtherThan(image, QRect(0, cells.LineTop(3), x - 1, cells.CellHeight()), kMarker));
    EXPECT_FALSE(
        RegionHasColourOtherThan(image, QRect(0, cells.LineTop(5), x - 1, cells.LineTop(3)), kMarker));
}

TEST_F(TrackCacheTest, ExportWithoutGapsClosesTheCartoonUp) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const Corvane::AlignmentHelper helper(*alignment.view);
    const std::string& beta = access.SsStringsPerRow()[2].at("beta");
    ASSERT_EQ(beta.substr(4, 6), "SS--SS");

    const int x = cells.ColumnLeft(20);
    QImage image(x + cells.ColumnLeft(10), cells.LineTop(4), QImage::Format_ARGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    int y = 0;
    access.CopySSCartoonPixmap(helper, painter, 2, x, y, 4, 6, false);
    painter.end();
    EXPECT_EQ(y, cells.CellHeight());
    EXPECT_TRUE(RegionHasColourOtherThan(
        image, QRect(x + cells.ColumnLeft(3), cells.CellHeight(), cells.CellWidth(), cells.CellHeight()),
        kMarker));
    EXPECT_FALSE(RegionHasColourOtherThan(
        image, QRect(x + cells.ColumnLeft(4), cells.CellHeight(), cells.ColumnLeft(6), cells.CellHeight()),
        kMarker));
}

TEST_F(TrackCacheTest, ExportOfARowWithoutStructureDrawsNothing) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const Corvane::AlignmentHelper helper(*alignment.view);
    QImage image(cells.ColumnLeft(40), cells.LineTop(4), QImage::Format_ARGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    int y = 0;
    access.CopySSCartoonPixmap(helper, painter, 1, 0, y, 0, 40, true);
    access.CopySSCartoonPixmap(helper, painter, 17, 0, y, 0, 40, true);
    access.CopySSCartoonPixmap(helper, painter, -1, 0, y, 0, 40, true);
    painter.end();
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(RegionHasColourOtherThan(image, image.rect(), kMarker));
}

// Columns past the end of the structure: the labelled lines keep their grid rows but stay blank.
TEST_F(TrackCacheTest, ExportBeyondTheStructureKeepsBlankLabelledLines) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const Corvane::AlignmentHelper helper(*alignment.view);
    const int x = cells.ColumnLeft(20);
    QImage image(x + cells.ColumnLeft(10), cells.LineTop(4), QImage::Format_ARGB32);
    image.fill(kMarker);
    QPainter painter(&image);
    int y = 0;
    access.CopySSCartoonPixmap(helper, painter, 0, x, y, 500, 10, true);
    painter.end();
    EXPECT_EQ(y, cells.LineTop(2));
    EXPECT_FALSE(
        RegionHasColourOtherThan(image, QRect(x, 0, cells.ColumnLeft(10), cells.LineTop(4)), kMarker));
    EXPECT_TRUE(
        RegionHasColourOtherThan(image, QRect(0, cells.CellHeight(), x - 1, cells.CellHeight()), kMarker));
}

TEST_F(TrackCacheTest, ExportLabelIsTheIndentedDeflineWithTheKey) {
    BuiltAlignment alignment = TwoKeyAlignment();
    auto aspects = AspectsOfCells(40, 40);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const Corvane::AlignmentHelper helper(*alignment.view);
    const QFont font = testsupport::MonoFont();
    const int expectedWidth = QFontMetrics(font).horizontalAdvance(QStringLiteral(" first(alpha)"));

    QImage image(cells.ColumnLeft(40), cells.LineTop(2), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    access.CopySSCartoonNamePixmap(helper, painter, 0, cells.CellHeight(), "alpha", false);
    painter.end();

    QImage missing(cells.ColumnLeft(40), cells.LineTop(2), QImage::Format_ARGB32);
    missing.fill(Qt::white);
    QPainter missingPainter(&missing);
    // No such row.
    access.CopySSCartoonNamePixmap(helper, missingPainter, 9, cells.CellHeight(), "alpha", false);
    missingPainter.end();
    EXPECT_FALSE(RegionHasColourOtherThan(missing, missing.rect(), Qt::white));

    int rightmostInk = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (QColor(image.pixel(x, y)) != QColor(Qt::white)) rightmostInk = x;
    EXPECT_GT(rightmostInk, expectedWidth - cells.ColumnLeft(2));
    EXPECT_LE(rightmostInk, expectedWidth + 1);
}

}  // namespace
