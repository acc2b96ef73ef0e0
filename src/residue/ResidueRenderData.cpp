#include "residue/ResidueRenderData.h"

#include <tuple>

namespace {

// Every member after the font family, in key order; the letter compares as a signed 8-bit value.
auto KeyTail(const ResidueRenderData& d) {
    return std::make_tuple(d.pointSize, static_cast<signed char>(d.residue), d.caretColour, d.underlineColour,
                           d.overlineColour, d.textColour, d.backgroundColour, d.fontStyle, d.lineFlags,
                           d.caret);
}

}  // namespace

bool ResidueRenderData::operator==(const ResidueRenderData& other) const {
    return fontFamily == other.fontFamily && KeyTail(*this) == KeyTail(other);
}

bool ResidueRenderData::operator<(const ResidueRenderData& other) const {
    if (fontFamily != other.fontFamily) {
        return fontFamily < other.fontFamily;
    }
    return KeyTail(*this) < KeyTail(other);
}
