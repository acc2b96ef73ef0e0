#pragma once

class QPainter;

/// One drawing component of a residue glyph: the letter itself or a decorator that adds a mark around
/// it. Components are immutable once built.
class ResidueBase {
public:
    ResidueBase();
    explicit ResidueBase(char residue);
    virtual ~ResidueBase();

    ResidueBase(const ResidueBase&) = delete;
    ResidueBase& operator=(const ResidueBase&) = delete;

    /// Draws this component and everything it wraps; false when `painter` is null or the chain is broken.
    virtual bool Draw(QPainter* painter) const = 0;

protected:
    char residue;
};
