#pragma once

#include <map>
#include <vector>

namespace SDM {
class Alignment;
}
class RowMap;

/// What CopyImageData is asked for the model's selection: whole sequences (with their names, ruler and
/// secondary structure) when every selected sequence is selected end to end, else the selected columns
/// of each row.
struct ImageRequest {
    std::vector<unsigned> sequenceIndexes;
    std::map<unsigned, std::vector<unsigned>> columnsByRow;

    bool IsEmpty() const { return sequenceIndexes.empty() && columnsByRow.empty(); }
    static ImageRequest FromSelection(const SDM::Alignment& alignment, const RowMap& rows);
};
