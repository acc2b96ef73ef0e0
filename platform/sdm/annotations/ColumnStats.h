#pragma once

#include <string>
#include <vector>

#include "sdm/annotations/ColumnConsensus.h"
#include "sdm/schemes/ColumnProfile.h"

namespace SDM {

/// Everything the column rows show about one column, computed once: the table of --stats and the rows of a
/// figure come from the same functions.
struct ColumnStats {
    unsigned residues = 0;
    unsigned gaps = 0;
    double occupancy = 0;  // residues as a share of the rows, 0 to 1
    ConsensusColumn consensus;
    int conservation = -1;  // ConservationScore; kNone (-1) for nucleic acids and gappy columns
    double quality = 0;     // Jalview's quality; 0 for nucleic acids
    double bits = 0;        // information content
    ColumnProfile::LetterCounts letters{};
};

/// The statistics of every column of `rows` (the aligned texts of the sequences shown). Conservation and
/// quality are scored for amino acids only.
std::vector<ColumnStats> ComputeColumnStats(const std::vector<std::string>& rows, bool aminoAcids);

}  // namespace SDM
