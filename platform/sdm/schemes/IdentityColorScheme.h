#pragma once

#include <vector>

#include "sdm/ColorScheme.h"

namespace SDM {

/// Percentage identity: a residue that matches its column's most frequent residue is shaded by how many
/// rows share it (more than 80%, 60%, 40%: dark, medium, light blue); all others stay white.
class IdentityColorScheme : public ColorScheme {
public:
    std::string name() const override { return "identity"; }
    void prepare(const Alignment& alignment) override;
    bool dependsOnColumn() const override { return true; }
    ResidueColors colorsAt(char code, unsigned column) const override;

private:
    struct Consensus {
        char letter = 0;  // upper case; 0 for an all-gap column
        int shade = -1;   // index into the shades, -1 for none
    };
    std::vector<Consensus> columns_;
};

}  // namespace SDM
