#pragma once

#include <memory>

#include "residue/ResidueBase.h"

/// A component that wraps another one and owns it. The plain decorator adds nothing; subclasses paint
/// their mark first and then let the wrapped component draw on top of it.
class ResidueDecorator : public ResidueBase {
public:
    explicit ResidueDecorator(std::unique_ptr<ResidueBase> component);
    ~ResidueDecorator() override;

    bool Draw(QPainter* painter) const override;

protected:
    /// True when both a painter and a wrapped component exist; a broken chain paints nothing at all.
    bool CanDraw(const QPainter* painter) const { return painter && component; }
    bool DrawComponent(QPainter* painter) const;

private:
    std::unique_ptr<ResidueBase> component;
};
