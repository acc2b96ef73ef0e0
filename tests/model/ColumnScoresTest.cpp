// Information content and quality of columns: worked by hand, and against values recorded from WebLogo 3
// and Jalview 2.11 (tests/data/columns).

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "formats/AlignmentReader.h"
#include "sdm/annotations/ColumnInformation.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/annotations/ColumnQuality.h"
#include "sdm/annotations/ColumnStats.h"

namespace {

using Rows = std::vector<std::string>;

std::string DataPath(const std::string& name) {
    return std::string(MSARENDER_TEST_DATA) + "/" + name;
}

Rows TextsOf(const std::string& name) {
    const Formats::ReadResult read = Formats::ReadAlignmentFile(DataPath(name));
    EXPECT_TRUE(read.ok()) << read.error.ToString();
    return read.ok() ? SDM::AlignedTexts(*read.alignment) : Rows();
}

std::vector<double> Bits(const Rows& rows, bool aminoAcids) {
    SDM::ColumnProfile profile;
    profile.build(rows);
    return SDM::ColumnInformation(profile, aminoAcids);
}

// Information of counts in nats, straight from the definition, for columns worked by hand: the
// posterior mean relative entropy of Dirichlet(counts + prior) against the prior's composition.
TEST(ColumnInformationTest, ColumnsWorkedByHand) {
    // One nucleotide, 4 of 4 rows: alpha = (4.5, .5, .5, .5), A = 6;
    // bits = (ln 4 - psi(7) + (4.5 psi(5.5) + 3 * .5 psi(1.5)) / 6) / ln 2.
    const double psi7 = 1.872784335098467, psi55 = 1.611093148581751, psi15 = 0.03648997397857652;
    const double psi35 = 1.103156640645243;
    const double oneResidue = (std::log(4.0) - psi7 + (4.5 * psi55 + 1.5 * psi15) / 6) / std::log(2.0);
    const std::vector<double> bits = Bits({"A-", "A-", "AC", "AG"}, false);
    ASSERT_EQ(bits.size(), 2u);
    EXPECT_NEAR(bits[0], oneResidue, 1e-9);
    // Two residues 50/50 hold less than one; both are far below the 2 bits a huge column would reach.
    const double half = Bits({"A", "A", "C", "C"}, false)[0];
    EXPECT_LT(half, bits[0]);
    // alpha = (2.5, 2.5, .5, .5).
    EXPECT_NEAR(half, (std::log(4.0) - psi7 + (2 * 2.5 * psi35 + 2 * .5 * psi15) / 6) / std::log(2.0), 1e-9);
    EXPECT_GT(half, 0.0);
    // Many identical residues approach the 2-bit maximum; a 50/50 column approaches 1 bit.
    EXPECT_NEAR(Bits(Rows(4000, "G"), false)[0], 2.0, 0.01);
}

TEST(ColumnInformationTest, GapsAndUnknownLettersAreNotCountedAndAnEmptyColumnHoldsNothing) {
    // All gaps, and a column of N only (not a counted letter): no information.
    const std::vector<double> bits = Bits({"-N", ".N", "-N"}, false);
    EXPECT_EQ(bits, (std::vector<double>{0.0, 0.0}));
    // One sequence: a single residue is all the column holds, whatever the gaps around it.
    EXPECT_DOUBLE_EQ(Bits({"W"}, true)[0], Bits({"W", "-", "-"}, true)[0]);
    // T and U are one letter of the nucleotide logo; case does not matter.
    EXPECT_DOUBLE_EQ(Bits({"T", "u", "U"}, false)[0], Bits({"U", "U", "U"}, false)[0]);
}

// WebLogo's logodata: position, one count per letter, then Entropy (nats) Low High Weight.
struct WebLogoColumn {
    std::vector<double> counts;
    double bits = 0;
};

std::vector<WebLogoColumn> ReadWebLogo(const std::string& name, std::size_t letters) {
    std::ifstream in(DataPath("columns/" + name));
    std::vector<WebLogoColumn> columns;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int position = 0;
        fields >> position;
        WebLogoColumn column;
        column.counts.resize(letters);
        for (double& count : column.counts) fields >> count;
        fields >> column.bits;
        column.bits /= std::log(2.0);
        columns.push_back(column);
    }
    return columns;
}

void ExpectWebLogoBits(const std::string& alignment, const std::string& recorded, bool aminoAcids) {
    const Rows rows = TextsOf(alignment);
    SDM::ColumnProfile profile;
    profile.build(rows);
    const std::vector<WebLogoColumn> expected = ReadWebLogo(recorded, SDM::LogoLetters(aminoAcids).size());
    ASSERT_EQ(profile.columns(), expected.size());
    for (unsigned column = 0; column < profile.columns(); ++column) {
        const std::vector<double> counts = SDM::LogoCounts(profile.letters(column), aminoAcids);
        EXPECT_EQ(counts, expected[column].counts) << alignment << " column " << column + 1;
        EXPECT_NEAR(SDM::InformationBits(counts, aminoAcids), expected[column].bits, 0.02)
            << alignment << " column " << column + 1;
    }
}

TEST(ColumnInformationTest, MatchesWebLogoOnEveryColumnOfAProteinAndAnRnaFamily) {
    ExpectWebLogoBits("fn3.sto", "fn3.weblogo.txt", true);
    ExpectWebLogoBits("srp-euk.sto", "srp-euk.weblogo.txt", false);
}

TEST(ColumnQualityTest, MatchesJalviewOnEveryColumnOfGlobins50) {
    std::ifstream in(DataPath("columns/globins50.jalview-quality.tsv"));
    std::vector<double> expected;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int column = 0;
        std::string conservation;
        double quality = 0;
        fields >> column >> conservation >> quality;
        expected.push_back(quality);
    }
    const std::vector<double> quality = SDM::ColumnQuality(TextsOf("globins50.afa"));
    ASSERT_EQ(quality.size(), expected.size());
    ASSERT_EQ(quality.size(), 171u);
    for (std::size_t column = 0; column < quality.size(); ++column)
        EXPECT_NEAR(quality[column], expected[column], 1e-3) << "column " << column + 1;
}

TEST(ColumnQualityTest, ColumnsWorkedByHand) {
    // Two rows: the mean vector carries Jalview's offset (4 * 24) / 2 against each row's 4, so every row
    // lies 44 from it in each of the 23 dimensions, plus its own difference. Column 1 (W, W) and column 2
    // (gaps) have no difference: D = 2 * 44 * sqrt(23). Column 3 (W, C): the rows differ by
    // h_i = (B62[i][W] - B62[i][C]) / 2 either way, D = |44 - h| + |44 + h|, the widest.
    const std::vector<double> quality = SDM::ColumnQuality({"W-W", "W-C"});
    ASSERT_EQ(quality.size(), 3u);
    const double h[] = {-1.5, 0,   -.5, -.5, -5.5, .5,  .5, .5, .5,  -1, -.5, 0,
                        0,    1.5, -.5, -1,  -.5,  6.5, 2,  -1, -.5, 0,  0};
    double below = 0, above = 0;
    for (double d : h) {
        below += (44 - d) * (44 - d);
        above += (44 + d) * (44 + d);
    }
    const double widest = std::sqrt(below) + std::sqrt(above);
    const double still = 2 * 44 * std::sqrt(23.0);
    EXPECT_NEAR(quality[0], widest - still, 1e-9);
    EXPECT_DOUBLE_EQ(quality[1], 0.0);  // (rows - gaps) / rows leaves nothing
    EXPECT_DOUBLE_EQ(quality[2], 0.0);
    // Half the rows gapped halves what is left: one W among a gap.
    const std::vector<double> gapped = SDM::ColumnQuality({"WW", "W-"});
    EXPECT_GT(gapped[0], 0.0);
    EXPECT_NEAR(SDM::ColumnQuality({"W", "w"})[0], 0.0, 1e-12);  // one column: nothing to compare with
    EXPECT_TRUE(SDM::ColumnQuality({}).empty());
}

TEST(ColumnStatsTest, OneSequenceAndNucleicAcidsScoreWhatTheyCan) {
    const std::vector<SDM::ColumnStats> protein = SDM::ComputeColumnStats({"Mk-"}, true);
    ASSERT_EQ(protein.size(), 3u);
    EXPECT_EQ(protein[1].residues, 1u);
    EXPECT_EQ(protein[1].consensus.residue, 'K');
    EXPECT_DOUBLE_EQ(protein[1].consensus.percent, 100.0);
    EXPECT_EQ(protein[1].conservation, 11);
    EXPECT_EQ(protein[1].letters['K' - 'A'], 1u);
    EXPECT_EQ(protein[2].gaps, 1u);
    EXPECT_DOUBLE_EQ(protein[2].occupancy, 0.0);
    EXPECT_EQ(protein[2].consensus.residue, 0);
    EXPECT_DOUBLE_EQ(protein[2].bits, 0.0);
    const std::vector<SDM::ColumnStats> rna = SDM::ComputeColumnStats({"AC", "AG"}, false);
    EXPECT_EQ(rna[0].conservation, -1);
    EXPECT_DOUBLE_EQ(rna[0].quality, 0.0);
    EXPECT_DOUBLE_EQ(rna[1].occupancy, 1.0);
    EXPECT_EQ(rna[1].consensus.residue, '+');
    EXPECT_GT(rna[0].bits, rna[1].bits);
}

}  // namespace
