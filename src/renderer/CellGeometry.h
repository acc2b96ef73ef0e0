#pragma once

#include <QRect>
#include <algorithm>
#include <climits>

#include "msarender/FontAttributes.h"

/// Turns cell counts into pixels and pixels back into cells: the one place where composition, hit testing
/// and the tests' probe coordinates do this arithmetic. A cell is one residue column wide and one grid row
/// high; lines are grid rows of the composed view.
class CellGeometry {
public:
    CellGeometry(int cellWidth, int cellHeight) : width(cellWidth), height(cellHeight) {}
    explicit CellGeometry(const SQC::FontAttributes& attributes)
        : CellGeometry(attributes.GetMaxWidth(), attributes.GetMaxHeight()) {}

    int CellWidth() const { return width; }
    int CellHeight() const { return height; }
    bool IsUsable() const { return width > 0 && height > 0; }

    /// Left edge of the cell `columnOffset` columns into a strip; saturates at the ends of int, where
    /// hostile scroll values and points would otherwise overflow.
    int ColumnLeft(long long columnOffset) const { return Saturate(columnOffset * width); }
    /// Top edge of grid row `gridRow`; saturates like ColumnLeft.
    int LineTop(long long gridRow) const { return Saturate(gridRow * height); }
    /// Text baseline of a line: its bottom edge.
    int Baseline(int lineTop) const { return lineTop + height; }
    /// The rectangle of one cell.
    QRect Cell(int columnOffset, int lineTop) const {
        return QRect(ColumnLeft(columnOffset), lineTop, width, height);
    }

    /// Column offset holding pixel x; floors, so points left of the strip give negative offsets.
    int ColumnAt(int x) const { return FloorDiv(x, width); }
    /// Grid row holding pixel y; floors, so points above the view give negative rows.
    int LineAt(int y) const { return FloorDiv(y, height); }
    /// Top of the grid row holding pixel y: the key under which composition records that line.
    int LineKey(int y) const { return LineTop(LineAt(y)); }

private:
    static int Saturate(long long value) { return int(std::clamp<long long>(value, INT_MIN, INT_MAX)); }
    static int FloorDiv(int value, int divisor) {
        if (divisor <= 0) return 0;
        const int quotient = value / divisor;
        return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
    }

    int width;
    int height;
};
