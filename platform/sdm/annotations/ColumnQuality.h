#pragma once

#include <string>
#include <vector>

namespace SDM {

/// Jalview's alignment quality of amino-acid columns (its "Quality" row), from BLOSUM62. Per column j,
/// each row's residue r is the vector s_r of 4 + BLOSUM62(i, r) over the 23 symbols A..X (a gap or an
/// unknown letter: 4 + the lowest score, -4). The column's mean vector is x_i = (sum over rows of
/// BLOSUM62(i, r) + 4 * 24 + gaps * -4) / rows, as Jalview sums it, and its spread D_j is the sum over rows
/// of |x - s_r|. Quality_j = (max over columns of D - D_j) * (rows - gaps_j) / rows: high where rows agree
/// on similar residues, scaled down by the column's gaps. Letters are case-folded; short rows count as gaps.
std::vector<double> ColumnQuality(const std::vector<std::string>& rows);

}  // namespace SDM
