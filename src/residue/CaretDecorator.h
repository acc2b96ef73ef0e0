#pragma once

#include "residue/ResidueDecorator.h"

/// Marks the cursor cell with a filled triangle hanging from (x, y): its base runs `width` pixels to the
/// right and its apex lies `height` pixels below, at x + width / 2.
class CaretDecorator : public ResidueDecorator {
public:
    CaretDecorator(std::unique_ptr<ResidueBase> component, int x, int y, int height, unsigned width,
                   unsigned colour);

    bool Draw(QPainter* painter) const override;

private:
    int x;
    int y;
    int height;
    unsigned width;
    unsigned colour;
};
