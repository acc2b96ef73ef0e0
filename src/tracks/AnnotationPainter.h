#pragma once

#include <QColor>
#include <QRect>
#include <QRectF>
#include <vector>

#include "msarender/AnnotationRow.h"

class CellGeometry;
class QFont;
class QPainter;
class SSCartoonPainter;

/// Draws one annotation line: computes each cell's bar and symbol first, then paints them.
class AnnotationPainter {
public:
    /// What one cell of the line shows, in the line's own coordinates (top at 0).
    struct Cell {
        unsigned column = 0;
        QRect bar;  // empty for no bar
        QColor colour;
        char symbol = ' ';
    };

    /// The cells of `count` columns from `firstColumn`; columns with nothing to show are left out.
    static std::vector<Cell> Cells(const AnnotationRow& row, const CellGeometry& cells, unsigned firstColumn,
                                   unsigned count);
    /// Where one letter of a logo slice lies, in the line's own coordinates (top at 0; the letters of
    /// neighbouring slices reach above or below it).
    struct LogoBox {
        unsigned column = 0;
        LogoLetter letter;
        QRectF box;
    };
    /// The letters of a logo row's slice over `count` columns from `firstColumn` that reach into the slice.
    static std::vector<LogoBox> LogoBoxes(const AnnotationRow& row, const CellGeometry& cells,
                                          unsigned firstColumn, unsigned count);
    /// A logo row's axis at the right edge `right` of the name column, for the slice with its top at y:
    /// a line, a tick at each step and the numbers that fit. Other rows draw nothing here.
    static void PaintLabelAxis(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells,
                               const QFont& font, int right, int y);
    /// Paints the line with its left edge at x and its top at y. A cartoon row is drawn by `cartoonDrawer`
    /// (not owned; may be null, then nothing is drawn).
    static void Paint(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells,
                      const QFont& font, const SSCartoonPainter* cartoonDrawer, unsigned firstColumn,
                      unsigned count, int x, int y);
};
