#include <gtest/gtest.h>

#include <vector>

#include "sdm/Residue.h"

namespace {

using SDM::Residue;
namespace RA = SDM::ResidueAttributes;

static_assert(sizeof(SDM::Residue) <= 8, "residue tables are copied per layout pass");

const Common::Color kWhite(0xFF, 0xFF, 0xFF);
const Common::Color kBlack(0, 0, 0);

TEST(ResidueTest, DefaultIsABlackGapOnWhiteWithoutMarks) {
    Residue residue;
    EXPECT_EQ(residue.getCode(), '-');
    EXPECT_EQ(residue.getStateColor(RA::Background, false), kWhite);
    EXPECT_EQ(residue.getStateColor(RA::Text, false), kBlack);
    EXPECT_EQ(residue.getStateColor(RA::Underline, false), kBlack);
    EXPECT_EQ(residue.getColorFilter(), 0u);
    EXPECT_EQ(residue.getFontStyle(), SDM::NormalStyle);
}

TEST(ResidueTest, ColoursRoundTripThroughThePalette) {
    const Common::Color teal(0x00, 0x80, 0x80);
    const Common::Color orange(0xFF, 0xA5, 0x00, 0x80);
    Residue residue('K', teal, orange);
    EXPECT_EQ(residue.getCode(), 'K');
    EXPECT_EQ(residue.getStateColor(RA::Background, false), teal);
    EXPECT_EQ(residue.getStateColor(RA::Text, false), orange);
    EXPECT_EQ(Residue::PaletteIndex(teal), Residue::PaletteIndex(Common::Color(0x00, 0x80, 0x80)));
    EXPECT_EQ(Residue::PaletteIndex(kWhite), 0u);
    EXPECT_EQ(Residue::PaletteIndex(kBlack), 1u);
    EXPECT_EQ(Residue::PaletteColor(0xFFFF), kBlack) << "an index never handed out answers black";
}

TEST(ResidueTest, SelectionGivesAVisibleHighlightForEveryColour) {
    const std::vector<Common::Color> backgrounds = {kWhite, kBlack, Common::Color(0x20, 0x30, 0xA0),
                                                    Common::Color(0xFF, 0, 0),
                                                    Common::Color(0x80, 0x80, 0x80)};
    for (const auto& background : backgrounds) {
        Residue residue('A', background, kBlack);
        const Common::Color selected = residue.getStateColor(RA::Background, true);
        EXPECT_NE(selected, background);
        for (const auto& other : backgrounds) EXPECT_NE(selected, other) << "background " << other.Packed();
        EXPECT_EQ(residue.getStateColor(RA::Text, true), kWhite);
        // The highlight is dark: white text must stay readable on it.
        EXPECT_LT(selected.Red() + selected.Green(), 200);
    }
}

TEST(ResidueTest, MarksAndStylesLiveInTheAttributeByte) {
    SDM::MarkColors colors;
    colors.underline = Common::Color(0xFF, 0, 0);
    colors.overline = Common::Color(0, 0xFF, 0);
    colors.caret = Common::Color(0, 0, 0xFF);
    Residue residue('W');
    residue.setMarkColors(colors);
    residue.setColorFilter(SDM::FilterUnderline | SDM::FilterCaret | SDM::FilterText);
    residue.setFontStyle(SDM::BoldItalic);
    EXPECT_EQ(residue.getColorFilter(), unsigned(SDM::FilterUnderline | SDM::FilterCaret | SDM::FilterText));
    EXPECT_EQ(residue.getFontStyle(), SDM::BoldItalic);
    EXPECT_EQ(residue.getStateColor(RA::Underline, false), colors.underline);
    EXPECT_EQ(residue.getStateColor(RA::Overline, true), colors.overline)
        << "marks keep their colour when selected";
    EXPECT_EQ(residue.getStateColor(RA::Caret, false), colors.caret);
    residue.setFontStyle(SDM::Italic);
    EXPECT_EQ(residue.getColorFilter(), unsigned(SDM::FilterUnderline | SDM::FilterCaret | SDM::FilterText))
        << "font style bits must not spill into the filter";
    EXPECT_EQ(residue.getMarkColors(), colors);
}

TEST(ResidueTest, EqualityComparesEveryAttribute) {
    Residue a('A', kWhite, kBlack);
    Residue b = a;
    EXPECT_EQ(a, b);
    b.setFontStyle(SDM::Bold);
    EXPECT_FALSE(a == b);
    b = a;
    b.setText(Common::Color(1, 2, 3));
    EXPECT_FALSE(a == b);
}

}  // namespace
