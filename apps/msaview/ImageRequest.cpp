#include "ImageRequest.h"

#include "RowMap.h"
#include "sdm/Alignment.h"

namespace {

std::vector<unsigned> SelectedColumns(const SDM::Selection& selection, unsigned sequence,
                                      unsigned columnCount) {
    std::vector<unsigned> columns;
    for (const SDM::Selection::Range& range : selection.ranges(sequence))
        for (unsigned column = range.first; column <= range.last && column < columnCount; ++column)
            columns.push_back(column);
    return columns;
}

}  // namespace

ImageRequest ImageRequest::FromSelection(const SDM::Alignment& alignment, const RowMap& rows) {
    ImageRequest request;
    const SDM::Selection& selection = alignment.getSelection();
    const unsigned columnCount = alignment.columnCount();
    bool wholeSequences = true;
    for (unsigned sequence : selection.sequences()) {
        const int row = rows.RowOfSequence(int(sequence));
        if (row == RowMap::kNone) continue;  // hidden sequences are not in the picture
        std::vector<unsigned> columns = SelectedColumns(selection, sequence, columnCount);
        if (columns.empty()) continue;
        wholeSequences = wholeSequences && columns.size() == columnCount;
        request.sequenceIndexes.push_back(sequence);
        request.columnsByRow.emplace(unsigned(row), std::move(columns));
    }
    if (wholeSequences)
        request.columnsByRow.clear();
    else
        request.sequenceIndexes.clear();
    return request;
}
