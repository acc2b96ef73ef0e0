#pragma once

#include <array>

#include "sdm/ColorScheme.h"

namespace SDM {

/// A scheme where a residue's colour depends on its letter only: one table lookup per residue.
/// Upper- and lower-case letters share a colour; gaps and unknown letters are black on white.
class TableColorScheme : public ColorScheme {
public:
    TableColorScheme();
    ResidueColors colorsAt(char code, unsigned column) const override;

protected:
    /// Gives `letter` (either case) this background, with a letter colour that stays readable on it.
    void setLetter(char letter, const Common::Color& background);

private:
    std::array<ResidueColors, 128> table_;
};

/// Black or white, whichever reads better on `background`.
Common::Color ContrastingText(const Common::Color& background);
/// Black on white: gaps and residues a scheme leaves uncoloured.
ResidueColors Uncolored();

}  // namespace SDM
