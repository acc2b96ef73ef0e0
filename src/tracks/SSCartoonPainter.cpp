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

// A sheet's last cell: a triangle pointing right, a full cell high.
void PaintArrowHead(QPainter& painter, int W, int H, unsigned colour) {
    painter.setBrush(QBrush(Opaque(colour), Qt::SolidPattern));
    painter.setPen(QPen(Opaque(colour), 1, Qt::SolidLine));
    QPolygon head;
    head << QPoint(0, 0) << QPoint(W, H / 2) << QPoint(0, H);
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
    const int W = cellSize.width();
    const int H = cellSize.height();
    helixTemplate = MakeTemplate(cellSize, [&](QPainter& p) { PaintTube(p, 0, 0, W, H, helixColour); });
    if (!helixTemplate) {
        return;
    }
    coilTemplate =
        MakeTemplate(cellSize, [&](QPainter& p) { PaintTube(p, 0, H / 3, W, H - H / 3, coilColour); });
    if (!coilTemplate) {
        return;
    }
    sheetTemplate = MakeTemplate(cellSize, [&](QPainter& p) {
        FillRect(p, QRect(QPoint(0, H / 4), QPoint(W - 1, H / 4 + H / 2 - 1)), sheetColour);
    });
    if (!sheetTemplate) {
        return;
    }
    sheetEndTemplate = MakeTemplate(cellSize, [&](QPainter& p) { PaintArrowHead(p, W, H, sheetColour); });
    if (!sheetEndTemplate) {
        return;
    }
    gapTemplate =
        MakeTemplate(cellSize, [&](QPainter& p) { PaintDashedLine(p, 0, H / 2, W, H / 2, gapColour); });
}

void SSCartoonPainter::ReleaseTemplates() {
    helixTemplate.reset();
    coilTemplate.reset();
    sheetTemplate.reset();
    sheetEndTemplate.reset();
    gapTemplate.reset();
}

const QPixmap* SSCartoonPainter::TemplateFor(const std::string& ssString, std::size_t index) const {
    const char c = ssString[index];
    if (c == 'S') {
        const bool runContinues = index + 1 < ssString.size() && ssString[index + 1] == 'S';
        return runContinues ? sheetTemplate.get() : sheetEndTemplate.get();
    }
    if (c == '-') {
        return gapTemplate.get();
    }
    if (c == 'H') {
        return helixTemplate.get();
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
