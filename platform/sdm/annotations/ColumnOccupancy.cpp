#include "sdm/annotations/ColumnOccupancy.h"

#include <algorithm>

#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

namespace SDM {

std::vector<std::string> AlignedTexts(const Alignment& alignment) {
    std::vector<unsigned> indexes;
    alignment.getNonTransientIndexes(indexes, false);
    std::vector<std::string> rows;
    rows.reserve(indexes.size());
    for (unsigned index : indexes) {
        if (const auto sequence = alignment.getSequence(index)) rows.push_back(sequence->getAligned());
    }
    return rows;
}

bool SequenceShown(const Alignment& alignment, unsigned index, const std::vector<unsigned>& chosen) {
    const auto sequence = alignment.getSequence(index);
    return sequence && !sequence->isTransient() && sequence->isDisplayed() &&
           (chosen.empty() || std::find(chosen.begin(), chosen.end(), index) != chosen.end());
}

std::vector<std::string> ShownTexts(const Alignment& alignment, const std::vector<unsigned>& chosen) {
    std::vector<std::string> texts;
    for (unsigned index = 0; index < alignment.size(); ++index)
        if (SequenceShown(alignment, index, chosen))
            texts.push_back(alignment.getSequence(index)->getAligned());
    return texts;
}

unsigned ColumnCount(const std::vector<std::string>& rows) {
    std::size_t columns = 0;
    for (const std::string& row : rows) columns = std::max(columns, row.size());
    return unsigned(columns);
}

bool HasResidueAt(const std::string& row, unsigned column) {
    return column < row.size() && !SQC::SequenceConstants::IsGap(row[column]);
}

std::vector<unsigned> ColumnOccupancy(const std::vector<std::string>& rows) {
    std::vector<unsigned> counts(ColumnCount(rows), 0);
    for (const std::string& row : rows) {
        for (unsigned column = 0; column < row.size(); ++column) {
            if (HasResidueAt(row, column)) ++counts[column];
        }
    }
    return counts;
}

}  // namespace SDM
