#include "sdm/schemes/HydrophobicityColorScheme.h"

#include <cmath>

namespace SDM {

namespace {
struct Hydropathy {
    char letter;
    double value;
};

// Kyte & Doolittle (1982); B, Z and X take the mean of what they may stand for.
const Hydropathy kKyteDoolittle[] = {
    {'I', 4.5},  {'V', 4.2},  {'L', 3.8},  {'F', 2.8},  {'C', 2.5},  {'M', 1.9},  {'A', 1.8},   {'G', -0.4},
    {'T', -0.7}, {'S', -0.8}, {'W', -0.9}, {'Y', -1.3}, {'P', -1.6}, {'H', -3.2}, {'E', -3.5},  {'Q', -3.5},
    {'D', -3.5}, {'N', -3.5}, {'K', -3.9}, {'R', -4.5}, {'B', -3.5}, {'Z', -3.5}, {'X', -0.49},
};
constexpr double kMost = 4.5;
constexpr double kLeast = -4.5;

Common::Color Shade(double value) {
    const double hydrophobic = (value - kLeast) / (kMost - kLeast);  // 0 hydrophilic .. 1 hydrophobic
    const auto red = static_cast<std::uint8_t>(std::lround(255.0 * hydrophobic));
    return Common::Color(red, 0, static_cast<std::uint8_t>(255 - red));
}
}  // namespace

HydrophobicityColorScheme::HydrophobicityColorScheme() {
    for (const Hydropathy& entry : kKyteDoolittle) setLetter(entry.letter, Shade(entry.value));
}

}  // namespace SDM
