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
    // Keys of one font share the family's string data: equal without comparing characters, and the
    // characters are compared once rather than for != and then <.
    const bool sameFamily = fontFamily.constData() == other.fontFamily.constData() &&
                            fontFamily.size() == other.fontFamily.size();
    if (!sameFamily) {
        const int order = fontFamily.compare(other.fontFamily);
        if (order != 0) {
            return order < 0;
        }
    }
    return KeyTail(*this) < KeyTail(other);
}
