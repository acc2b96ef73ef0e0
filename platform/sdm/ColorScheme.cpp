#include "sdm/ColorScheme.h"

#include "sqv/UserProperties.h"

namespace SDM {

ResidueColors MissingDataColors() {
    return ResidueColors{Common::Color(0xD0, 0xD0, 0xD0), Common::Color(0x40, 0x40, 0x40)};
}

ResidueColors ColorScheme::colorsFor(char code, unsigned column) const {
    if (SQC::SequenceConstants::IsMissing(code)) return MissingDataColors();
    return colorsAt(code, column);
}

ResidueColors PlainColorScheme::colorsAt(char code, unsigned column) const {
    (void)code;  // gaps and residues alike: black on white
    (void)column;
    return ResidueColors{Common::Color(0xFF, 0xFF, 0xFF), Common::Color(0, 0, 0)};
}

}  // namespace SDM
