// Conservation scores checked against the AMAS definition: the number of Taylor's ten properties that all
// residues of a column share or all lack, 11 for identity.

#include <gtest/gtest.h>

#include "sdm/annotations/ColumnConservation.h"

namespace {

int ScoreOf(std::vector<std::string> column) {
    const auto scores = SDM::ColumnConservation(column);
    return scores.empty() ? -100 : scores[0];
}

TEST(ColumnConservationTest, IdenticalColumnScoresIdentityShownAsStar) {
    EXPECT_EQ(ScoreOf({"W", "w", "W"}), SDM::ConservationScore::kIdentity);
    EXPECT_EQ(SDM::ConservationSymbol(SDM::ConservationScore::kIdentity), '*');
}

TEST(ColumnConservationTest, PropertyScoresFollowTheVennDiagram) {
    // I and V differ only in "small" (V is small): 9.
    EXPECT_EQ(ScoreOf({"I", "I", "V"}), 9);
    // D and E differ only in "small" too: 9.
    EXPECT_EQ(ScoreOf({"D", "E"}), 9);
    // K is hydrophobic in Taylor's diagram, R is not: 9.
    EXPECT_EQ(ScoreOf({"K", "R"}), 9);
    // A (hydrophobic small tiny) and W (hydrophobic polar aromatic) differ in small, tiny, polar, aromatic.
    EXPECT_EQ(ScoreOf({"A", "W"}), 6);
    // G (hydrophobic small tiny) and P (small proline) differ in hydrophobic, tiny, proline.
    EXPECT_EQ(ScoreOf({"G", "P"}), 7);
    // D (polar small negative charged) and K (hydrophobic polar positive charged): small, negative,
    // hydrophobic, positive differ.
    EXPECT_EQ(ScoreOf({"D", "K"}), 6);
}

TEST(ColumnConservationTest, PropertiesOfSingleResiduesMatchTheDefinition) {
    EXPECT_EQ(SDM::AminoAcidProperties('P'), (1u << 2) | (1u << 9));  // small, proline
    EXPECT_EQ(SDM::AminoAcidProperties('h'), SDM::AminoAcidProperties('H'));
    EXPECT_EQ(SDM::AminoAcidProperties('X'), 0u);
}

TEST(ColumnConservationTest, GapsAreLeftOutUpToTheThreshold) {
    // One gap in four rows (25 %): the identical residues keep every property but are not an identity.
    EXPECT_EQ(ScoreOf({"A", "A", "-", "A"}), SDM::ConservationScore::kAllProperties);
    EXPECT_EQ(SDM::ConservationSymbol(SDM::ConservationScore::kAllProperties), '+');
    // Two gaps in four rows: no score.
    EXPECT_EQ(ScoreOf({"A", "-", "-", "A"}), SDM::ConservationScore::kNone);
    EXPECT_EQ(ScoreOf({"-", "."}), SDM::ConservationScore::kNone);
    EXPECT_EQ(SDM::ConservationSymbol(SDM::ConservationScore::kNone), ' ');
}

TEST(ColumnConservationTest, UnknownLettersKeepNoPropertyAndOneSequenceIsIdentity) {
    EXPECT_EQ(ScoreOf({"A", "X"}), 0);
    EXPECT_EQ(ScoreOf({"M"}), SDM::ConservationScore::kIdentity);
    EXPECT_TRUE(SDM::ColumnConservation({}).empty());
    EXPECT_EQ(SDM::ConservationSymbol(7), '7');
}

TEST(ColumnConservationTest, ScoresEveryColumnOfAWiderAlignment) {
    EXPECT_EQ(SDM::ColumnConservation({"IDA", "VEW"}), (std::vector<int>{9, 9, 6}));
}

}  // namespace
