#pragma once

#include <QColor>
#include <QRect>
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
    /// Paints the line with its left edge at x and its top at y. A cartoon row is drawn by `cartoonDrawer`
    /// (not owned; may be null, then nothing is drawn).
    static void Paint(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells,
                      const QFont& font, const SSCartoonPainter* cartoonDrawer, unsigned firstColumn,
                      unsigned count, int x, int y);
};
