#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace SDM {

class Alignment;

/// Letter counts of every column of an alignment (case folded), for the schemes that colour by column
/// composition. The consensus row and empty sequence entries are left out; gaps count in the row total.
class ColumnProfile {
public:
    using LetterCounts = std::array<std::uint32_t, 26>;

    void build(const Alignment& alignment);
    /// The profile of some aligned texts only (the sequences a picture shows, say).
    void build(const std::vector<std::string>& rows);

    unsigned rows() const { return rows_; }
    unsigned columns() const { return unsigned(counts_.size()); }
    /// How many rows hold `letter` (either case) in `column`; 0 outside the profile.
    unsigned count(unsigned column, char letter) const;
    /// The most frequent letter of the column (upper case; the earlier letter on a tie), 0 for none.
    char mostFrequent(unsigned column) const;
    /// Counts of 'A' to 'Z' in `column` (which must be below columns()).
    const LetterCounts& letters(unsigned column) const { return counts_[column]; }

private:
    void addRow(const std::string& aligned);

    std::vector<LetterCounts> counts_;
    unsigned rows_ = 0;
};

}  // namespace SDM
