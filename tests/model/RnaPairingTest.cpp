// Pairing notation: partners, helices and unmatched brackets.

#include <gtest/gtest.h>

#include "sdm/annotations/RnaPairing.h"

namespace {

constexpr int kNone = SDM::RnaPairing::kUnpaired;

TEST(RnaPairingTest, NestedBracketsPairOutsideIn) {
    const SDM::RnaPairing pairing = SDM::PairRnaStructure("((..))");
    EXPECT_EQ(pairing.partner, (std::vector<int>{5, 4, kNone, kNone, 1, 0}));
    EXPECT_TRUE(pairing.unmatched.empty());
}

TEST(RnaPairingTest, OneStackIsOneHelixAndABulgeStaysInside) {
    // Stem of three pairs with an unpaired column (bulge) on the left side.
    const SDM::RnaPairing pairing = SDM::PairRnaStructure("<<.<...>>>");
    EXPECT_EQ(pairing.helixCount, 1);
    EXPECT_EQ(pairing.helix[0], 0);
    EXPECT_EQ(pairing.helix[3], 0);
    EXPECT_EQ(pairing.helix[9], 0);
    EXPECT_EQ(pairing.helix[2], kNone);
}

TEST(RnaPairingTest, TwoStemsOfAMultiloopAreTwoHelicesAndTheEnclosingOneAThird) {
    //                                             0123456789012345
    const SDM::RnaPairing pairing = SDM::PairRnaStructure("(<<..>><<..>>.)");
    EXPECT_EQ(pairing.helixCount, 3);
    EXPECT_EQ(pairing.helix[0], 0);
    EXPECT_EQ(pairing.helix[1], 1);
    EXPECT_EQ(pairing.helix[6], 1);
    EXPECT_EQ(pairing.helix[7], 2);
    EXPECT_EQ(pairing.helix[12], 2);
    EXPECT_EQ(pairing.helix[14], 0);
}

TEST(RnaPairingTest, BracketKindsPairOnlyWithTheirOwnKind) {
    const SDM::RnaPairing pairing = SDM::PairRnaStructure("([)]");
    EXPECT_EQ(pairing.partner, (std::vector<int>{2, 3, 0, 1}));
}

TEST(RnaPairingTest, UnmatchedBracketsAreListedInColumnOrderAndLeftUnpaired) {
    const SDM::RnaPairing pairing = SDM::PairRnaStructure(")(.<");
    EXPECT_EQ(pairing.unmatched, (std::vector<unsigned>{0, 1, 3}));
    EXPECT_EQ(pairing.partner, (std::vector<int>(4, kNone)));
    EXPECT_EQ(pairing.helixCount, 0);
}

TEST(RnaPairingTest, MirroredAngleBracketsPairWhenThatMatchesMore) {
    const SDM::RnaPairing pairing = SDM::PairRnaStructure(">>..<<.(.)");
    EXPECT_TRUE(pairing.unmatched.empty());
    EXPECT_EQ(pairing.partner[0], 5);
    EXPECT_EQ(pairing.partner[7], 9);
    // A stray closer in otherwise normal text keeps the usual reading.
    const SDM::RnaPairing usual = SDM::PairRnaStructure("<<..>>>");
    EXPECT_EQ(usual.partner[0], 5);
    EXPECT_EQ(usual.unmatched, (std::vector<unsigned>{6}));
}

TEST(RnaPairingTest, EmptyTextAndDsspLettersAreNoPairingNotation) {
    EXPECT_TRUE(SDM::PairRnaStructure("").partner.empty());
    EXPECT_FALSE(SDM::IsPairingNotation("HHHH--EEE"));
    EXPECT_FALSE(SDM::IsPairingNotation("...."));
    EXPECT_TRUE(SDM::IsPairingNotation(":::<<<___>>>,,"));
}

}  // namespace
