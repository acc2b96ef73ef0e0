#pragma once

#include <string>
#include <vector>

namespace SDM {

/// Gap share above which a column gets no conservation score (Jalview's default for its row).
constexpr double kDefaultConservationGapShare = 0.25;

/// Scores of the conservation row.
namespace ConservationScore {
constexpr int kNone = -1;           // too many gaps, or no residues
constexpr int kAllProperties = 10;  // every property kept, residues differ
constexpr int kIdentity = 11;       // one residue in every row
}  // namespace ConservationScore

/// Share of rows at or below which a residue is too rare to break a property (Jalview's 3 %).
constexpr double kDefaultRareResidueShare = 0.03;

/// Amino-acid conservation by the AMAS method (Livingstone & Barton 1993) as Jalview scores it: a column
/// scores the number of Taylor's ten physico-chemical properties (hydrophobic, polar, small, tiny,
/// aliphatic, aromatic, positive, negative, charged, proline) that all its residues share, present or
/// absent alike, and 11 when every row holds the same residue. Residues in no more than `rareShare` of the
/// rows are left out; gaps count as a residue with every property, so they break only the properties that
/// are absent everywhere else. A column with more gaps than `maxGapShare` of the rows scores kNone. A
/// letter outside the twenty amino acids has no property.
std::vector<int> ColumnConservation(const std::vector<std::string>& rows,
                                    double maxGapShare = kDefaultConservationGapShare,
                                    double rareShare = kDefaultRareResidueShare);

/// Bit set of the ten properties of an amino-acid letter (either case); 0 for other letters.
unsigned AminoAcidProperties(char residue);
/// Bits of the ten properties, in the order above.
constexpr unsigned kPropertyCount = 10;
/// Whether the letter is one of the twenty amino acids.
bool IsStandardAminoAcid(char residue);

/// The symbol of a score: its digit, '+' for 10, '*' for identity, ' ' for none.
char ConservationSymbol(int score);

}  // namespace SDM
