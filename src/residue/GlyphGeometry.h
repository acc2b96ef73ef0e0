#pragma once

#include <QFont>

#include "residue/ResidueRenderData.h"

/// Where the parts of one glyph go, in pixels of its W x (H + 1) pixmap. The letter and the lines are
/// placed from the metrics of the styled font, so bold and italic letters sit on the same rows.
struct GlyphGeometry {
    int cellWidth = 0;    // W
    int cellHeight = 0;   // H; the pixmap is one pixel taller
    int letterX = 0;      // left of the letter, centred in the cell (negative when the letter is wider)
    int baseline = 0;     // baseline of the letter
    int lineOffset = 1;   // t: distance of the underline below the descent, at least 1
    int underlineY = 0;   // row of the underline
    int overlineY = 0;    // row of the overline
    int caretHeight = 0;  // how far the caret's apex hangs below the top edge

    static GlyphGeometry Measure(const ResidueRenderData& data, const QFont& font);

    /// The font's point size, or for a font sized in pixels the point size it resolves to; never below 1.
    static int EffectivePointSize(const QFont& font);
};
