// The Clustal X rules: a residue's colour depends on what else its column holds.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "sdm/schemes/ColorSchemes.h"

using Common::Color;

namespace {

const Color kWhite(0xFF, 0xFF, 0xFF);
const Color kBlue(0x19, 0x80, 0xE6);
const Color kRed(0xE6, 0x33, 0x19);
const Color kMagenta(0xCC, 0x4D, 0xCC);
const Color kGreen(0x19, 0xCC, 0x19);
const Color kCyan(0x19, 0xB3, 0xB3);
const Color kPink(0xE6, 0x80, 0x80);
const Color kOrange(0xE6, 0x99, 0x4D);
const Color kYellow(0xCC, 0xCC, 0x00);

/// One column of ten rows: `column` gives the residue of each row.
class ClustalColumn {
public:
    explicit ClustalColumn(const std::string& column) : scheme_(SDM::MakeColorScheme("clustal")) {
        std::string fasta;
        for (std::size_t i = 0; i < column.size(); ++i)
            fasta += ">s" + std::to_string(i) + "\n" + column[i] + "\n";
        const auto read = formatstest::ReadText(fasta, Formats::Format::Fasta);
        EXPECT_TRUE(read.ok()) << read.error.ToString();
        if (read.ok()) scheme_->prepare(*read.alignment);
    }
    Color operator()(char residue) const { return scheme_->colorsAt(residue, 0).background; }

private:
    boost::shared_ptr<SDM::ColorScheme> scheme_;
};

}  // namespace

TEST(ClustalColorScheme, HydrophobicResiduesNeedAHydrophobicColumn) {
    EXPECT_EQ(ClustalColumn("LLLLLLLLLL")('L'), kBlue);
    EXPECT_EQ(ClustalColumn("LLLIIVVKKK")('L'), kBlue);   // 70% hydrophobic
    EXPECT_EQ(ClustalColumn("LLLIIVKKKK")('L'), kWhite);  // 60% is not more than 60%
    EXPECT_EQ(ClustalColumn("LLLIIVKKKK")('K'), kWhite);  // 40% K/R is not enough either
    EXPECT_EQ(ClustalColumn("LLLIIVVKKK")('W'), kBlue);   // any residue of the group in such a column
}

TEST(ClustalColorScheme, ChargedResiduesFollowTheirGroups) {
    EXPECT_EQ(ClustalColumn("KKKKRRRDDE")('K'), kRed);      // 70% K/R
    EXPECT_EQ(ClustalColumn("KKKKRRRDDE")('E'), kWhite);    // 30% E/D
    EXPECT_EQ(ClustalColumn("EEEEEDDDKK")('E'), kMagenta);  // 80% E/D
    EXPECT_EQ(ClustalColumn("EEEEEDDDKK")('D'), kMagenta);
    EXPECT_EQ(ClustalColumn("EEEEEDDDKK")('K'), kWhite);
    EXPECT_EQ(ClustalColumn("QQQQQQQQQK")('K'), kRed);  // Q above 85% supports K and R
}

TEST(ClustalColorScheme, PolarAndAromaticRules) {
    EXPECT_EQ(ClustalColumn("TTTSSSAAGG")('T'), kGreen);  // 60% T/S
    EXPECT_EQ(ClustalColumn("NNNNNNAAGG")('N'), kGreen);
    EXPECT_EQ(ClustalColumn("NNNNNAAAGG")('N'), kWhite);  // 50% N is not more than half
    EXPECT_EQ(ClustalColumn("QQQEEEAAGG")('Q'), kGreen);  // 60% Q/E
    EXPECT_EQ(ClustalColumn("YYFFLLIIKK")('Y'), kCyan);
    EXPECT_EQ(ClustalColumn("YYFFLLIIKK")('H'), kCyan);
}

TEST(ClustalColorScheme, ConservedCysteineIsPinkOtherwiseHydrophobic) {
    EXPECT_EQ(ClustalColumn("CCCCCCCCCL")('C'), kPink);
    EXPECT_EQ(ClustalColumn("CCLLLLLLVV")('C'), kBlue);
    EXPECT_EQ(ClustalColumn("CCKKKKKKEE")('C'), kWhite);
}

TEST(ClustalColorScheme, GlycineAndProlineAreAlwaysColoured) {
    EXPECT_EQ(ClustalColumn("GKKKKKKKKK")('G'), kOrange);
    EXPECT_EQ(ClustalColumn("PKKKKKKKKK")('P'), kYellow);
    const auto unprepared = SDM::MakeColorScheme("clustal");
    EXPECT_EQ(unprepared->colorsAt('G', 3).background, kOrange);
    EXPECT_EQ(unprepared->colorsAt('L', 3).background, kWhite);
}

TEST(ClustalColorScheme, GapsCountAgainstConservation) {
    // A gap is a row without the residue: seven L in ten rows are conserved, five are not.
    EXPECT_EQ(ClustalColumn("LLLLLLL---")('L'), kBlue);
    EXPECT_EQ(ClustalColumn("LLLLL-----")('L'), kWhite);
}

TEST(ClustalColorScheme, ColoursFollowEachColumnOfARealAlignment) {
    // GIVEN the globin alignment, which has both hydrophobic and polar columns
    const auto read = formatstest::ReadData("globins50.afa");
    ASSERT_TRUE(read.ok()) << read.error.ToString();
    const auto scheme = SDM::MakeColorScheme("clustal");
    ASSERT_TRUE(scheme->dependsOnColumn());
    scheme->prepare(*read.alignment);
    // THEN the same letter changes colour with its column
    unsigned hydrophobicColumns = 0;
    unsigned whiteLeucines = 0;
    for (unsigned column = 0; column < read.alignment->columnCount(); ++column) {
        const bool blue = scheme->colorsAt('L', column).background == kBlue;
        hydrophobicColumns += blue ? 1 : 0;
        whiteLeucines += blue ? 0 : 1;
    }
    EXPECT_GT(hydrophobicColumns, 0u);
    EXPECT_GT(whiteLeucines, 0u);
    EXPECT_EQ(scheme->colorsAt('L', read.alignment->columnCount() + 10).background, kWhite);
}
