#include "tracks/AnnotationPainter.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
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

// The logo's whole height and the bottom of the slice's logo, in the slice's coordinates.
int LogoHeight(const SequenceLogo& logo, const CellGeometry& cells) {
    return int(logo.lines) * cells.CellHeight();
}
int LogoBottom(const AnnotationRow& row, const CellGeometry& cells) {
    return int(row.logo->lines - std::min(row.logoLine, row.logo->lines - 1)) * cells.CellHeight();
}

// Letter outlines of one font, made once per letter: outlines are slow to make, quick to stretch.
class LetterOutlines {
public:
    explicit LetterOutlines(const QFont& font) : font(font) {}

    // The outline of `letter` stretched to fill `box`, as logos draw letters.
    QPainterPath Fitted(char letter, const QRectF& box) {
        const auto index = static_cast<unsigned char>(letter) & 0x7F;
        if (!made[index]) {
            outlines[index].addText(0, 0, font, QString(QChar::fromLatin1(char(index))));
            made[index] = true;
        }
        const QPainterPath& glyph = outlines[index];
        const QRectF bounds = glyph.boundingRect();
        if (bounds.isEmpty()) return QPainterPath();
        QTransform fit;
        fit.translate(box.left(), box.top());
        fit.scale(box.width() / bounds.width(), box.height() / bounds.height());
        fit.translate(-bounds.left(), -bounds.top());
        return fit.map(glyph);
    }

private:
    QFont font;
    std::array<QPainterPath, 128> outlines;
    std::array<bool, 128> made{};
};

// Logo letters are filled outlines (paths in vector files), each slice keeping only its own part of them:
// a raster painter clips, a document gets the cut outline, since not every document format keeps a clip.
void PaintLogo(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells, const QFont& font,
               unsigned firstColumn, unsigned count, int x, int y) {
    QFont bold(font);
    bold.setBold(true);
    LetterOutlines outlines(bold);
    const QRectF slice(x, y, qreal(cells.Width(count)), cells.CellHeight());
    const bool raster = painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster;
    QPainterPath sliceArea;
    sliceArea.addRect(slice);
    painter.save();
    // Smooth edges only in documents: in pixels they would add colours past the 256 of a PNG palette, and
    // the picture would be encoded again as RGB at three times the size.
    painter.setRenderHint(QPainter::Antialiasing, !raster);
    painter.setPen(Qt::NoPen);
    if (raster) painter.setClipRect(slice, Qt::IntersectClip);
    for (const AnnotationPainter::LogoBox& letter :
         AnnotationPainter::LogoBoxes(row, cells, firstColumn, count)) {
        const QRectF box = letter.box.translated(x, y);
        QPainterPath path = outlines.Fitted(letter.letter.letter, box);
        if (!raster && !slice.contains(box)) path = path.intersected(sliceArea);
        painter.fillPath(path, QColor::fromRgba(letter.letter.colour));
    }
    painter.restore();
}

}  // namespace

std::vector<AnnotationPainter::LogoBox> AnnotationPainter::LogoBoxes(const AnnotationRow& row,
                                                                     const CellGeometry& cells,
                                                                     unsigned firstColumn, unsigned count) {
    std::vector<LogoBox> boxes;
    if (!row.logo || !cells.IsUsable()) return boxes;
    const SequenceLogo& logo = *row.logo;
    const double height = LogoHeight(logo, cells);
    const double bottom = LogoBottom(row, cells);
    const double margin = std::max(1.0, cells.CellWidth() / 10.0);  // letters of neighbours stay apart
    for (unsigned offset = 0; offset < count; ++offset) {
        const std::uint64_t column = std::uint64_t(firstColumn) + offset;
        if (column >= logo.columns.size()) break;
        const QRect cell = cells.Cell(int(offset), 0);
        const double share =
            column < logo.widths.size() ? std::clamp(double(logo.widths[column]), 0.0, 1.0) : 1;
        const double width = (cell.width() - margin) * share;
        const double left = cell.left() + (cell.width() - width) / 2;
        double base = bottom;
        for (const LogoLetter& letter : logo.columns[column]) {
            const double letterHeight = std::clamp(double(letter.height), 0.0, 1.0) * height;
            const QRectF box(left, base - letterHeight, width, letterHeight);
            base -= letterHeight;
            // Less than a pixel high reads as nothing; the slice keeps only letters reaching into it.
            if (letterHeight < 1 || box.bottom() <= 0 || box.top() >= cells.CellHeight()) continue;
            boxes.push_back({unsigned(column), letter, box});
        }
    }
    return boxes;
}

void AnnotationPainter::PaintLabelAxis(QPainter& painter, const AnnotationRow& row, const CellGeometry& cells,
                                       const QFont& font, int right, int y) {
    if (!row.logo || !cells.IsUsable() || !(row.logo->axisMaximum > 0) || !(row.logo->axisStep > 0)) return;
    const SequenceLogo& logo = *row.logo;
    const double height = LogoHeight(logo, cells);
    const double bottom = y + LogoBottom(row, cells);
    QFont small(font);
    small.setPointSizeF(std::max(1.0, font.pointSizeF() * 0.6));
    const QFontMetrics metrics(small);
    const double perStep = height * logo.axisStep / logo.axisMaximum;
    // Numbers on every tick when they fit, else on every second one, and so on.
    const int every = std::max(1, int(std::ceil(metrics.ascent() / std::max(perStep, 1.0))));
    const int line = right - 2;
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.setFont(small);
    painter.drawLine(line, y, line, y + cells.CellHeight() - 1);
    const int steps = int(std::floor(logo.axisMaximum / logo.axisStep + 1e-9));
    for (int step = 0; step <= steps; ++step) {
        // The logo's last pixel row is the axis' zero.
        const int tick = int(std::lround(bottom - 1 - step * perStep));
        if (tick < y || tick >= y + cells.CellHeight()) continue;
        painter.drawLine(line - 3, tick, line, tick);
        if (step % every != 0) continue;
        const QString number = QString::number(step * logo.axisStep, 'g', 3);
        const QRect box(line - 4 - metrics.horizontalAdvance(number), tick - metrics.ascent() / 2,
                        metrics.horizontalAdvance(number), metrics.ascent());
        DrawLabelText(painter, box, Qt::AlignRight | Qt::AlignVCenter, number);
    }
    painter.restore();
}

std::vector<AnnotationPainter::Cell> AnnotationPainter::Cells(const AnnotationRow& row,
                                                              const CellGeometry& cells, unsigned firstColumn,
                                                              unsigned count) {
    std::vector<Cell> result;
    if (!cells.IsUsable() || row.cartoon || row.logo) return result;
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
    if (row.logo) {
        PaintLogo(painter, row, cells, font, firstColumn, count, x, y);
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
