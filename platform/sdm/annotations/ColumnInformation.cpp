#include "sdm/annotations/ColumnInformation.h"

#include <cmath>
#include <numeric>

namespace SDM {

namespace {

const std::string kAminoAcids = "ACDEFGHIKLMNPQRSTVWY";
const std::string kNucleotides = "ACGU";
// Average amino-acid composition of proteins (McCaldon & Argos 1988), in kAminoAcids order, as WebLogo.
const std::vector<double> kAminoAcidComposition = {0.082, 0.017, 0.053, 0.062, 0.039, 0.072, 0.022,
                                                   0.052, 0.057, 0.090, 0.024, 0.044, 0.051, 0.040,
                                                   0.057, 0.069, 0.058, 0.066, 0.013, 0.032};
const std::vector<double> kEqualNucleotides(4, 0.25);

// The digamma function for x > 0: the recurrence up to 6, then its asymptotic series.
double Digamma(double x) {
    double result = 0;
    for (; x < 6; x += 1) result -= 1 / x;
    const double inverse = 1 / x;
    const double square = inverse * inverse;
    return result + std::log(x) - 0.5 * inverse -
           square *
               (1.0 / 12 - square * (1.0 / 120 - square * (1.0 / 252 - square * (1.0 / 240 - square / 132))));
}

}  // namespace

const std::string& LogoLetters(bool aminoAcids) {
    return aminoAcids ? kAminoAcids : kNucleotides;
}

std::vector<double> LogoCounts(const ColumnProfile::LetterCounts& letters, bool aminoAcids) {
    const std::string& alphabet = LogoLetters(aminoAcids);
    std::vector<double> counts(alphabet.size());
    for (std::size_t i = 0; i < alphabet.size(); ++i) counts[i] = letters[alphabet[i] - 'A'];
    if (!aminoAcids) counts[3] += letters['T' - 'A'];
    return counts;
}

double InformationBits(const std::vector<double>& counts, bool aminoAcids) {
    const std::vector<double>& composition = aminoAcids ? kAminoAcidComposition : kEqualNucleotides;
    if (counts.size() != composition.size() || std::accumulate(counts.begin(), counts.end(), 0.0) <= 0)
        return 0;
    const double total = std::accumulate(composition.begin(), composition.end(), 0.0);
    const double weight = std::sqrt(double(composition.size()));
    double sum = 0;  // A, the posterior's total
    std::vector<double> alpha(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        alpha[i] = counts[i] + weight * composition[i];
        sum += alpha[i];
    }
    // In nats: minus the posterior mean of log p_prior, minus the posterior mean entropy (Wolpert & Wolf).
    double crossEntropy = 0;
    double meanEntropy = Digamma(sum + 1);
    for (std::size_t i = 0; i < alpha.size(); ++i) {
        crossEntropy -= alpha[i] / sum * std::log(composition[i] / total);
        meanEntropy -= alpha[i] * Digamma(alpha[i] + 1) / sum;
    }
    return (crossEntropy - meanEntropy) / std::log(2.0);
}

std::vector<double> ColumnInformation(const ColumnProfile& profile, bool aminoAcids) {
    std::vector<double> bits(profile.columns());
    for (unsigned column = 0; column < profile.columns(); ++column)
        bits[column] = InformationBits(LogoCounts(profile.letters(column), aminoAcids), aminoAcids);
    return bits;
}

double MaximumBits(bool aminoAcids) {
    return std::log2(double(LogoLetters(aminoAcids).size()));
}

}  // namespace SDM
