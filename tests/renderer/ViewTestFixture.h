#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

#include "font/ColorConversion.h"
#include "renderer/RendererFixture.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

namespace viewtest {

using renderertest::LetterScheme;
using testsupport::AlignmentBuilder;
using testsupport::BuiltAlignment;

/// A renderer, a stand-in widget with the test font and the cell geometry of that font.
class ViewFixture : public renderertest::RendererFixture {
protected:
    /// Scrolls the host view to `top` pixels and renders.
    bool RenderScrolled(BuiltAlignment& alignment, const RenderSequenceData::RenderAspects& aspects,
                        int top) {
        renderer.TopScrollValue() = top;
        renderer.TopDrawnValue() = top;
        return RenderWith(alignment, aspects);
    }
    QImage View() const { return renderer.GetAlignmentPixmap()->toImage(); }
    QImage Names() const { return renderer.GetNamePixmap()->toImage(); }

    /// The colour inside the cell whose top-left corner is `corner` (away from letter and edges).
    static QColor CellColour(const QImage& image, QPoint corner) {
        return QColor(image.pixel(corner + QPoint(1, 1)));
    }
    static QColor Background(char code) { return SQC::ToQColor(LetterScheme::Background(code)); }
};

/// Rows "seq<r>" of `columns` letters each (row r shifted by r letters), coloured one colour per letter.
inline BuiltAlignment LetterRows(unsigned rows, unsigned columns) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    for (unsigned r = 0; r < rows; ++r)
        builder.Seq("seq" + std::to_string(r), renderertest::Letters(columns, r));
    return builder.Build();
}

/// The letter of sequence `row` at `column` in LetterRows.
inline char LetterAt(unsigned row, unsigned column) {
    return renderertest::Letters(column + 1, row)[column];
}

/// Whether any pixel of `rect` in `image` differs from white.
inline bool HasInk(const QImage& image, const QRect& rect) {
    const QRect clipped = rect.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (QColor(image.pixel(x, y)) != QColor(Qt::white)) return true;
    return false;
}

}  // namespace viewtest
