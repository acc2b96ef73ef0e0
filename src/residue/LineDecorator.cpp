#include "residue/LineDecorator.h"

#include <QColor>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <utility>

#include "residue/PenCaches.h"

namespace {
const int kVerticalBarWidth = 2;
}  // namespace

LineDecorator::LineDecorator(std::unique_ptr<ResidueBase> component, int x, int y, int end, unsigned colour,
                             bool vertical)
    : ResidueDecorator(std::move(component)), x(x), y(y), end(end), colour(colour), vertical(vertical) {}

bool LineDecorator::Draw(QPainter* painter) const {
    if (!CanDraw(painter)) {
        return false;
    }
    const QPen savedPen = painter->pen();
    if (vertical) {
        DrawVertical(*painter);
    } else {
        DrawHorizontal(*painter);
    }
    painter->setPen(savedPen);
    return DrawComponent(painter);
}

// The bar is rare (one per marked cell), so its wider pen is not cached.
void LineDecorator::DrawVertical(QPainter& painter) const {
    painter.setPen(QPen(QColor(QRgb(colour)), kVerticalBarWidth));
    const QLine line(x + 1, y, x + 1, end);
    painter.drawLines(&line, 1);
}

void LineDecorator::DrawHorizontal(QPainter& painter) const {
    painter.setPen(PenCaches::LinePen(colour));
    const QLine line(x, y, end, y);
    painter.drawLines(&line, 1);
}
