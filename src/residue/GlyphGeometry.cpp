#include "residue/GlyphGeometry.h"

#include <QChar>
#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>

#include "msarender/FontAttributes.h"
#include "msarender/FontFactory.h"
#include "sdm/Types.h"

GlyphGeometry GlyphGeometry::Measure(const ResidueRenderData& data, const QFont& font) {
    const SQC::FontAttributes cell(font);
    const QFont styledFont = SQC::FontFactory(font).GetFont(static_cast<SDM::FontStyle>(data.fontStyle & 3));
    const QFontMetrics styled(styledFont);
    const QFontMetrics base(font);
    const int letterWidth = base.horizontalAdvance(QChar(static_cast<unsigned char>(data.residue)));
    const int pointSize = EffectivePointSize(font);

    GlyphGeometry g;
    g.cellWidth = cell.GetMaxWidth();
    g.cellHeight = cell.GetMaxHeight();
    const int H = g.cellHeight;
    g.letterX = (g.cellWidth - letterWidth) / 2;
    g.baseline = H + base.ascent() - styled.ascent() - styled.descent();
    g.lineOffset = std::max(1, H / pointSize);
    g.underlineY = H + g.lineOffset - styled.descent();
    g.overlineY = H - 2 * g.lineOffset - styled.ascent();
    // Unlike the line offset, the caret's step is not raised to 1 for large point sizes.
    g.caretHeight = H - H / pointSize - styled.ascent();
    return g;
}

// A font sized in pixels reports point size -1; dividing by it would flip the line offsets.
int GlyphGeometry::EffectivePointSize(const QFont& font) {
    int pointSize = font.pointSize();
    if (pointSize <= 0) {
        pointSize = QFontInfo(font).pointSize();
    }
    return std::max(1, pointSize);
}
