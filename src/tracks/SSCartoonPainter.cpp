#include "tracks/SSCartoonPainter.h"

#include <QBrush>
#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "msarender/CellGeometry.h"

namespace {

const QRgb kWhite = 0xFFFFFFFFu;

// A cell pixmap, white so that no pixel is left undefined; null when it cannot be allocated.
std::unique_ptr<QPixmap> NewCell(const QSize& size) {
    auto cell = std::make_unique<QPixmap>(size);
    if (cell->isNull()) {
        return nullptr;
    }
    cell->fill(QColor(kWhite));
    return cell;
}

// Display colours become opaque Qt colours: QColor(QRgb) drops the alpha byte.
QColor Opaque(unsigned colour) {
    return QColor(QRgb(colour));
}

void FillRect(QPainter& painter, const QRect& rect, unsigned colour) {
    const QColor fill = Opaque(colour);
    painter.setBrush(QBrush(fill, Qt::SolidPattern));
    painter.setPen(QPen(fill, 1, Qt::SolidLine));
    painter.drawRect(rect);
}

// A sheet's last cell: a triangle pointing right, a full cell high, from (x, y).
void PaintArrowHead(QPainter& painter, int x, int y, int W, int H, unsigned colour) {
    painter.setBrush(QBrush(Opaque(colour), Qt::SolidPattern));
    painter.setPen(QPen(Opaque(colour), 1, Qt::SolidLine));
    QPolygon head;
    head << QPoint(x, y) << QPoint(x + W, y + H / 2) << QPoint(x, y + H);
    painter.drawPolygon(head, Qt::OddEvenFill);
}

// A white cell painted by `paint`; null when the pixmap cannot be allocated.
template <typename Paint>
std::unique_ptr<QPixmap> MakeTemplate(const QSize& size, Paint paint) {
    std::unique_ptr<QPixmap> cell = NewCell(size);
    if (cell) {
        QPainter painter(cell.get());
        paint(painter);
    }
    return cell;
}

}  // namespace

SSCartoonPainter::SSCartoonPainter(int cellWidth, int cellHeight, unsigned helixColour, unsigned sheetColour,
                                   unsigned coilColour, unsigned gapColour)
    : cellSize(cellWidth, cellHeight),
      helixColour(helixColour),
      sheetColour(sheetColour),
      coilColour(coilColour),
      gapColour(gapColour) {
    BuildTemplates();
}

SSCartoonPainter::~SSCartoonPainter() = default;

// Each template is made only when the one before it could be; a failure leaves the rest null.
void SSCartoonPainter::BuildTemplates() {
    ReleaseTemplates();
    const auto cell = [this](CellShape shape) {
        return MakeTemplate(cellSize, [&](QPainter& p) { PaintCell(p, shape, 0, 0); });
    };
    helixTemplate = cell(CellShape::Helix);
    if (!helixTemplate) {
        return;
    }
    coilTemplate = cell(CellShape::Coil);
    if (!coilTemplate) {
        return;
    }
    sheetTemplate = cell(CellShape::Sheet);
    if (!sheetTemplate) {
        return;
    }
    sheetEndTemplate = cell(CellShape::SheetEnd);
    if (!sheetEndTemplate) {
        return;
    }
    gapTemplate = cell(CellShape::Gap);
}

void SSCartoonPainter::PaintCell(QPainter& painter, CellShape shape, int x, int y) const {
    const int W = cellSize.width();
    const int H = cellSize.height();
    switch (shape) {
        case CellShape::Helix:
            PaintTube(painter, x, y, x + W, y + H, helixColour);
            break;
        case CellShape::Coil:
            PaintTube(painter, x, y + H / 3, x + W, y + H - H / 3, coilColour);
            break;
        case CellShape::Sheet:
            FillRect(painter, QRect(QPoint(x, y + H / 4), QPoint(x + W - 1, y + H / 4 + H / 2 - 1)),
                     sheetColour);
            break;
        case CellShape::SheetEnd:
            PaintArrowHead(painter, x, y, W, H, sheetColour);
            break;
        case CellShape::Gap:
            PaintDashedLine(painter, x, y + H / 2, x + W, y + H / 2, gapColour);
            break;
    }
}

void SSCartoonPainter::PaintCartoon(QPainter& painter, const std::string& ssString, int x, int y) const {
    const CellGeometry cells(cellSize.width(), cellSize.height());
    if (!cells.IsUsable()) {
        return;
    }
    painter.save();
    for (std::size_t i = 0; i < ssString.size(); ++i) {
        PaintCell(painter, ShapeFor(ssString, i), cells.ColumnLeft(std::int64_t(i)) + x, y);
    }
    painter.restore();
}

void SSCartoonPainter::ReleaseTemplates() {
    helixTemplate.reset();
    coilTemplate.reset();
    sheetTemplate.reset();
    sheetEndTemplate.reset();
    gapTemplate.reset();
}

SSCartoonPainter::CellShape SSCartoonPainter::ShapeFor(const std::string& ssString, std::size_t index) {
    const char c = ssString[index];
    if (c == 'S') {
        const bool runContinues = index + 1 < ssString.size() && ssString[index + 1] == 'S';
        return runContinues ? CellShape::Sheet : CellShape::SheetEnd;
    }
    if (c == '-') {
        return CellShape::Gap;
    }
    if (c == 'H') {
        return CellShape::Helix;
    }
    return CellShape::Coil;
}

const QPixmap* SSCartoonPainter::TemplateFor(const std::string& ssString, std::size_t index) const {
    switch (ShapeFor(ssString, index)) {
        case CellShape::Sheet:
            return sheetTemplate.get();
        case CellShape::SheetEnd:
            return sheetEndTemplate.get();
        case CellShape::Gap:
            return gapTemplate.get();
        case CellShape::Helix:
            return helixTemplate.get();
        case CellShape::Coil:
            break;
    }
    return coilTemplate.get();
}

std::unique_ptr<QPixmap> SSCartoonPainter::CartoonPixmap(const std::string& ssString) const {
    const CellGeometry cells(cellSize.width(), cellSize.height());
    if (ssString.empty()) {
        return std::make_unique<QPixmap>();  // width 0
    }
    if (!cells.IsUsable() || cells.Width(std::int64_t(ssString.size())) > INT_MAX) {
        return nullptr;
    }
    auto line =
        std::make_unique<QPixmap>(cells.ColumnLeft(std::int64_t(ssString.size())), cells.CellHeight());
    if (line->isNull()) {
        return nullptr;
    }
    // Cells whose template could not be made stay white.
    line->fill(QColor(kWhite));
    QPainter painter(line.get());
    for (std::size_t i = 0; i < ssString.size(); ++i) {
        if (const QPixmap* cell = TemplateFor(ssString, i)) {
            painter.drawPixmap(cells.ColumnLeft(std::int64_t(i)), 0, *cell);
        }
    }
    return line;
}

void SSCartoonPainter::PaintTube(QPainter& painter, int x1, int y1, int x2, int y2, unsigned colour) {
    const int h = y2 - y1 + 1;
    const int f = h / 4;
    const int e = h / 8;
    const QPen savedPen = painter.pen();
    const QBrush savedBrush = painter.brush();
    FillRect(painter, QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), colour);
    FillRect(painter, QRect(QPoint(x1, y1 + f), QPoint(x2 - 1, y2 - f - 1)), TubeShade(colour, 3));
    FillRect(painter, QRect(QPoint(x1, y1 + f + e), QPoint(x2 - 1, y2 - f - e - 1)), TubeShade(colour, 4));
    painter.setPen(savedPen);
    painter.setBrush(savedBrush);
}

unsigned SSCartoonPainter::TubeShade(unsigned colour, int eighths) {
    const int red = qRed(colour) + eighths * ((255 - qRed(colour)) / 8);
    const int green = qGreen(colour) + eighths * ((255 - qGreen(colour)) / 8);
    return qRgba(std::clamp(red, 0, 255), std::clamp(green, 0, 255), qBlue(colour), qAlpha(colour));
}

void SSCartoonPainter::PaintDashedLine(QPainter& painter, int x1, int y1, int x2, int y2, unsigned colour) {
    painter.save();
    painter.setPen(QPen(Opaque(colour), 1, Qt::DashLine));
    painter.drawLine(x1, y1, x2, y2);
    painter.restore();
}
