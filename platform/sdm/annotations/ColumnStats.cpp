#include "sdm/annotations/ColumnStats.h"

#include "sdm/annotations/ColumnConservation.h"
#include "sdm/annotations/ColumnInformation.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/annotations/ColumnQuality.h"

namespace SDM {

std::vector<ColumnStats> ComputeColumnStats(const std::vector<std::string>& rows, bool aminoAcids) {
    ColumnProfile profile;
    profile.build(rows);
    const std::vector<unsigned> occupancy = ColumnOccupancy(rows);
    const std::vector<ConsensusColumn> consensus = ColumnConsensus(rows);
    const std::vector<double> bits = ColumnInformation(profile, aminoAcids);
    const std::vector<int> conservation = aminoAcids ? ColumnConservation(rows) : std::vector<int>();
    const std::vector<double> quality = aminoAcids ? ColumnQuality(rows) : std::vector<double>();
    std::vector<ColumnStats> stats(occupancy.size());
    for (std::size_t column = 0; column < stats.size(); ++column) {
        ColumnStats& one = stats[column];
        one.residues = occupancy[column];
        one.gaps = unsigned(rows.size()) - one.residues;
        one.occupancy = rows.empty() ? 0 : double(one.residues) / double(rows.size());
        one.consensus = consensus[column];
        one.bits = bits[column];
        one.letters = profile.letters(unsigned(column));
        if (!aminoAcids) continue;
        one.conservation = conservation[column];
        one.quality = quality[column];
    }
    return stats;
}

}  // namespace SDM
