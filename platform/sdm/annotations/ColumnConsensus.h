#pragma once

#include <string>
#include <vector>

namespace SDM {

/// The consensus of one column: its most frequent residue and how strong it is.
struct ConsensusColumn {
    /// Tie marker: two or more residues share the highest count.
    static constexpr char kTie = '+';

    char residue = 0;    // upper case; kTie for a tie; 0 where nothing is shown (mostly gaps, or no rows)
    unsigned count = 0;  // rows holding the most frequent residue (also for a tie)
    double percent = 0;  // count as a share of all rows, gaps included, 0-100
};

/// Gap share above which a column shows no consensus.
constexpr double kDefaultConsensusGapShare = 0.5;

/// Per column the majority residue (letters case-folded) with its share of all rows. Columns whose gaps
/// are more than `maxGapShare` of the rows show nothing, so that a lone residue among gaps does not look
/// like a consensus.
std::vector<ConsensusColumn> ColumnConsensus(const std::vector<std::string>& rows,
                                             double maxGapShare = kDefaultConsensusGapShare);

}  // namespace SDM
