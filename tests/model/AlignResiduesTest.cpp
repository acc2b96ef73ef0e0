#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "sdm/Alignment.h"
#include "support/AlignmentBuilder.h"

namespace {

using testsupport::AlignmentBuilder;
namespace RA = SDM::ResidueAttributes;
using Rows = std::vector<std::vector<SDM::Residue>>;

const Common::Color kWhite(0xFF, 0xFF, 0xFF);
const Common::Color kBlack(0, 0, 0);
const Common::Color kRed(0xFF, 0, 0);
const Common::Color kBlue(0, 0, 0xFF);

std::string Codes(const std::vector<SDM::Residue>& row) {
    std::string codes;
    for (const auto& residue : row) codes.push_back(residue.getCode());
    return codes;
}

// Hydrophobic letters red, the rest white; gaps grey.
class LetterScheme : public SDM::ColorScheme {
public:
    std::string name() const override { return "letters"; }
    SDM::ResidueColors colorsAt(char code, unsigned) const override {
        if (code == '-') return {Common::Color(0x80, 0x80, 0x80), kBlack};
        if (code == 'L' || code == 'V') return {kRed, kWhite};
        return {kWhite, kBlue};
    }
};

// Even columns blue, odd columns red, whatever the letter; counts prepare calls.
class StripeScheme : public SDM::ColorScheme {
public:
    std::string name() const override { return "stripes"; }
    bool dependsOnColumn() const override { return true; }
    void prepare(const SDM::Alignment&) override { ++prepared; }
    SDM::ResidueColors colorsAt(char code, unsigned column) const override {
        if (code == 'X') return {kBlack, kWhite};
        return {column % 2 ? kRed : kBlue, kBlack};
    }
    int prepared = 0;
};

TEST(AlignResiduesTest, PlainSchemeGivesBlackOnWhiteRowsOfTheirOwnLength) {
    auto built = AlignmentBuilder().Seq("a", "MK-LV").Seq("b", "MK").EmptyEntry().Build();
    Rows out(7);  // stale content must go
    ASSERT_TRUE(built.model->align(out, {1, 2, 0}));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(Codes(out[0]), "MK");
    EXPECT_TRUE(out[1].empty()) << "an empty entry gives an empty row";
    EXPECT_EQ(Codes(out[2]), "MK-LV");
    for (const auto& residue : out[2]) {
        EXPECT_EQ(residue.getStateColor(RA::Background, false), kWhite);
        EXPECT_EQ(residue.getStateColor(RA::Text, false), kBlack);
        EXPECT_EQ(residue.getColorFilter(), 0u);
    }
}

TEST(AlignResiduesTest, IndexesOutOfRangeGiveEmptyRows) {
    auto built = AlignmentBuilder().Seq("a", "MK").Build();
    Rows out;
    built.model->align(out, {5, 0, 0xFFFFFFFFu});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_TRUE(out[0].empty());
    EXPECT_EQ(Codes(out[1]), "MK");
    EXPECT_TRUE(out[2].empty());
}

TEST(AlignResiduesTest, ColumnIndependentSchemeColoursByLetter) {
    auto built = AlignmentBuilder().Seq("a", "ML-V").Scheme(boost::make_shared<LetterScheme>()).Build();
    Rows out;
    built.model->align(out, {0});
    ASSERT_EQ(out[0].size(), 4u);
    EXPECT_EQ(out[0][0].getStateColor(RA::Background, false), kWhite);
    EXPECT_EQ(out[0][0].getStateColor(RA::Text, false), kBlue);
    EXPECT_EQ(out[0][1].getStateColor(RA::Background, false), kRed);
    EXPECT_EQ(out[0][2].getStateColor(RA::Background, false), Common::Color(0x80, 0x80, 0x80));
    EXPECT_EQ(out[0][3].getStateColor(RA::Text, false), kWhite);
}

TEST(AlignResiduesTest, ColumnDependentSchemeIsPreparedOncePerRevision) {
    auto scheme = boost::make_shared<StripeScheme>();
    auto built = AlignmentBuilder().Seq("a", "AAXA").Seq("b", "CC").Scheme(scheme).Build();
    Rows out;
    built.model->align(out, {0, 1});
    EXPECT_EQ(out[0][0].getStateColor(RA::Background, false), kBlue);
    EXPECT_EQ(out[0][1].getStateColor(RA::Background, false), kRed);
    EXPECT_EQ(out[0][2].getStateColor(RA::Background, false), kBlack) << "letter and column both count";
    EXPECT_EQ(out[0][3].getStateColor(RA::Background, false), kRed);
    EXPECT_EQ(out[1][1].getStateColor(RA::Background, false), kRed);
    const int preparedAfterFirst = scheme->prepared;
    built.model->align(out, {0, 1});
    EXPECT_EQ(scheme->prepared, preparedAfterFirst) << "nothing changed: the tables are reused";
    built.model->getSequence(1)->setAligned("CCCX");  // a code and a column the tables did not have
    built.model->align(out, {1});
    EXPECT_GT(scheme->prepared, preparedAfterFirst);
    ASSERT_EQ(out[0].size(), 4u);
    EXPECT_EQ(out[0][2].getStateColor(RA::Background, false), kBlue);
    EXPECT_EQ(out[0][3].getStateColor(RA::Background, false), kBlack);
}

TEST(AlignResiduesTest, MarksAndFontStylesLandOnTheirResidueOnly) {
    SDM::MarkColors marks;
    marks.underline = kRed;
    marks.caret = kBlue;
    auto built = AlignmentBuilder()
                     .Seq("a", "MKLV")
                     .Seq("b", "MKLV")
                     .Mark(1, 2, SDM::FilterUnderline | SDM::FilterCaret, marks)
                     .Style(1, 0, SDM::Italic)
                     .Mark(1, 40, SDM::FilterOverline, marks)  // past the text: ignored
                     .Build();
    Rows out;
    built.model->align(out, {0, 1});
    EXPECT_EQ(out[0][2].getColorFilter(), 0u);
    EXPECT_EQ(out[1][2].getColorFilter(), unsigned(SDM::FilterUnderline | SDM::FilterCaret));
    EXPECT_EQ(out[1][2].getStateColor(RA::Underline, false), kRed);
    EXPECT_EQ(out[1][2].getStateColor(RA::Caret, false), kBlue);
    EXPECT_EQ(out[1][0].getFontStyle(), SDM::Italic);
    EXPECT_EQ(out[1][1].getFontStyle(), SDM::NormalStyle);
    EXPECT_EQ(out[1].size(), 4u);
}

TEST(AlignResiduesTest, ConsensusRowCanBeAligned) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MR").Seq("c", "LR").Consensus(true).Build();
    Rows out;
    built.model->align(out, {3});
    EXPECT_EQ(Codes(out[0]), "MR");
}

}  // namespace
