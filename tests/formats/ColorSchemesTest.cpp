// The letter-based schemes, the identity scheme and the scheme registry.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "sdm/schemes/ColorSchemes.h"

using Common::Color;

namespace {

const Color kWhite(0xFF, 0xFF, 0xFF);
const Color kBlack(0, 0, 0);

Color Background(const SDM::ColorScheme& scheme, char code, unsigned column = 0) {
    return scheme.colorsAt(code, column).background;
}

boost::shared_ptr<SDM::ColorScheme> Scheme(const std::string& name) {
    auto scheme = SDM::MakeColorScheme(name);
    EXPECT_TRUE(scheme) << name;
    return scheme;
}

/// A prepared scheme over a FASTA alignment given as rows.
boost::shared_ptr<SDM::ColorScheme> Prepared(const std::string& name, const std::vector<std::string>& rows) {
    std::string fasta;
    for (std::size_t i = 0; i < rows.size(); ++i) fasta += ">s" + std::to_string(i) + "\n" + rows[i] + "\n";
    const auto read = formatstest::ReadText(fasta);
    EXPECT_TRUE(read.ok()) << read.error.ToString();
    auto scheme = Scheme(name);
    if (read.ok()) scheme->prepare(*read.alignment);
    return scheme;
}

}  // namespace

TEST(ColorSchemes, EveryListedNameMakesThatScheme) {
    const auto names = SDM::ColorSchemeNames();
    EXPECT_EQ(names, (std::vector<std::string>{"clustal", "zappo", "taylor", "hydrophobicity", "identity",
                                               "nucleotide", "plain"}));
    for (const std::string& name : names) EXPECT_EQ(Scheme(name)->name(), name);
    EXPECT_EQ(SDM::MakeColorScheme("ZAPPO")->name(), "zappo");
    EXPECT_FALSE(SDM::MakeColorScheme("rainbow"));
    EXPECT_FALSE(SDM::MakeColorScheme(""));
    // Each call makes a fresh scheme: preparing one view's scheme must not recolour another's.
    EXPECT_NE(SDM::MakeColorScheme("clustal"), SDM::MakeColorScheme("clustal"));
}

TEST(ColorSchemes, DefaultsFollowTheSequenceClass) {
    EXPECT_EQ(SDM::DefaultSchemeName(SDM::AminoAcid), "clustal");
    EXPECT_EQ(SDM::DefaultSchemeName(SDM::NucleicAcid), "nucleotide");
    EXPECT_EQ(SDM::DefaultSchemeName(SDM::UnknownClass), "plain");
}

TEST(ColorSchemes, GapsAreBlackOnWhiteInEveryScheme) {
    for (const std::string& name : SDM::ColorSchemeNames()) {
        const auto scheme = Prepared(name, {"A-C.", "A-C."});
        for (char gap : {'-', '.', '~', ' '}) {
            for (unsigned column : {0u, 1u, 3u, 500u}) {
                const SDM::ResidueColors colors = scheme->colorsAt(gap, column);
                EXPECT_EQ(colors.background, kWhite) << name << " '" << gap << "' column " << column;
                EXPECT_EQ(colors.text, kBlack) << name;
            }
        }
        // Bytes outside ASCII are not residues either.
        EXPECT_EQ(Background(*scheme, char(0xE9)), kWhite) << name;
        EXPECT_EQ(Background(*scheme, '\0'), kWhite) << name;
    }
}

TEST(ColorSchemes, ZappoGroupsByPhysicochemicalProperty) {
    const auto zappo = Scheme("zappo");
    EXPECT_EQ(Background(*zappo, 'I'), Color(0xFF, 0xAF, 0xAF));
    EXPECT_EQ(Background(*zappo, 'L'), Background(*zappo, 'I'));
    EXPECT_EQ(Background(*zappo, 'W'), Color(0xFF, 0xC8, 0x00));
    EXPECT_EQ(Background(*zappo, 'K'), Color(0x64, 0x64, 0xFF));
    EXPECT_EQ(Background(*zappo, 'D'), Color(0xFF, 0, 0));
    EXPECT_EQ(Background(*zappo, 'S'), Color(0, 0xFF, 0));
    EXPECT_EQ(Background(*zappo, 'P'), Color(0xFF, 0, 0xFF));
    EXPECT_EQ(Background(*zappo, 'C'), Color(0xFF, 0xFF, 0));
    EXPECT_EQ(Background(*zappo, 'k'), Background(*zappo, 'K'));  // insert states keep their colour
    EXPECT_EQ(Background(*zappo, 'X'), kWhite);
    EXPECT_FALSE(zappo->dependsOnColumn());
}

TEST(ColorSchemes, TaylorGivesEachResidueItsHue) {
    const auto taylor = Scheme("taylor");
    EXPECT_EQ(Background(*taylor, 'D'), Color(0xFF, 0, 0));
    EXPECT_EQ(Background(*taylor, 'R'), Color(0, 0, 0xFF));
    EXPECT_EQ(Background(*taylor, 'W'), Color(0, 0xCC, 0xFF));
    EXPECT_EQ(Background(*taylor, 'G'), Color(0xFF, 0x99, 0));
    EXPECT_EQ(taylor->colorsAt('R', 0).text, kWhite);  // readable on dark blue
    EXPECT_EQ(taylor->colorsAt('G', 0).text, kBlack);
}

TEST(ColorSchemes, NucleotideColoursBasesAndTreatsUAsT) {
    const auto nucleotide = Scheme("nucleotide");
    EXPECT_EQ(Background(*nucleotide, 'A'), Color(0x64, 0xF7, 0x3F));
    EXPECT_EQ(Background(*nucleotide, 'c'), Color(0xFF, 0xB3, 0x40));
    EXPECT_EQ(Background(*nucleotide, 'G'), Color(0xEB, 0x41, 0x3C));
    EXPECT_EQ(Background(*nucleotide, 'U'), Background(*nucleotide, 'T'));
    EXPECT_EQ(Background(*nucleotide, 'N'), kWhite);
}

TEST(ColorSchemes, HydrophobicityShadesFromBlueToRedByKyteDoolittle) {
    const auto scheme = Scheme("hydrophobicity");
    EXPECT_EQ(Background(*scheme, 'I'), Color(0xFF, 0, 0));  // the most hydrophobic
    EXPECT_EQ(Background(*scheme, 'R'), Color(0, 0, 0xFF));  // the most hydrophilic
    EXPECT_EQ(scheme->colorsAt('R', 0).text, kWhite);
    // Ordered by the scale: I 4.5 > L 3.8 > A 1.8 > G -0.4 > H -3.2 > K -3.9.
    const char order[] = "ILAGHK";
    for (int i = 0; order[i + 1]; ++i) {
        EXPECT_GT(Background(*scheme, order[i]).Red(), Background(*scheme, order[i + 1]).Red()) << order[i];
    }
    const Color glycine = Background(*scheme, 'G');
    EXPECT_EQ(int(glycine.Red()) + int(glycine.Blue()), 255);
}

TEST(ColorSchemes, IdentityShadesResiduesThatMatchTheConsensus) {
    // Column 0: A in 9 of 10 rows; column 1: K in 7; column 2: W in 5 (F in 4); column 3: none above 40%.
    const std::vector<std::string> rows = {"AKWA", "AKWA", "AKWA", "AKWC", "AKWC",
                                           "AKFC", "AKFD", "ARFD", "ARFE", "CRGE"};
    const auto identity = Prepared("identity", rows);
    ASSERT_TRUE(identity->dependsOnColumn());
    EXPECT_EQ(Background(*identity, 'A', 0), Color(0x64, 0x64, 0xFF));
    EXPECT_EQ(Background(*identity, 'a', 0), Color(0x64, 0x64, 0xFF));
    EXPECT_EQ(Background(*identity, 'C', 0), kWhite);
    EXPECT_EQ(Background(*identity, 'K', 1), Color(0x99, 0x99, 0xFF));
    EXPECT_EQ(Background(*identity, 'R', 1), kWhite);
    EXPECT_EQ(Background(*identity, 'W', 2), Color(0xCC, 0xCC, 0xFF));
    EXPECT_EQ(Background(*identity, 'F', 2), kWhite);
    EXPECT_EQ(Background(*identity, 'A', 3), kWhite);
    EXPECT_EQ(Background(*identity, 'A', 4), kWhite);  // past the prepared columns
}

TEST(ColorSchemes, IdentityBeforePrepareColoursNothing) {
    const auto identity = Scheme("identity");
    EXPECT_EQ(Background(*identity, 'A', 0), kWhite);
}
