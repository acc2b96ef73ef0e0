// Shading any scheme by its column: above an identity threshold, and by conservation.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>

#include "ReaderTestSupport.h"
#include "sdm/schemes/ColorSchemes.h"
#include "sdm/schemes/ColumnShading.h"

using Common::Color;

namespace {

const Color kWhite(0xFF, 0xFF, 0xFF);

boost::shared_ptr<SDM::Alignment> Read(const std::vector<std::string>& rows) {
    std::string fasta;
    for (std::size_t i = 0; i < rows.size(); ++i) fasta += ">s" + std::to_string(i) + "\n" + rows[i] + "\n";
    const auto read = formatstest::ReadText(fasta);
    EXPECT_TRUE(read.ok()) << read.error.ToString();
    return read.alignment;
}

SDM::ColumnShading Shaded(const std::string& base, int threshold, bool byConservation,
                          const SDM::Alignment& alignment, std::vector<unsigned> chosen = {}) {
    SDM::ColumnShading shading(SDM::MakeColorScheme(base), threshold, byConservation, std::move(chosen));
    shading.prepare(alignment);
    return shading;
}

bool Coloured(const SDM::ColorScheme& scheme, char code, unsigned column) {
    return scheme.colorsAt(code, column).background.Packed() != kWhite.Packed();
}

TEST(ColumnShadingTest, ThresholdKeepsOnlyModalResiduesOfColumnsThatReachIt) {
    // Column 1: W in 3 of 4 rows (75 %). Column 2: F and Y 2 and 2 (a tie at 50 %). Column 3: W and a gap.
    const auto alignment = Read({"WFW", "WFW", "WY-", "FY-"});
    const auto at75 = Shaded("zappo", 75, false, *alignment);
    EXPECT_TRUE(Coloured(at75, 'W', 0));
    EXPECT_FALSE(Coloured(at75, 'F', 0));  // not the column's consensus
    EXPECT_FALSE(Coloured(at75, 'F', 1));  // 50 % does not reach 75 %
    EXPECT_FALSE(Coloured(at75, 'W', 2));  // 2 of 4 rows: gaps count in the share
    const auto at50 = Shaded("zappo", 50, false, *alignment);
    EXPECT_TRUE(Coloured(at50, 'F', 1));  // both residues of a tie are the consensus
    EXPECT_TRUE(Coloured(at50, 'y', 1));  // either case
    EXPECT_TRUE(Coloured(at50, 'W', 2));  // exactly the threshold is enough
    // The colour kept is the scheme's own.
    EXPECT_EQ(at50.colorsAt('W', 0).background.Packed(),
              SDM::MakeColorScheme("zappo")->colorsAt('W', 0).background.Packed());
    // 0 % colours each column's consensus, and nothing else.
    const auto at0 = Shaded("zappo", 0, false, *alignment);
    EXPECT_TRUE(Coloured(at0, 'W', 0));
    EXPECT_FALSE(Coloured(at0, 'F', 0));
}

TEST(ColumnShadingTest, ThresholdCountsOnlyTheChosenSequences) {
    const auto alignment = Read({"W", "W", "F", "F", "F"});
    EXPECT_FALSE(Coloured(Shaded("zappo", 60, false, *alignment), 'W', 0));
    EXPECT_TRUE(Coloured(Shaded("zappo", 60, false, *alignment, {0, 1, 2}), 'W', 0));
    alignment->getSequence(2)->setDisplayed(false);  // hidden sequences count for nothing
    EXPECT_TRUE(Coloured(Shaded("zappo", 100, false, *alignment, {0, 1, 2}), 'W', 0));
}

TEST(ColumnShadingTest, ConservationPalesBackgroundsByWhatTheColumnLacksOfIdentity) {
    // Column 1: identity (11). Column 2: I and L, which differ in none of the ten properties.
    // Column 3: W against a gap in half the rows: no score, white.
    const auto alignment = Read({"WIW", "WLW", "WI-", "WL-"});
    const auto shaded = Shaded("zappo", SDM::ColumnShading::kNoThreshold, true, *alignment);
    const auto zappo = SDM::MakeColorScheme("zappo");
    EXPECT_EQ(shaded.colorsAt('W', 0).background.Packed(), zappo->colorsAt('W', 0).background.Packed());
    // I and L keep all ten properties (score 10): each channel keeps 10/11 of its distance from white.
    const Color pale = shaded.colorsAt('I', 1).background;
    const Color full = zappo->colorsAt('I', 1).background;
    const auto towardsWhite = [](int channel) { return int(std::lround(255 - (255 - channel) * 10.0 / 11)); };
    EXPECT_EQ(pale.Red(), towardsWhite(full.Red()));
    EXPECT_EQ(pale.Green(), towardsWhite(full.Green()));
    EXPECT_EQ(pale.Blue(), towardsWhite(full.Blue()));
    EXPECT_NE(pale.Packed(), full.Packed());
    EXPECT_EQ(shaded.colorsAt('W', 2).background.Packed(), kWhite.Packed());
    // Gaps keep the scheme's gap colours.
    EXPECT_EQ(shaded.colorsAt('-', 2).background.Packed(), zappo->colorsAt('-', 2).background.Packed());
    EXPECT_EQ(shaded.name(), "zappo");
    EXPECT_TRUE(shaded.dependsOnColumn());
}

}  // namespace
