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

TEST(ColumnConservationTest, GapsHaveEveryPropertyAndKeepOnlyWhatAllResiduesShare) {
    // One gap in four rows (25 %, not above the threshold): A's hydrophobic, small and tiny stay; the
    // seven properties A lacks are broken by the gap.
    EXPECT_EQ(ScoreOf({"A", "A", "-", "A"}), 3);
    // Two gaps in four rows: no score.
    EXPECT_EQ(ScoreOf({"A", "-", "-", "A"}), SDM::ConservationScore::kNone);
    EXPECT_EQ(ScoreOf({"-", "."}), SDM::ConservationScore::kNone);
    EXPECT_EQ(SDM::ConservationSymbol(SDM::ConservationScore::kNone), ' ');
}

std::vector<std::string> Column(std::vector<std::pair<char, int>> counts) {
    std::vector<std::string> rows;
    for (const auto& [letter, count] : counts)
        rows.insert(rows.end(), std::size_t(count), std::string(1, letter));
    return rows;
}

TEST(ColumnConservationTest, ResiduesInNoMoreThanThreePercentOfRowsAreLeftOut) {
    // 40 K and one D (2.4 %): every property of K is kept, but the column is no identity.
    EXPECT_EQ(ScoreOf(Column({{'K', 40}, {'D', 1}})), SDM::ConservationScore::kAllProperties);
    EXPECT_EQ(SDM::ConservationSymbol(SDM::ConservationScore::kAllProperties), '+');
    // With 20 rows one D is 5 %: K (hydrophobic polar positive charged) and D (polar small negative charged)
    // share polar and charged and both lack tiny, aliphatic, aromatic and proline.
    EXPECT_EQ(ScoreOf(Column({{'K', 19}, {'D', 1}})), 6);
    // 50 rows: K 37, W 7, I 2, R 2, L 1, P 1. L and P (2 % each) are left out; among K, W, I and R only
    // small, tiny, negative and proline are absent everywhere.
    EXPECT_EQ(ScoreOf(Column({{'K', 37}, {'W', 7}, {'I', 2}, {'R', 2}, {'L', 1}, {'P', 1}})), 4);
    // A lone gap among 50 rows is stray too.
    EXPECT_EQ(ScoreOf(Column({{'L', 49}, {'-', 1}})), SDM::ConservationScore::kAllProperties);
}

TEST(ColumnConservationTest, UnknownLettersHaveNoPropertyAndOneSequenceIsIdentity) {
    // X lacks everything: what A lacks stays absent (7), what A has is broken.
    EXPECT_EQ(ScoreOf({"A", "X"}), 7);
    EXPECT_EQ(ScoreOf({"M"}), SDM::ConservationScore::kIdentity);
    EXPECT_TRUE(SDM::ColumnConservation({}).empty());
    EXPECT_EQ(SDM::ConservationSymbol(7), '7');
}

TEST(ColumnConservationTest, ScoresEveryColumnOfAWiderAlignment) {
    EXPECT_EQ(SDM::ColumnConservation({"IDA", "VEW"}), (std::vector<int>{9, 9, 6}));
}

}  // namespace
