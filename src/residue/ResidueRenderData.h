#pragma once

#include <QString>
#include <tuple>

/// Everything that decides the look of one residue glyph; the key of the glyph cache.
/// Colours are display colours (0xAARRGGBB).
struct ResidueRenderData {
    /// Bits of `lineFlags`: the marks drawn over the cell.
    enum LineFlag { kUnderline = 1, kOverline = 2, kLeftBar = 4 };

    unsigned caretColour = 0xFF000000u;
    unsigned underlineColour = 0xFF000000u;
    unsigned overlineColour = 0xFF000000u;
    unsigned textColour = 0xFF000000u;
    unsigned backgroundColour = 0xFFFFFFFFu;
    QString fontFamily;
    int pointSize = 8;
    int fontStyle = 0;  // 1 bold, 2 italic
    int lineFlags = 0;  // LineFlag bits
    char residue = 'X';
    bool caret = false;

    bool operator==(const ResidueRenderData& other) const;
    bool operator!=(const ResidueRenderData& other) const { return !(*this == other); }
    /// The cache's key order: font family, point size, letter, the five colours, style, lines, caret.
    bool operator<(const ResidueRenderData& other) const;
};
