#pragma once

#include <QColor>
#include <optional>
#include <vector>

#include "SelectionRectangle.h"
#include "msarender/CellGeometry.h"
#include "msarender/picture/FigureMarks.h"

class AlignmentDocument;
class QPainter;
namespace SDM {
class Selection;
}

/// One residue line as the viewport shows it: its top, its row and sequence, and the columns it shows.
struct ShownLine {
    int top = 0;
    int row = -1;
    int sequenceIndex = -1;
    unsigned firstColumn = 0;  // the column at the alignment area's left edge
    unsigned endColumn = 0;    // one past the last column shown, even in part
};

/// What the view draws over the renderer's pixmaps: the current row, a light tint and a frame round selected
/// residues (the renderer draws them in their scheme's colours), a marker where hidden sequences were,
/// and the residue that Go to or Find went to.
class ViewMarks {
public:
    static const QColor kCurrentRow;      // multiplied into the name, so its letters stay black
    static const QColor kCurrentRowLine;  // above and below the row's residues
    static const QColor kSelectionFrame;
    static const QColor kSelectionTint;  // translucent, over the selected residues
    static const QColor kHiddenMarker;
    static const QColor kTargetFrame;

    /// `labelIndent`: the blank the renderer leaves before each name (a space of the font).
    ViewMarks(const CellGeometry& cells, int nameWidth, int nameGap, int labelIndent)
        : cells(cells), nameWidth(nameWidth), nameGap(nameGap), labelIndent(labelIndent) {}

    void PaintCurrentRow(QPainter& painter, const std::vector<ShownLine>& lines, int currentRow,
                         int width) const;
    void PaintSelection(QPainter& painter, const std::vector<ShownLine>& lines,
                        AlignmentDocument& document) const;
    void PaintHiddenMarkers(QPainter& painter, const std::vector<ShownLine>& lines,
                            AlignmentDocument& document) const;
    void PaintTarget(QPainter& painter, const std::vector<ShownLine>& lines, int sequenceIndex,
                     int column) const;
    /// Frames in their colours: one sequence's residues on its line, whole columns round every row of a
    /// block (their top edge on its first line shown, their bottom on its last).
    void PaintHighlights(QPainter& painter, const std::vector<ShownLine>& lines,
                         const std::vector<FigureHighlight>& highlights, AlignmentDocument& document) const;

    /// The viewport x of a column's left edge on a line.
    int ColumnX(const ShownLine& line, unsigned column) const;

private:
    bool SameRunSelected(const SDM::Selection& selection, const ShownLine& line, const ShownLine* next,
                         unsigned first, unsigned end) const;

    CellGeometry cells;
    int nameWidth;
    int nameGap;
    int labelIndent;
};
