#include "sdm/schemes/IdentityColorScheme.h"

#include <cctype>

#include "sdm/schemes/ColumnProfile.h"
#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

namespace {
struct Shade {
    int percent;  // shared by more than this share of the rows
    std::uint8_t red, green, blue;
};
const Shade kShades[] = {{80, 0x64, 0x64, 0xFF}, {60, 0x99, 0x99, 0xFF}, {40, 0xCC, 0xCC, 0xFF}};

int ShadeFor(unsigned count, unsigned rows) {
    for (int i = 0; i < int(std::size(kShades)); ++i) {
        if (100u * count > unsigned(kShades[i].percent) * rows) return i;
    }
    return -1;
}
}  // namespace

void IdentityColorScheme::prepare(const Alignment& alignment) {
    ColumnProfile profile;
    profile.build(alignment);
    columns_.assign(profile.columns(), Consensus{});
    for (unsigned column = 0; column < profile.columns(); ++column) {
        const char letter = profile.mostFrequent(column);
        if (letter == 0) continue;
        columns_[column] = Consensus{letter, ShadeFor(profile.count(column, letter), profile.rows())};
    }
}

ResidueColors IdentityColorScheme::colorsAt(char code, unsigned column) const {
    if (column >= columns_.size()) return Uncolored();
    const Consensus& consensus = columns_[column];
    if (consensus.shade < 0 || std::toupper(static_cast<unsigned char>(code)) != consensus.letter)
        return Uncolored();
    const Shade& shade = kShades[consensus.shade];
    const Common::Color background(shade.red, shade.green, shade.blue);
    return ResidueColors{background, ContrastingText(background)};
}

}  // namespace SDM
