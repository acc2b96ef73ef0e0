#include "residue/FontStyleDecorator.h"

#include <QFont>
#include <QPainter>
#include <utility>

#include "sdm/Types.h"

FontStyleDecorator::FontStyleDecorator(std::unique_ptr<ResidueBase> component, int fontStyle)
    : ResidueDecorator(std::move(component)), fontStyle(fontStyle) {}

bool FontStyleDecorator::Draw(QPainter* painter) const {
    if (!CanDraw(painter)) {
        return false;
    }
    const QFont savedFont = painter->font();
    QFont styled(savedFont);
    if (fontStyle & SDM::Italic) {
        styled.setStyle(QFont::StyleItalic);
    }
    if (fontStyle & SDM::Bold) {
        styled.setWeight(QFont::Bold);
    }
    painter->setFont(styled);
    const bool drawn = DrawComponent(painter);
    painter->setFont(savedFont);
    return drawn;
}
