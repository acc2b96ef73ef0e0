#pragma once

namespace SDM {
class Selection;
}
class RowMap;

/// One residue cell of the view: a row and an alignment column.
struct ResidueCell {
    int row = -1;
    int column = -1;
    bool IsValid() const { return row >= 0 && column >= 0; }
    bool operator==(const ResidueCell& other) const { return row == other.row && column == other.column; }
};

/// The rectangle of residues that a click and drag spans: from the cell where it began (the anchor) to
/// the cell under the mouse (the focus). Shift-click moves the focus and so extends the rectangle.
class SelectionRectangle {
public:
    void Start(ResidueCell cell);
    /// Moves the focus; without an anchor the cell starts a new rectangle.
    void Extend(ResidueCell cell);
    void Clear() { anchor = focus = ResidueCell(); }
    bool IsActive() const { return anchor.IsValid(); }
    ResidueCell Focus() const { return focus; }

    int FirstRow() const;
    int LastRow() const;
    int FirstColumn() const;
    int LastColumn() const;

    /// Replaces `selection` by the rectangle, translated to sequence indexes; rows without a sequence
    /// are left out.
    void ApplyTo(SDM::Selection& selection, const RowMap& rows) const;

private:
    ResidueCell anchor;
    ResidueCell focus;
};
