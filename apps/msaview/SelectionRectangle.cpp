#include "SelectionRectangle.h"

#include <algorithm>

#include "RowMap.h"
#include "sdm/Selection.h"

void SelectionRectangle::Start(ResidueCell cell) {
    anchor = focus = cell;
}

void SelectionRectangle::Extend(ResidueCell cell) {
    if (!anchor.IsValid()) anchor = cell;
    focus = cell;
}

int SelectionRectangle::FirstRow() const {
    return std::min(anchor.row, focus.row);
}
int SelectionRectangle::LastRow() const {
    return std::max(anchor.row, focus.row);
}
int SelectionRectangle::FirstColumn() const {
    return std::min(anchor.column, focus.column);
}
int SelectionRectangle::LastColumn() const {
    return std::max(anchor.column, focus.column);
}

void SelectionRectangle::ApplyTo(SDM::Selection& selection, const RowMap& rows) const {
    selection.clear();
    if (!IsActive() || !focus.IsValid()) return;
    for (int row = FirstRow(); row <= LastRow(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        if (sequence != RowMap::kNone)
            selection.select(unsigned(sequence), unsigned(FirstColumn()), unsigned(LastColumn()));
    }
}
