#include "residue/CaretDecorator.h"

#include <QPainter>
#include <QPolygon>
#include <utility>

#include "residue/PenCaches.h"

CaretDecorator::CaretDecorator(std::unique_ptr<ResidueBase> component, int x, int y, int height,
                               unsigned width, unsigned colour)
    : ResidueDecorator(std::move(component)), x(x), y(y), height(height), width(width), colour(colour) {}

bool CaretDecorator::Draw(QPainter* painter) const {
    if (!CanDraw(painter)) {
        return false;
    }
    const QBrush savedBrush = painter->brush();
    const QPen savedPen = painter->pen();
    painter->setBrush(PenCaches::CaretBrush(colour));
    painter->setPen(PenCaches::CaretPen(colour));
    QPolygon triangle;
    triangle << QPoint(x, y) << QPoint(x + int(width), y) << QPoint(x + int(width / 2), y + height);
    painter->drawPolygon(triangle, Qt::OddEvenFill);
    painter->setBrush(savedBrush);
    painter->setPen(savedPen);
    return DrawComponent(painter);
}
