#include "sdm/schemes/TableColorScheme.h"

#include <cctype>

namespace SDM {

namespace {
// Below this perceived brightness (0-255) black letters become hard to read.
constexpr int kDarkBackground = 110;
}  // namespace

Common::Color ContrastingText(const Common::Color& background) {
    const int brightness =
        (299 * background.Red() + 587 * background.Green() + 114 * background.Blue()) / 1000;
    return brightness < kDarkBackground ? Common::Color(0xFF, 0xFF, 0xFF) : Common::Color(0, 0, 0);
}

ResidueColors Uncolored() {
    return ResidueColors{Common::Color(0xFF, 0xFF, 0xFF), Common::Color(0, 0, 0)};
}

TableColorScheme::TableColorScheme() {
    table_.fill(Uncolored());
}

void TableColorScheme::setLetter(char letter, const Common::Color& background) {
    const ResidueColors colors{background, ContrastingText(background)};
    table_[static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(letter)))] = colors;
    table_[static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(letter)))] = colors;
}

ResidueColors TableColorScheme::colorsAt(char code, unsigned column) const {
    (void)column;  // the letter alone decides
    const unsigned char index = static_cast<unsigned char>(code);
    return index < table_.size() ? table_[index] : Uncolored();
}

}  // namespace SDM
