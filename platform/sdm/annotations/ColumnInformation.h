#pragma once

#include <string>
#include <vector>

#include "sdm/schemes/ColumnProfile.h"

namespace SDM {

/// The letters a sequence logo counts: the twenty amino acids, or A, C, G and U (T counted as U). Other
/// letters (X, B, N...) and gaps are left out of the counts, as WebLogo leaves them out.
const std::string& LogoLetters(bool aminoAcids);

/// The counts of the logo's letters (in LogoLetters order) among a column's letter counts.
std::vector<double> LogoCounts(const ColumnProfile::LetterCounts& letters, bool aminoAcids);

/// Information content in bits of one column's counts (in LogoLetters order), as WebLogo 3 computes it by
/// default: a Dirichlet prior of weight sqrt(letters) with the typical amino-acid composition (McCaldon &
/// Argos 1988) or equal shares of the nucleotides corrects for few sequences, and the value is the mean
/// relative entropy of the posterior against that composition. A column without counted letters holds no
/// information: 0, where WebLogo would give the prior's own value.
double InformationBits(const std::vector<double>& counts, bool aminoAcids);

/// InformationBits of every column of the profile.
std::vector<double> ColumnInformation(const ColumnProfile& profile, bool aminoAcids);

/// The most a column can hold: log2 of the number of letters (4.32 bits for proteins, 2 for nucleotides).
double MaximumBits(bool aminoAcids);

}  // namespace SDM
