#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "residue/ResidueRenderData.h"

namespace {

using Change = std::function<void(ResidueRenderData&)>;

ResidueRenderData With(const Change& change) {
    ResidueRenderData data;
    data.fontFamily = QStringLiteral("M");
    change(data);
    return data;
}

TEST(ResidueRenderDataTest, DefaultsDescribeABlackXOnWhite) {
    const ResidueRenderData data;
    EXPECT_EQ(0xFF000000u, data.textColour);
    EXPECT_EQ(0xFFFFFFFFu, data.backgroundColour);
    EXPECT_EQ('X', data.residue);
    EXPECT_EQ(8, data.pointSize);
    EXPECT_FALSE(data.caret);
}

TEST(ResidueRenderDataTest, EachMemberTakesPartInEquality) {
    const std::vector<Change> changes = {
        [](ResidueRenderData& d) { d.caretColour = 1; },
        [](ResidueRenderData& d) { d.underlineColour = 1; },
        [](ResidueRenderData& d) { d.overlineColour = 1; },
        [](ResidueRenderData& d) { d.textColour = 1; },
        [](ResidueRenderData& d) { d.backgroundColour = 1; },
        [](ResidueRenderData& d) { d.fontFamily = "N"; },
        [](ResidueRenderData& d) { d.pointSize = 9; },
        [](ResidueRenderData& d) { d.fontStyle = 1; },
        [](ResidueRenderData& d) { d.lineFlags = ResidueRenderData::kLeftBar; },
        [](ResidueRenderData& d) { d.residue = 'A'; },
        [](ResidueRenderData& d) { d.caret = true; },
    };
    const ResidueRenderData base = With([](ResidueRenderData&) {});
    EXPECT_EQ(base, With([](ResidueRenderData&) {}));
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const ResidueRenderData changed = With(changes[i]);
        EXPECT_NE(base, changed) << "member " << i;
        EXPECT_TRUE(base < changed || changed < base) << "member " << i;
    }
}

TEST(ResidueRenderDataTest, EarlierMembersOfTheKeyDecideFirst) {
    // Each pair differs in two members; the one earlier in the key order must decide.
    const std::vector<std::pair<Change, Change>> pairs = {
        {[](ResidueRenderData& d) {
             d.fontFamily = "A";
             d.pointSize = 30;
         },
         [](ResidueRenderData& d) {
             d.fontFamily = "B";
             d.pointSize = 6;
         }},
        {[](ResidueRenderData& d) {
             d.pointSize = 6;
             d.residue = 'Z';
         },
         [](ResidueRenderData& d) {
             d.pointSize = 7;
             d.residue = 'A';
         }},
        {[](ResidueRenderData& d) {
             d.residue = 'A';
             d.caretColour = 9;
         },
         [](ResidueRenderData& d) {
             d.residue = 'B';
             d.caretColour = 1;
         }},
        {[](ResidueRenderData& d) {
             d.caretColour = 1;
             d.underlineColour = 9;
         },
         [](ResidueRenderData& d) {
             d.caretColour = 2;
             d.underlineColour = 1;
         }},
        {[](ResidueRenderData& d) {
             d.underlineColour = 1;
             d.overlineColour = 9;
         },
         [](ResidueRenderData& d) {
             d.underlineColour = 2;
             d.overlineColour = 1;
         }},
        {[](ResidueRenderData& d) {
             d.overlineColour = 1;
             d.textColour = 9;
         },
         [](ResidueRenderData& d) {
             d.overlineColour = 2;
             d.textColour = 1;
         }},
        {[](ResidueRenderData& d) {
             d.textColour = 1;
             d.backgroundColour = 9;
         },
         [](ResidueRenderData& d) {
             d.textColour = 2;
             d.backgroundColour = 1;
         }},
        {[](ResidueRenderData& d) {
             d.backgroundColour = 1;
             d.fontStyle = 3;
         },
         [](ResidueRenderData& d) {
             d.backgroundColour = 2;
             d.fontStyle = 0;
         }},
        {[](ResidueRenderData& d) {
             d.fontStyle = 0;
             d.lineFlags =
                 ResidueRenderData::kUnderline | ResidueRenderData::kOverline | ResidueRenderData::kLeftBar;
         },
         [](ResidueRenderData& d) {
             d.fontStyle = 1;
             d.lineFlags = 0;
         }},
        {[](ResidueRenderData& d) {
             d.lineFlags = 0;
             d.caret = true;
         },
         [](ResidueRenderData& d) {
             d.lineFlags = ResidueRenderData::kUnderline;
             d.caret = false;
         }},
    };
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const ResidueRenderData lower = With(pairs[i].first);
        const ResidueRenderData higher = With(pairs[i].second);
        EXPECT_TRUE(lower < higher) << "pair " << i;
        EXPECT_FALSE(higher < lower) << "pair " << i;
    }
}

TEST(ResidueRenderDataTest, ColoursCompareUnsignedAndLettersSigned) {
    EXPECT_TRUE(With([](ResidueRenderData& d) { d.textColour = 0x7FFFFFFFu; }) <
                With([](ResidueRenderData& d) { d.textColour = 0x80000000u; }));
    // 0xE9 is a negative 8-bit character and sorts before every 7-bit letter.
    EXPECT_TRUE(With([](ResidueRenderData& d) { d.residue = char(0xE9); }) <
                With([](ResidueRenderData& d) { d.residue = 'A'; }));
    EXPECT_TRUE(With([](ResidueRenderData& d) { d.caret = false; }) <
                With([](ResidueRenderData& d) { d.caret = true; }));
}

TEST(ResidueRenderDataTest, OrderIsIrreflexive) {
    const ResidueRenderData data = With([](ResidueRenderData& d) {
        d.lineFlags = ResidueRenderData::kUnderline | ResidueRenderData::kLeftBar;
    });
    EXPECT_FALSE(data < data);
}

}  // namespace
