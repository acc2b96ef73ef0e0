#include "sdm/schemes/ZappoColorScheme.h"

namespace SDM {

ZappoColorScheme::ZappoColorScheme() {
    const Common::Color aliphatic(0xFF, 0xAF, 0xAF);
    const Common::Color aromatic(0xFF, 0xC8, 0x00);
    const Common::Color positive(0x64, 0x64, 0xFF);
    const Common::Color negative(0xFF, 0x00, 0x00);
    const Common::Color hydrophilic(0x00, 0xFF, 0x00);
    const Common::Color special(0xFF, 0x00, 0xFF);  // conformationally special: P, G
    const Common::Color cysteine(0xFF, 0xFF, 0x00);
    for (char c : {'I', 'L', 'V', 'A', 'M'}) setLetter(c, aliphatic);
    for (char c : {'F', 'W', 'Y'}) setLetter(c, aromatic);
    for (char c : {'K', 'R', 'H'}) setLetter(c, positive);
    for (char c : {'D', 'E'}) setLetter(c, negative);
    for (char c : {'S', 'T', 'N', 'Q'}) setLetter(c, hydrophilic);
    for (char c : {'P', 'G'}) setLetter(c, special);
    setLetter('C', cysteine);
}

}  // namespace SDM
