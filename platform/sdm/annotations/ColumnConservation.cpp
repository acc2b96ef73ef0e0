#include "sdm/annotations/ColumnConservation.h"

#include <array>
#include <cctype>
#include <cstring>

#include "sdm/annotations/ColumnOccupancy.h"

namespace SDM {

namespace {

// Taylor's (1986) Venn diagram of the amino acids, as the AMAS method uses it.
struct Property {
    const char* members;
};
constexpr Property kProperties[kPropertyCount] = {
    {"ILVCAGMFYWHKT"},  // hydrophobic
    {"YWHKREQDNST"},    // polar
    {"VCAGDNSTP"},      // small
    {"AGS"},            // tiny
    {"ILV"},            // aliphatic
    {"FYWH"},           // aromatic
    {"HKR"},            // positive
    {"DE"},             // negative
    {"HKRDE"},          // charged
    {"P"},              // proline
};
constexpr const char* kStandard = "ACDEFGHIKLMNPQRSTVWY";

char Upper(char residue) {
    return char(std::toupper(static_cast<unsigned char>(residue)));
}

constexpr unsigned kAllBits = (1u << kPropertyCount) - 1;

// Per column letter: how many rows hold it (gaps under one code).
struct ColumnCounts {
    std::array<unsigned, 256> rows{};
    unsigned residues = 0;
    unsigned gaps = 0;
};

ColumnCounts CountColumn(const std::vector<std::string>& rows, unsigned column) {
    ColumnCounts counts;
    for (const std::string& row : rows) {
        if (!HasResidueAt(row, column)) {
            ++counts.gaps;
            continue;
        }
        ++counts.rows[static_cast<unsigned char>(Upper(row[column]))];
        ++counts.residues;
    }
    return counts;
}

int ScoreColumn(const ColumnCounts& counts, std::size_t rowCount, double maxGapShare, double rareShare) {
    const double total = double(rowCount);
    if (counts.residues == 0 || counts.gaps / total > maxGapShare) return ConservationScore::kNone;
    unsigned shared = kAllBits;  // properties every counted residue has
    unsigned absent = kAllBits;  // properties no counted residue has
    unsigned kinds = 0;
    for (std::size_t code = 0; code < counts.rows.size(); ++code) {
        if (counts.rows[code] == 0) continue;
        ++kinds;
        if (counts.rows[code] / total <= rareShare) continue;  // a stray residue does not break a property
        const unsigned bits = AminoAcidProperties(char(code));
        shared &= bits;
        absent &= ~bits;
    }
    if (kinds == 1 && counts.gaps == 0) return ConservationScore::kIdentity;
    // A gap in more than a stray row has every property: it keeps what all residues share, nothing else.
    if (counts.gaps / total > rareShare) absent = 0;
    int kept = 0;
    for (unsigned bit = 0; bit < kPropertyCount; ++bit) {
        if (((shared | absent) >> bit) & 1u) ++kept;
    }
    return kept;
}

}  // namespace

bool IsStandardAminoAcid(char residue) {
    const char upper = Upper(residue);
    return upper != 0 && std::strchr(kStandard, upper) != nullptr;
}

unsigned AminoAcidProperties(char residue) {
    if (!IsStandardAminoAcid(residue)) return 0;
    const char upper = Upper(residue);
    unsigned bits = 0;
    for (unsigned bit = 0; bit < kPropertyCount; ++bit) {
        if (std::strchr(kProperties[bit].members, upper) != nullptr) bits |= 1u << bit;
    }
    return bits;
}

std::vector<int> ColumnConservation(const std::vector<std::string>& rows, double maxGapShare,
                                    double rareShare) {
    const unsigned columns = ColumnCount(rows);
    std::vector<int> scores(columns, ConservationScore::kNone);
    if (rows.empty()) return scores;
    for (unsigned column = 0; column < columns; ++column)
        scores[column] = ScoreColumn(CountColumn(rows, column), rows.size(), maxGapShare, rareShare);
    return scores;
}

char ConservationSymbol(int score) {
    if (score == ConservationScore::kIdentity) return '*';
    if (score == ConservationScore::kAllProperties) return '+';
    if (score >= 0 && score < ConservationScore::kAllProperties) return char('0' + score);
    return ' ';
}

}  // namespace SDM
