#include <gtest/gtest.h>

#include "font/ColorConversion.h"

namespace {

TEST(ColorConversionTest, PropertyColourWithoutAlphaBecomesOpaque) {
    EXPECT_EQ(0xFFFF0000u, SQC::PropertyToDisplayColour(0x000000FFu));  // red
    EXPECT_EQ(0xFF00FF00u, SQC::PropertyToDisplayColour(0x0000FF00u));  // green
    EXPECT_EQ(0xFF000000u, SQC::PropertyToDisplayColour(0x00000000u));  // black
}

TEST(ColorConversionTest, PropertyColourKeepsItsAlphaAndSwapsRedAndBlue) {
    EXPECT_EQ(0x800000FFu, SQC::PropertyToDisplayColour(0x80FF0000u));  // blue at half alpha
    EXPECT_EQ(0x11443322u, SQC::PropertyToDisplayColour(0x11223344u));
    EXPECT_EQ(0xFFFFFFFFu, SQC::PropertyToDisplayColour(0xFFFFFFFFu));
}

TEST(ColorConversionTest, CommonColourToDisplayColour) {
    EXPECT_EQ(0x40102030u, SQC::ToDisplayColour(Common::Color(0x10, 0x20, 0x30, 0x40)));
    EXPECT_EQ(0xFFFF0000u, SQC::ToDisplayColour(Common::Color::FromPacked(0xFF0000FFu)));
    // Unlike a property colour, alpha 0 stays transparent here.
    EXPECT_EQ(0x00FF0000u, SQC::ToDisplayColour(Common::Color::FromPacked(0x000000FFu)));
}

TEST(ColorConversionTest, CommonColourToQColor) {
    const QColor colour = SQC::ToQColor(Common::Color(0x10, 0x20, 0x30, 0x40));
    EXPECT_EQ(0x10, colour.red());
    EXPECT_EQ(0x20, colour.green());
    EXPECT_EQ(0x30, colour.blue());
    EXPECT_EQ(0x40, colour.alpha());
}

TEST(ColorConversionTest, StdStringToQStringDecodesUtf8) {
    EXPECT_EQ(QString(), SQC::ToQString(std::string()));
    EXPECT_EQ(QStringLiteral("seq1/1-120"), SQC::ToQString("seq1/1-120"));
    EXPECT_EQ(QString(QChar(0x00C5)), SQC::ToQString("\xC3\x85"));
}

}  // namespace
