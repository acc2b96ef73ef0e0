#include "RowMap.h"

#include "sdm/Alignment.h"

RowMap::RowMap(const SDM::Alignment& alignment) {
    const unsigned count = alignment.size();
    rowOfSequence.assign(count, kNone);
    for (unsigned index = 0; index < count; ++index) {
        const boost::shared_ptr<SDM::Sequence> sequence = alignment.getSequence(index);
        if (!sequence || !sequence->isDisplayed()) continue;
        rowOfSequence[index] = int(sequenceOfRow.size());
        sequenceOfRow.push_back(index);
    }
}

int RowMap::SequenceOfRow(int row) const {
    if (row < 0 || row >= RowCount()) return kNone;
    return int(sequenceOfRow[std::size_t(row)]);
}

int RowMap::RowOfSequence(int sequenceIndex) const {
    if (sequenceIndex < 0 || sequenceIndex >= int(rowOfSequence.size())) return kNone;
    return rowOfSequence[std::size_t(sequenceIndex)];
}
