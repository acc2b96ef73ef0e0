#pragma once

#include <string>
#include <vector>

namespace SDM {

class Alignment;

/// The aligned texts of the alignment's own sequences (not the consensus, not empty entries), hidden ones
/// included: column statistics describe the alignment, not the view.
std::vector<std::string> AlignedTexts(const Alignment& alignment);

/// Whether a picture shows sequence `index`: displayed, not the consensus, and listed in `chosen` when it
/// lists any.
bool SequenceShown(const Alignment& alignment, unsigned index, const std::vector<unsigned>& chosen);
/// The aligned texts of the sequences a picture shows, in the alignment's order.
std::vector<std::string> ShownTexts(const Alignment& alignment, const std::vector<unsigned>& chosen);

/// Columns of a set of aligned texts: the longest text; shorter texts count as gaps past their end.
unsigned ColumnCount(const std::vector<std::string>& rows);

/// Whether the text holds a residue (not a gap) at `column`.
bool HasResidueAt(const std::string& row, unsigned column);

/// Non-gap residues per column.
std::vector<unsigned> ColumnOccupancy(const std::vector<std::string>& rows);

}  // namespace SDM
