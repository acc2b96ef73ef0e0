#pragma once

#include <cstdint>
#include <cstring>

#include "common/Color.h"
#include "sdm/Types.h"

namespace SDM {

/// Colours of the marks a host can put on a residue (underline, overline, caret).
struct MarkColors {
    Common::Color underline;
    Common::Color overline;
    Common::Color caret;
    bool operator==(const MarkColors& o) const {
        return underline == o.underline && overline == o.overline && caret == o.caret;
    }
};

/// One cell of an aligned sequence as the renderer sees it: the letter, its colours, font style and marks.
/// Kept at 8 bytes and free of heap memory, because the renderer copies a rows-by-columns table of them on
/// every layout pass: the colours are indexes into a process-wide, append-only palette.
class Residue {
public:
    Residue() = default;
    explicit Residue(char code) : code_(code) {}
    Residue(char code, const Common::Color& background, const Common::Color& text);

    char getCode() const { return code_; }
    void setCode(char code) { code_ = code; }

    /// The colour of one attribute; `selected` gives the selection highlight.
    Common::Color getStateColor(ResidueAttributes::ColorType type, bool selected) const;
    void setBackground(const Common::Color& color);
    void setText(const Common::Color& color);
    void setMarkColors(const MarkColors& colors);
    MarkColors getMarkColors() const;

    FontStyle getFontStyle() const { return FontStyle(attributes_ & 0x3); }
    void setFontStyle(int style) { attributes_ = std::uint8_t((attributes_ & ~0x3) | (style & 0x3)); }
    /// ColorFilterBits of the marks to draw.
    unsigned getColorFilter() const { return attributes_ >> 2; }
    void setColorFilter(unsigned bits) {
        attributes_ = std::uint8_t((attributes_ & 0x3) | ((bits & 0x3F) << 2));
    }

    /// Everything the residue is drawn with in one number: equal keys draw equal cells.
    std::uint64_t key() const {
        std::uint64_t value = 0;
        std::memcpy(&value, this, sizeof value);  // five members, no padding: the object is its own key
        return value;
    }

    bool operator==(const Residue& o) const {
        return code_ == o.code_ && attributes_ == o.attributes_ && background_ == o.background_ &&
               text_ == o.text_ && marks_ == o.marks_;
    }

    /// Index of a colour in the shared palette (interned on first use).
    static std::uint16_t PaletteIndex(const Common::Color& color);
    static Common::Color PaletteColor(std::uint16_t index);

private:
    char code_ = '-';
    std::uint8_t attributes_ = 0;   // bits 0-1 font style, bits 2-7 colour filter
    std::uint16_t background_ = 0;  // palette index; 0 is white
    std::uint16_t text_ = 1;        // palette index; 1 is black
    std::uint16_t marks_ = 0;       // index into the mark-colour table; 0 is all black
};

static_assert(sizeof(Residue) == sizeof(std::uint64_t),
              "the renderer copies a table of residues per layout pass");

/// The colours a selected residue is drawn with, derived from its unselected colours.
Common::Color SelectedBackground(const Common::Color& background);
Common::Color SelectedText(const Common::Color& text);

}  // namespace SDM
