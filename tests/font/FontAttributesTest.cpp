#include <gtest/gtest.h>

#include <QChar>
#include <QFontMetrics>
#include <algorithm>

#include "msarender/FontAttributes.h"
#include "support/TestFont.h"

namespace {

QFont ProportionalFont(int pointSize) {
    return QFont(QStringLiteral("DejaVu Sans"), pointSize);
}

int Advance(const QFont& font, char c) {
    return QFontMetrics(font).horizontalAdvance(QChar(c));
}

TEST(FontAttributesTest, CellWidthIsTheWidestPrintableSevenBitAdvance) {
    const QFont font = ProportionalFont(12);
    const SQC::FontAttributes cell(font);
    int widest = 0;
    for (int code = ' '; code <= '~'; ++code) {
        const int advance = QFontMetrics(font).horizontalAdvance(QChar(code));
        EXPECT_LE(advance, cell.GetMaxWidth()) << "character " << code;
        widest = std::max(widest, advance);
    }
    EXPECT_EQ(widest, cell.GetMaxWidth());
    // A proportional font: the cell is set by a wide letter, not a narrow one.
    EXPECT_GT(cell.GetMaxWidth(), Advance(font, 'i'));
}

// Control codes have no glyph in the font: whatever fallback font the machine has for them (TeX fonts
// draw letters there) must not widen the cell.
TEST(FontAttributesTest, ControlCodesTheFontLacksDoNotWidenTheCell) {
    for (int pointSize : {8, 10, 24}) {
        const QFont font = testsupport::MonoFont(pointSize);
        EXPECT_EQ(Advance(font, 'M'), SQC::FontAttributes(font).GetMaxWidth()) << pointSize;
    }
}

TEST(FontAttributesTest, CellHeightIsLeadingPlusHeight) {
    const QFont font = testsupport::MonoFont(11);
    const SQC::FontAttributes cell(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(metrics.leading() + metrics.height(), cell.GetMaxHeight());
    EXPECT_EQ(metrics.height(), cell.GetMetrics().height());
}

TEST(FontAttributesTest, MaxSizeCombinesWidthAndHeight) {
    for (int pointSize : {6, 10, 17, 30}) {
        const SQC::FontAttributes cell(testsupport::MonoFont(pointSize));
        EXPECT_EQ(QSize(cell.GetMaxWidth(), cell.GetMaxHeight()), cell.GetMaxSize()) << pointSize;
        EXPECT_GT(cell.GetMaxWidth(), 0);
    }
}

TEST(FontAttributesTest, SetFontRetargetsTheCell) {
    SQC::FontAttributes cell(testsupport::MonoFont(8));
    const SQC::FontAttributes large(testsupport::MonoFont(24));
    cell.SetFont(testsupport::MonoFont(24));
    EXPECT_EQ(large.GetMaxSize(), cell.GetMaxSize());
}

TEST(FontAttributesTest, CopyIsIndependentOfItsSource) {
    const SQC::FontAttributes source(testsupport::MonoFont(8));
    const int sourceWidth = source.GetMaxWidth();
    const int sourceHeight = source.GetMaxHeight();

    SQC::FontAttributes copy(source);
    EXPECT_EQ(source.GetMaxSize(), copy.GetMaxSize());
    copy.SetFont(testsupport::MonoFont(30));
    EXPECT_GT(copy.GetMaxWidth(), sourceWidth);
    EXPECT_EQ(sourceWidth, source.GetMaxWidth());
    EXPECT_EQ(sourceHeight, source.GetMaxHeight());
}

TEST(FontAttributesTest, AssignmentCopiesTheCell) {
    const SQC::FontAttributes large(testsupport::MonoFont(30));
    SQC::FontAttributes target(testsupport::MonoFont(8));
    target = large;
    EXPECT_EQ(large.GetMaxSize(), target.GetMaxSize());
    EXPECT_EQ(large.GetMetrics().ascent(), target.GetMetrics().ascent());
}

}  // namespace
