#include "residue/Residue.h"

#include <QChar>
#include <QPainter>
#include <QPointF>
#include <QString>

#include "font/ShadedText.h"
#include "residue/PenCaches.h"

Residue::Residue(char residue, int x, int y, unsigned colour)
    : ResidueBase(residue), x(x), y(y), colour(colour) {}

bool Residue::Draw(QPainter* painter) const {
    if (!painter) {
        return false;
    }
    const QPen savedPen = painter->pen();
    painter->setPen(PenCaches::ResiduePen(colour));
    DrawShadedText(*painter, QPointF(x, y), QString(QChar(static_cast<unsigned char>(residue))));
    painter->setPen(savedPen);
    return true;
}
