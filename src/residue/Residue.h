#pragma once

#include "residue/ResidueBase.h"

/// The innermost component of a glyph: the residue letter in its colour, drawn last so it lies on top of
/// every mark.
class Residue : public ResidueBase {
public:
    /// `y` is the text baseline; `colour` is a display colour (0xAARRGGBB).
    Residue(char residue, int x, int y, unsigned colour);

    bool Draw(QPainter* painter) const override;

private:
    int x;
    int y;
    unsigned colour;
};
