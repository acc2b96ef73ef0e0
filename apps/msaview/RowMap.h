#pragma once

#include <vector>

namespace SDM {
class Alignment;
}

/// The rows the renderer shows: the displayed sequences in model order, consensus included while shown.
/// Rows are what the hit tests and CurrSeqIndex speak; the selection and the host speak sequence indexes.
class RowMap {
public:
    static constexpr int kNone = -1;

    RowMap() = default;
    explicit RowMap(const SDM::Alignment& alignment);

    int RowCount() const { return int(sequenceOfRow.size()); }
    int SequenceOfRow(int row) const;
    int RowOfSequence(int sequenceIndex) const;

private:
    std::vector<unsigned> sequenceOfRow;
    std::vector<int> rowOfSequence;  // kNone for a sequence without a row
};
