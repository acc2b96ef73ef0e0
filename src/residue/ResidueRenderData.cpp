#include "residue/ResidueRenderData.h"

#include <tuple>

namespace {

// Every member after the font family, in key order; the letter compares as a signed 8-bit value.
auto KeyTail(const ResidueRenderData& d) {
    return std::make_tuple(d.pointSize, static_cast<signed char>(d.residue), d.caretColour, d.underlineColour,
                           d.overlineColour, d.textColour, d.backgroundColour, d.fontStyle, d.lineFlags,
                           d.caret);
}

// KeyTail(a) < KeyTail(b), one comparison per member: the glyph cache runs this for every cell it draws.
bool TailLess(const ResidueRenderData& a, const ResidueRenderData& b) {
    if (a.pointSize != b.pointSize) return a.pointSize < b.pointSize;
    if (a.residue != b.residue)
        return static_cast<signed char>(a.residue) < static_cast<signed char>(b.residue);
    if (a.caretColour != b.caretColour) return a.caretColour < b.caretColour;
    if (a.underlineColour != b.underlineColour) return a.underlineColour < b.underlineColour;
    if (a.overlineColour != b.overlineColour) return a.overlineColour < b.overlineColour;
    if (a.textColour != b.textColour) return a.textColour < b.textColour;
    if (a.backgroundColour != b.backgroundColour) return a.backgroundColour < b.backgroundColour;
    if (a.fontStyle != b.fontStyle) return a.fontStyle < b.fontStyle;
    if (a.lineFlags != b.lineFlags) return a.lineFlags < b.lineFlags;
    return a.caret < b.caret;
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
    return TailLess(*this, other);
}
