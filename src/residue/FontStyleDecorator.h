#pragma once

#include "residue/ResidueDecorator.h"

/// Draws the wrapped component in a bold and/or italic variant of the painter's font. Only set bits
/// change the font (1 bold, 2 italic); the painter's font is restored afterwards.
class FontStyleDecorator : public ResidueDecorator {
public:
    FontStyleDecorator(std::unique_ptr<ResidueBase> component, int fontStyle);

    bool Draw(QPainter* painter) const override;

private:
    int fontStyle;
};
