#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace SDM {

class Alignment;

/// Letter counts of every column of an alignment (case folded), for the schemes that colour by column
/// composition. The consensus row and empty sequence entries are left out; gaps count in the row total.
class ColumnProfile {
public:
    void build(const Alignment& alignment);

    unsigned rows() const { return rows_; }
    unsigned columns() const { return unsigned(counts_.size()); }
    /// How many rows hold `letter` (either case) in `column`; 0 outside the profile.
    unsigned count(unsigned column, char letter) const;
    /// The most frequent letter of the column (upper case; the earlier letter on a tie), 0 for none.
    char mostFrequent(unsigned column) const;

private:
    std::vector<std::array<std::uint32_t, 26>> counts_;
    unsigned rows_ = 0;
};

}  // namespace SDM
