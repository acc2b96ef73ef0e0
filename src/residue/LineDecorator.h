#pragma once

#include "residue/ResidueDecorator.h"

/// Draws one line before the wrapped component: a 1-pixel horizontal line from (x, y) to (end, y), or a
/// 2-pixel vertical bar centred on column x + 1 from y to end.
class LineDecorator : public ResidueDecorator {
public:
    LineDecorator(std::unique_ptr<ResidueBase> component, int x, int y, int end, unsigned colour,
                  bool vertical);

    bool Draw(QPainter* painter) const override;

private:
    void DrawVertical(QPainter& painter) const;
    void DrawHorizontal(QPainter& painter) const;

    int x;
    int y;
    int end;
    unsigned colour;
    bool vertical;
};
