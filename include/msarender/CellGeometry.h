#pragma once

#include <QPoint>
#include <QRect>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "msarender/FontAttributes.h"

/// Grid rows of the ruler band at the top of every block, whether or not the ruler is drawn.
constexpr unsigned kRulerBandRows = 2;

/// Turns cells into pixels and pixels back into cells: the one place where layout, composition, hit
/// testing, export and the tests' probe coordinates do this arithmetic. A cell is one residue column wide
/// and one grid row high; lines are grid rows; a block is `rowsPerBlock` grid rows, its ruler band first.
class CellGeometry {
public:
    CellGeometry(int cellWidth, int cellHeight, int fontDescent = 0)
        : width(cellWidth), height(cellHeight), descent(fontDescent) {}
    explicit CellGeometry(const SQC::FontAttributes& attributes)
        : CellGeometry(attributes.GetMaxWidth(), attributes.GetMaxHeight(),
                       attributes.GetMetrics().descent()) {}

    int CellWidth() const { return width; }
    int CellHeight() const { return height; }
    bool IsUsable() const { return width > 0 && height > 0; }

    // Cells to pixels, for drawing: saturate at the ends of int, where hostile scroll values and points
    // would otherwise overflow.
    /// Left edge of the cell `columnOffset` columns into a strip.
    int ColumnLeft(std::int64_t columnOffset) const { return SaturateToInt(Width(columnOffset)); }
    /// Top edge of grid row `gridRow`.
    int LineTop(std::int64_t gridRow) const { return SaturateToInt(Height(gridRow)); }
    /// Text baseline of a line: where its residue letters stand, the font's descent above its bottom edge,
    /// so that labels line up with their letters and their descenders stay inside the line.
    int Baseline(int lineTop) const { return lineTop + height - descent; }
    /// Height of the ruler band.
    int RulerBandHeight() const { return LineTop(kRulerBandRows); }
    /// The rectangle of one cell, and its centre (where a probe of its background looks).
    QRect Cell(int columnOffset, int lineTop) const {
        return QRect(ColumnLeft(columnOffset), lineTop, width, height);
    }
    QPoint CellCentre(int columnOffset, int lineTop) const {
        return QPoint(SaturateToInt(CentreX(columnOffset)),
                      SaturateToInt(std::int64_t(lineTop) + height / 2));
    }

    // Cells to pixels, for extents and origins that are compared rather than drawn: exact in 64 bits.
    std::int64_t Width(std::int64_t columns) const { return columns * width; }
    std::int64_t Height(std::int64_t lines) const { return lines * height; }
    /// Horizontal centre of the cell `columnOffset` columns into a strip.
    std::int64_t CentreX(std::int64_t columnOffset) const { return Width(columnOffset) + width / 2; }
    /// Top of block `block` in the whole wrapped alignment.
    std::int64_t BlockTop(std::int64_t block, unsigned rowsPerBlock) const {
        return Height(block * rowsPerBlock);
    }

    // Pixels to cells.
    /// Column offset holding pixel x; floors, so points left of the strip give negative offsets.
    int ColumnAt(int x) const { return FloorDiv(x, width); }
    /// Grid row holding pixel y; floors, so points above the view give negative rows.
    int LineAt(int y) const { return FloorDiv(y, height); }
    /// Top of the grid row holding pixel y: the key under which composition records that line.
    int LineKey(int y) const { return LineTop(LineAt(y)); }
    /// Whole columns and whole grid rows that fit in a (clamped to non-negative) number of pixels.
    int ColumnsIn(int pixels) const { return FloorDiv(std::max(pixels, 0), width); }
    int LinesIn(int pixels) const { return FloorDiv(std::max(pixels, 0), height); }
    /// Grid row inside its block of a scroll position y (negative positions count as 0).
    unsigned GridRowInBlock(int y, unsigned rowsPerBlock) const {
        return rowsPerBlock == 0 ? 0 : unsigned(LinesIn(y)) % rowsPerBlock;
    }

    /// Pixel values and offsets saturated into int.
    static int SaturateToInt(std::int64_t value) {
        return int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
    }
    /// Pixel sizes: never negative, saturated at the top.
    static int SizeToInt(std::int64_t value) { return int(std::clamp<std::int64_t>(value, 0, INT_MAX)); }

private:
    static int FloorDiv(int value, int divisor) {
        if (divisor <= 0) return 0;
        const int quotient = value / divisor;
        return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
    }

    int width;
    int height;
    int descent;
};
