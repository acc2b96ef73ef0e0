#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sdm/ColorScheme.h"

namespace SDM {

/// The Clustal X protein colours: a residue is coloured only when its column's composition supports its
/// category (hydrophobic blue, positive red, negative magenta, polar green, aromatic cyan, cysteine pink);
/// glycine (orange) and proline (yellow) are always coloured. Before `prepare`, and in columns the last
/// `prepare` did not see, only G and P are coloured.
class ClustalColorScheme : public ColorScheme {
public:
    ClustalColorScheme();
    std::string name() const override { return "clustal"; }
    void prepare(const Alignment& alignment) override;
    bool dependsOnColumn() const override { return true; }
    ResidueColors colorsAt(char code, unsigned column) const override;

private:
    struct Rule {
        Common::Color background;
        std::uint64_t conditions;  // the column must satisfy one of these (bits of column facts)
    };

    void addRule(const char* letters, const Common::Color& background, const char* conditions);

    std::array<std::vector<Rule>, 26> rules_;  // per letter, in priority order
    std::vector<std::uint64_t> columnFacts_;   // per column, which conditions hold
};

}  // namespace SDM
