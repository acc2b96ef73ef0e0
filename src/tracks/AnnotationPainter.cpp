#include "tracks/AnnotationPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "font/ShadedText.h"
#include "msarender/CellGeometry.h"
#include "tracks/SSCartoonPainter.h"

namespace {

QColor BarColour(const AnnotationRow& row, unsigned column) {
    const std::uint32_t colour =
        column < row.colours.size() && row.colours[column] != 0 ? row.colours[column] : row.barColour;
    return QColor::fromRgba(colour);
}

// The bar rises from the cell's bottom edge; any height above zero shows at least one pixel.
QRect BarRect(const CellGeometry& cells, unsigned offset, float share) {
    if (!(share > 0.0f)) return QRect();
    const int height = std::max(1, int(std::lround(std::min(share, 1.0f) * float(cells.CellHeight()))));
    const QRect cell = cells.Cell(int(offset), 0);
    return QRect(cell.left(), cell.bottom() - height + 1, cell.width(), height);
}

}  // namespace

std::vector<AnnotationPainter::Cell> AnnotationPainter::Cells(const AnnotationRow& row,
                                                              const CellGeometry& cells, unsigned firstColumn,
                                                              unsigned count) {
    std::vector<Cell> result;
    if (!cells.IsUsable() || row.cartoon) return result;
    for (unsigned offset = 0; offset < count; ++offset) {
        const std::uint64_t column64 = std::uint64_t(firstColumn) + offset;
        if (column64 >= std::max<std::uint64_t>(row.symbols.size(), row.heights.size())) break;
        const unsigned column = unsigned(column64);
        Cell cell;
        cell.column = column;
        if (column < row.heights.size()) cell.bar = BarRect(cells, offset, row.heights[column]);
        cell.colour = BarColour(row, column);
        if (column < row.symbols.size()) cell.symbol = row.symbols[column];
        if (cell.bar.isEmpty() && cell.symbol == ' ') continue;
        result.push_back(cell);
    }
    return result;
}

void AnnotationPainter::Paint(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells,
                              const QFont& font, const SSCartoonPainter* cartoonDrawer, unsigned firstColumn,
                              unsigned count, int x, int y) {
    if (row.cartoon) {
        if (cartoonDrawer == nullptr || firstColumn >= row.symbols.size()) return;
        const std::unique_ptr<QPixmap> line =
            cartoonDrawer->CartoonPixmap(row.symbols.substr(firstColumn, count));
        if (line) painter.drawPixmap(x, y, *line);
        return;
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (const Cell& cell : Cells(row, cells, firstColumn, count)) {
        if (!cell.bar.isEmpty()) painter.fillRect(cell.bar.translated(x, y), cell.colour);
        if (cell.symbol == ' ') continue;
        const QRect box = cells.Cell(int(cell.column - firstColumn), y).translated(x, 0);
        DrawLabelText(painter, box, Qt::AlignCenter, QString(QChar::fromLatin1(cell.symbol)));
    }
    painter.restore();
}
