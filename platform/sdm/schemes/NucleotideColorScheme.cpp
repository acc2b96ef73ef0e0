#include "sdm/schemes/NucleotideColorScheme.h"

namespace SDM {

NucleotideColorScheme::NucleotideColorScheme() {
    setLetter('A', Common::Color(0x64, 0xF7, 0x3F));
    setLetter('C', Common::Color(0xFF, 0xB3, 0x40));
    setLetter('G', Common::Color(0xEB, 0x41, 0x3C));
    setLetter('T', Common::Color(0x3C, 0x88, 0xEE));
    setLetter('U', Common::Color(0x3C, 0x88, 0xEE));
}

}  // namespace SDM
