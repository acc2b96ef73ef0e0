#include "msarender/FontAttributes.h"

#include <QChar>
#include <algorithm>

namespace SQC {

FontAttributes::FontAttributes(const QFont& font) : metrics(font), maxWidth(WidestAsciiAdvance(metrics)) {}

FontAttributes::FontAttributes(const FontAttributes& other) = default;

FontAttributes& FontAttributes::operator=(const FontAttributes& other) = default;

FontAttributes::~FontAttributes() = default;

void FontAttributes::SetFont(const QFont& font) {
    metrics = QFontMetrics(font);
    maxWidth = WidestAsciiAdvance(metrics);
}

int FontAttributes::GetMaxHeight() const {
    return metrics.leading() + metrics.height();
}

int FontAttributes::GetMaxWidth() const {
    return maxWidth;
}

QSize FontAttributes::GetMaxSize() const {
    return QSize(GetMaxWidth(), GetMaxHeight());
}

const QFontMetrics& FontAttributes::GetMetrics() const {
    return metrics;
}

// Residues are printable 7-bit characters, so the widest of them decides the cell; wider glyphs are
// clipped. Control codes are never drawn: fonts have no glyph for them, and the fallback font that would
// measure them depends on what else is installed (TeX fonts put wide letters there).
int FontAttributes::WidestAsciiAdvance(const QFontMetrics& metrics) {
    int widest = 0;
    for (int code = ' '; code <= '~'; ++code)
        widest = std::max(widest, metrics.horizontalAdvance(QChar(code)));
    return widest;
}

}  // namespace SQC
