#include <gtest/gtest.h>

#include "msarender/FontFactory.h"
#include "support/TestFont.h"

namespace {

struct StyleCase {
    int style;
    QFont::Weight weight;
    QFont::Style fontStyle;
};

QFont BoldItalic(QFont font) {
    font.setWeight(QFont::Bold);
    font.setStyle(QFont::StyleItalic);
    return font;
}

TEST(FontFactoryTest, StyleBitsSetBothWeightAndStyle) {
    const StyleCase cases[] = {
        {0, QFont::Normal, QFont::StyleNormal}, {1, QFont::Bold, QFont::StyleNormal},
        {2, QFont::Normal, QFont::StyleItalic}, {3, QFont::Bold, QFont::StyleItalic},
        {4, QFont::Normal, QFont::StyleNormal},  // only higher bits: ignored
        {5, QFont::Bold, QFont::StyleNormal},   {0x102, QFont::Normal, QFont::StyleItalic},
    };
    // From a plain and from a bold italic base: the result never depends on the base's own style.
    for (const QFont& base : {testsupport::MonoFont(10), BoldItalic(testsupport::MonoFont(10))}) {
        const SQC::FontFactory factory(base);
        for (const StyleCase& c : cases) {
            const QFont font = factory.GetFont(static_cast<SDM::FontStyle>(c.style));
            EXPECT_EQ(c.weight, font.weight()) << "style " << c.style << " base bold " << base.bold();
            EXPECT_EQ(c.fontStyle, font.style()) << "style " << c.style << " base bold " << base.bold();
        }
    }
}

TEST(FontFactoryTest, StyledFontKeepsFamilyAndSize) {
    const QFont base = testsupport::MonoFont(13);
    const QFont bold = SQC::FontFactory(base).GetFont(SDM::Bold);
    EXPECT_EQ(base.family(), bold.family());
    EXPECT_EQ(13, bold.pointSize());
}

TEST(FontFactoryTest, CopiesDeriveFromTheSameBase) {
    const SQC::FontFactory source(testsupport::MonoFont(9));
    const SQC::FontFactory copy(source);
    SQC::FontFactory assigned(testsupport::MonoFont(20));
    assigned = source;
    EXPECT_EQ(source.GetFont(SDM::BoldItalic), copy.GetFont(SDM::BoldItalic));
    EXPECT_EQ(source.GetFont(SDM::Italic), assigned.GetFont(SDM::Italic));
    EXPECT_EQ(9, assigned.GetFont(SDM::NormalStyle).pointSize());
}

}  // namespace
