#include "sdm/annotations/ColumnConservation.h"

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

int ScoreColumn(const std::vector<std::string>& rows, unsigned column, double maxGapShare) {
    unsigned residues = 0;
    unsigned shared = (1u << kPropertyCount) - 1;  // properties every residue has
    unsigned absent = (1u << kPropertyCount) - 1;  // properties no residue has
    bool identical = true;
    bool standard = true;
    char first = 0;
    for (const std::string& row : rows) {
        if (!HasResidueAt(row, column)) continue;
        const char residue = Upper(row[column]);
        if (residues++ == 0) first = residue;
        identical = identical && residue == first;
        standard = standard && IsStandardAminoAcid(residue);
        const unsigned bits = AminoAcidProperties(residue);
        shared &= bits;
        absent &= ~bits;
    }
    const double gaps = double(rows.size() - residues);
    if (residues == 0 || gaps / double(rows.size()) > maxGapShare) return ConservationScore::kNone;
    if (identical && gaps == 0) return ConservationScore::kIdentity;
    if (!standard) return 0;
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

std::vector<int> ColumnConservation(const std::vector<std::string>& rows, double maxGapShare) {
    const unsigned columns = ColumnCount(rows);
    std::vector<int> scores(columns, ConservationScore::kNone);
    if (rows.empty()) return scores;
    for (unsigned column = 0; column < columns; ++column) scores[column] = ScoreColumn(rows, column, maxGapShare);
    return scores;
}

char ConservationSymbol(int score) {
    if (score == ConservationScore::kIdentity) return '*';
    if (score == ConservationScore::kAllProperties) return '+';
    if (score >= 0 && score < ConservationScore::kAllProperties) return char('0' + score);
    return ' ';
}

}  // namespace SDM
