#include "residue/ResidueDecorator.h"

#include <utility>

ResidueDecorator::ResidueDecorator(std::unique_ptr<ResidueBase> component)
    : component(std::move(component)) {}

ResidueDecorator::~ResidueDecorator() = default;

bool ResidueDecorator::Draw(QPainter* painter) const {
    return CanDraw(painter) && DrawComponent(painter);
}

bool ResidueDecorator::DrawComponent(QPainter* painter) const {
    return component && component->Draw(painter);
}
