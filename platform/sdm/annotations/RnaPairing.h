#pragma once

#include <string>
#include <vector>

namespace SDM {

/// Base pairs of an RNA secondary structure in pairing notation (WUSS / dot-bracket): "(...)", "<...>",
/// "[...]" and "{...}" pair, each bracket type with its own kind; every other character is unpaired.
struct RnaPairing {
    static constexpr int kUnpaired = -1;

    std::vector<int> partner;         // per column the paired column, kUnpaired for none
    std::vector<int> helix;           // per column the helix (0, 1, ... left to right), kUnpaired for none
    std::vector<unsigned> unmatched;  // columns of brackets without a partner, in column order
    int helixCount = 0;
};

/// Pairs the brackets of `notation`. A helix is a stack of pairs (i, j), (i', j') with i < i' and j' < j
/// and no other pair between them on either side, so bulges and interior loops stay inside one helix.
/// Brackets without a partner are listed and left unpaired. Angle brackets written the other way round
/// (">>>...<<<", as some older files do) are read that way when that pairs more of them.
RnaPairing PairRnaStructure(const std::string& notation);

/// Whether the text looks like pairing notation rather than DSSP letters: brackets and no helix letters.
bool IsPairingNotation(const std::string& notation);

}  // namespace SDM
