#include "sdm/ColorScheme.h"

namespace SDM {

ResidueColors PlainColorScheme::colorsAt(char code, unsigned column) const {
    (void)code;  // gaps and residues alike: black on white
    (void)column;
    return ResidueColors{Common::Color(0xFF, 0xFF, 0xFF), Common::Color(0, 0, 0)};
}

}  // namespace SDM
