#include "sdm/annotations/ColumnConsensus.h"

#include <array>
#include <cctype>

#include "sdm/annotations/ColumnOccupancy.h"

namespace SDM {

namespace {

using Counts = std::array<unsigned, 256>;

ConsensusColumn MajorityOf(const Counts& counts, unsigned rowCount) {
    ConsensusColumn column;
    for (std::size_t code = 0; code < counts.size(); ++code) {
        if (counts[code] == 0 || counts[code] < column.count) continue;
        column.residue = counts[code] == column.count ? ConsensusColumn::kTie : char(code);
        column.count = counts[code];
    }
    column.percent = 100.0 * column.count / rowCount;
    return column;
}

}  // namespace

std::vector<ConsensusColumn> ColumnConsensus(const std::vector<std::string>& rows, double maxGapShare) {
    const unsigned columns = ColumnCount(rows);
    std::vector<ConsensusColumn> consensus(columns);
    if (rows.empty()) return consensus;
    const double rowCount = double(rows.size());
    for (unsigned column = 0; column < columns; ++column) {
        Counts counts{};
        unsigned residues = 0;
        for (const std::string& row : rows) {
            if (!HasResidueAt(row, column)) continue;
            ++counts[std::toupper(static_cast<unsigned char>(row[column]))];
            ++residues;
        }
        if (residues == 0 || (rowCount - residues) / rowCount > maxGapShare) continue;
        consensus[column] = MajorityOf(counts, unsigned(rows.size()));
    }
    return consensus;
}

}  // namespace SDM
