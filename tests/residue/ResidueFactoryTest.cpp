#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <algorithm>
#include <cstdlib>

#include "PixelProbe.h"
#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "residue/ResidueFactory.h"
#include "support/TestFont.h"

namespace {

using residuetest::CountPixels;
using residuetest::RowIs;

const QRgb kRed = 0xFFFF0000u;
const QRgb kBackground = 0xFFF0E8D0u;
const QRgb kText = 0xFF1020C0u;
const QRgb kUnderline = 0xFF00A000u;
const QRgb kOverline = 0xFFA000A0u;
const QRgb kCaret = 0xFF00A0A0u;

// The cell of the test font and the rows the glyph's marks belong on, from the font's own metrics.
class GlyphTest : public ::testing::Test {
protected:
    void SetUp() override {
        font = testsupport::MonoFont(16);
        cells = CellGeometry(SQC::FontAttributes(font));
        const QFontMetrics metrics(font);
        ascent = metrics.ascent();
        descent = metrics.descent();
        t = std::max(1, cells.CellHeight() / font.pointSize());
    }

    ResidueRenderData Data(char residue) const {
        ResidueRenderData data;
        data.residue = residue;
        data.textColour = kText;
        data.backgroundColour = kBackground;
        data.underlineColour = kUnderline;
        data.overlineColour = kOverline;
        data.caretColour = kCaret;
        return data;
    }

    QImage Glyph(const ResidueRenderData& data) const {
        const std::unique_ptr<QPixmap> glyph = ResidueFactory::Instance()->CreatePixmap(data, font);
        return glyph ? glyph->toImage() : QImage();
    }

    QFont font;
    CellGeometry cells{0, 0};
    int ascent = 0;
    int descent = 0;
    int t = 1;
};

TEST_F(GlyphTest, GlyphIsOneCellWideAndOnePixelTaller) {
    for (char residue : {'W', 'i', ' ', '~'}) {
        const QImage glyph = Glyph(Data(residue));
        EXPECT_EQ(QSize(cells.CellWidth(), cells.CellHeight() + 1), glyph.size()) << residue;
    }
    ResidueRenderData bold = Data('M');
    bold.fontStyle = 3;
    EXPECT_EQ(QSize(cells.CellWidth(), cells.CellHeight() + 1), Glyph(bold).size());
}

TEST_F(GlyphTest, BackgroundFillsTheWholeGlyph) {
    const QImage glyph = Glyph(Data(' '));
    EXPECT_EQ(cells.CellWidth() * (cells.CellHeight() + 1), CountPixels(glyph, glyph.rect(), kBackground));
}

TEST_F(GlyphTest, LetterIsDrawnInItsColourInsideTheCell) {
    const QImage glyph = Glyph(Data('M'));
    EXPECT_GT(CountPixels(glyph, QRect(0, 0, cells.CellWidth(), cells.CellHeight()), kText), 0);
    // Nothing of the letter lies below its baseline.
    const int baseline = cells.CellHeight() - descent;
    EXPECT_EQ(0, CountPixels(glyph, QRect(0, baseline + 1, cells.CellWidth(), cells.CellHeight() - baseline),
                             kText));
}

TEST_F(GlyphTest, LetterIsCentredInTheCell) {
    const QImage glyph = Glyph(Data('I'));
    int left = cells.CellWidth(), right = -1;
    for (int x = 0; x < cells.CellWidth(); ++x) {
        if (CountPixels(glyph, QRect(x, 0, 1, cells.CellHeight() + 1), kBackground) !=
            cells.CellHeight() + 1) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    ASSERT_LE(left, right);
    EXPECT_LE(std::abs((left + right) - (cells.CellWidth() - 1)), 2)
        << "ink from " << left << " to " << right;
}

TEST_F(GlyphTest, UnderlineAndOverlineCrossTheCell) {
    ResidueRenderData data = Data(' ');
    data.lineFlags = ResidueRenderData::kUnderline | ResidueRenderData::kOverline;
    const QImage glyph = Glyph(data);
    const int underline = cells.CellHeight() + t - descent;
    const int overline = cells.CellHeight() - 2 * t - ascent;
    ASSERT_GE(overline, 0);
    EXPECT_TRUE(RowIs(glyph, underline, kUnderline));
    EXPECT_TRUE(RowIs(glyph, overline, kOverline));
    EXPECT_EQ(cells.CellWidth(), CountPixels(glyph, glyph.rect(), kUnderline));
    EXPECT_EQ(cells.CellWidth(), CountPixels(glyph, glyph.rect(), kOverline));
}

TEST_F(GlyphTest, LeftBarIsRedTwoPixelsWideAtColumnOne) {
    ResidueRenderData data = Data(' ');
    data.lineFlags = ResidueRenderData::kLeftBar;
    data.textColour = 0xFF00FF00u;  // the bar is red whatever the residue's colours
    const QImage glyph = Glyph(data);
    for (int y = 0; y < cells.CellHeight(); ++y) {
        EXPECT_EQ(kRed, glyph.pixel(1, y)) << y;
        EXPECT_EQ(2, CountPixels(glyph, QRect(0, y, cells.CellWidth(), 1), kRed)) << y;
    }
    EXPECT_EQ(0, CountPixels(glyph, QRect(3, 0, cells.CellWidth() - 3, cells.CellHeight() + 1), kRed));
}

TEST_F(GlyphTest, CaretHangsFromTheTopWithItsApexInTheMiddle) {
    ResidueRenderData data = Data(' ');
    data.caret = true;
    const QImage glyph = Glyph(data);
    const int apexX = (cells.CellWidth() - 1) / 2;
    const int apexY = cells.CellHeight() - cells.CellHeight() / font.pointSize() - ascent;
    ASSERT_GT(apexY, 0);
    EXPECT_EQ(kCaret, glyph.pixel(apexX, apexY));
    EXPECT_EQ(1, CountPixels(glyph, QRect(0, apexY, cells.CellWidth(), 1), kCaret));
    EXPECT_EQ(0,
              CountPixels(glyph, QRect(0, apexY + 1, cells.CellWidth(), cells.CellHeight() - apexY), kCaret));
    EXPECT_EQ(cells.CellWidth(), CountPixels(glyph, QRect(0, 0, cells.CellWidth(), 1), kCaret));
}

TEST_F(GlyphTest, MarksStackInTheirDrawingOrder) {
    ResidueRenderData data = Data(' ');
    data.caret = true;
    data.lineFlags =
        ResidueRenderData::kUnderline | ResidueRenderData::kOverline | ResidueRenderData::kLeftBar;
    const QImage glyph = Glyph(data);
    const int overline = cells.CellHeight() - 2 * t - ascent;
    EXPECT_EQ(kRed, glyph.pixel(1, 0)) << "the left bar lies over the caret";
    EXPECT_EQ(kOverline, glyph.pixel(1, overline)) << "the overline lies over the left bar";
    EXPECT_EQ(kUnderline, glyph.pixel(1, cells.CellHeight() + t - descent))
        << "the underline lies over the left bar";
    EXPECT_EQ(kCaret, glyph.pixel(cells.CellWidth() - 1, 0));
}

TEST_F(GlyphTest, BoldAndItalicGlyphsDifferFromThePlainOne) {
    ResidueRenderData data = Data('W');
    const QImage plain = Glyph(data);
    data.fontStyle = 1;
    const QImage bold = Glyph(data);
    data.fontStyle = 2;
    const QImage italic = Glyph(data);
    data.fontStyle = 3;
    const QImage boldItalic = Glyph(data);
    EXPECT_NE(plain, bold);
    EXPECT_NE(plain, italic);
    EXPECT_NE(bold, italic);
    EXPECT_NE(boldItalic, bold);
    EXPECT_NE(boldItalic, italic);
    // Bold ink covers more pixels than plain ink.
    EXPECT_GT(CountPixels(bold, bold.rect(), kText), CountPixels(plain, plain.rect(), kText));
}

TEST_F(GlyphTest, FontSizedInPixelsStillGetsItsLinesInsideTheGlyph) {
    QFont pixelFont(font);
    pixelFont.setPixelSize(20);
    ResidueRenderData data = Data(' ');
    data.lineFlags = ResidueRenderData::kUnderline | ResidueRenderData::kOverline;
    const std::unique_ptr<QPixmap> glyph = ResidueFactory::Instance()->CreatePixmap(data, pixelFont);
    ASSERT_TRUE(glyph);
    const QImage image = glyph->toImage();
    EXPECT_EQ(SQC::FontAttributes(pixelFont).GetMaxSize() + QSize(0, 1), image.size());
    EXPECT_EQ(image.width(), CountPixels(image, image.rect(), kUnderline));
    EXPECT_EQ(image.width(), CountPixels(image, image.rect(), kOverline));
}

class GlyphCacheTest : public GlyphTest {};

TEST_F(GlyphCacheTest, EqualKeysShareOnePixmapWhateverTheCallerSetForTheFont) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData first = Data('K');
    first.textColour = 0xFF010203u;  // a key no other test draws
    ResidueRenderData second = first;
    second.fontFamily = QStringLiteral("Not A Font");
    second.pointSize = 99;
    const std::size_t before = factory->Size();
    QPixmap* glyph = factory->GetPixmap(first, font);
    ASSERT_NE(nullptr, glyph);
    EXPECT_EQ(before + 1, factory->Size());
    EXPECT_EQ(glyph, factory->GetPixmap(second, font));
    EXPECT_EQ(before + 1, factory->Size());
    EXPECT_EQ(QSize(cells.CellWidth(), cells.CellHeight() + 1), glyph->size());
}

TEST_F(GlyphCacheTest, ARecordDifferingOnlyInCaretGetsItsOwnGlyph) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData data = Data('K');
    data.textColour = 0xFF010204u;
    QPixmap* plain = factory->GetPixmap(data, font);
    data.caret = true;
    QPixmap* withCaret = factory->GetPixmap(data, font);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, withCaret);
    EXPECT_NE(plain, withCaret);
    EXPECT_NE(plain->toImage(), withCaret->toImage());
}

TEST_F(GlyphCacheTest, FontsDifferingOnlyInWeightOrStyleShareGlyphs) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData data = Data('K');
    data.textColour = 0xFF010205u;
    QFont bold(font);
    bold.setBold(true);
    QFont italic(font);
    italic.setItalic(true);
    QPixmap* glyph = factory->GetPixmap(data, font);
    EXPECT_EQ(glyph, factory->GetPixmap(data, bold));
    EXPECT_EQ(glyph, factory->GetPixmap(data, italic));
}

TEST_F(GlyphCacheTest, OtherSizesAndFamiliesGetOtherGlyphs) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData data = Data('K');
    data.textColour = 0xFF010206u;
    QPixmap* glyph = factory->GetPixmap(data, font);
    QPixmap* larger = factory->GetPixmap(data, testsupport::MonoFont(font.pointSize() + 4));
    QPixmap* serif = factory->GetPixmap(data, QFont(QStringLiteral("DejaVu Serif"), font.pointSize()));
    EXPECT_NE(glyph, larger);
    EXPECT_NE(glyph, serif);
    EXPECT_GT(larger->height(), glyph->height());
}

TEST_F(GlyphCacheTest, FontsSizedInDifferentPixelSizesDoNotShareGlyphs) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData data = Data('K');
    data.textColour = 0xFF010207u;
    QFont small(font);
    small.setPixelSize(12);
    QFont large(font);
    large.setPixelSize(24);
    QPixmap* smallGlyph = factory->GetPixmap(data, small);
    QPixmap* largeGlyph = factory->GetPixmap(data, large);
    ASSERT_NE(nullptr, smallGlyph);
    ASSERT_NE(nullptr, largeGlyph);
    EXPECT_NE(smallGlyph, largeGlyph);
    EXPECT_EQ(SQC::FontAttributes(large).GetMaxHeight() + 1, largeGlyph->height());
}

TEST_F(GlyphCacheTest, CachedGlyphsStayValidAsTheCacheGrows) {
    ResidueFactory* factory = ResidueFactory::Instance();
    ResidueRenderData data = Data('Q');
    data.textColour = 0xFF010208u;
    QPixmap* glyph = factory->GetPixmap(data, font);
    const QImage drawn = glyph->toImage();
    for (char residue = 'a'; residue <= 'z'; ++residue) {
        ResidueRenderData other = data;
        other.residue = residue;
        factory->GetPixmap(other, font);
    }
    EXPECT_EQ(glyph, factory->GetPixmap(data, font));
    EXPECT_EQ(drawn, glyph->toImage());
    EXPECT_EQ(factory, ResidueFactory::Instance());
}

}  // namespace
