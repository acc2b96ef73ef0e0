#pragma once

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "common/Color.h"

namespace SDM {

class Alignment;

/// Background and letter colour of one residue.
struct ResidueColors {
    Common::Color background;
    Common::Color text;
};

/// Decides the colours of residues. A scheme may look at the composition of the alignment's columns:
/// `prepare` is called with the alignment before a run of `colorsAt` calls.
class ColorScheme {
public:
    virtual ~ColorScheme() = default;
    virtual std::string name() const = 0;
    virtual void prepare(const Alignment& alignment) { (void)alignment; }
    /// Whether colorsAt depends on the column (then prepare must run after every change of the alignment).
    virtual bool dependsOnColumn() const { return false; }
    virtual ResidueColors colorsAt(char code, unsigned column) const = 0;
    /// colorsAt, except that missing data gets MissingDataColors() in every scheme.
    ResidueColors colorsFor(char code, unsigned column) const;
};

/// Dark grey on light grey: missing data must not read as a gap (white) nor as a coloured residue.
ResidueColors MissingDataColors();

/// Black letters on white; gaps on white too.
class PlainColorScheme : public ColorScheme {
public:
    std::string name() const override { return "plain"; }
    ResidueColors colorsAt(char code, unsigned column) const override;
};

}  // namespace SDM
