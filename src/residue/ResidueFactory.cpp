#include "residue/ResidueFactory.h"

#include <QColor>
#include <QPainter>
#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <utility>

#include "residue/CaretDecorator.h"
#include "residue/FontStyleDecorator.h"
#include "residue/GlyphGeometry.h"
#include "residue/LineDecorator.h"
#include "residue/Residue.h"

namespace {

const unsigned kLeftBarColour = 0xFFFF0000u;

// The key carries the font's size; fonts sized in pixels key by their negated pixel size so that two of
// them never share glyphs drawn at another size.
int FontSizeKey(const QFont& font) {
    return font.pointSize() > 0 ? font.pointSize() : -font.pixelSize();
}

// Built inside out; the outermost component paints first, so the letter ends on top of every mark. The
// cell's top-left corner is at (x, y).
std::unique_ptr<ResidueBase> BuildChain(const ResidueRenderData& data, const GlyphGeometry& g, int x, int y) {
    std::unique_ptr<ResidueBase> chain =
        std::make_unique<Residue>(data.residue, x + g.letterX, y + g.baseline, data.textColour);
    if (data.fontStyle & 3) {
        chain = std::make_unique<FontStyleDecorator>(std::move(chain), data.fontStyle);
    }
    if (data.lineFlags & ResidueRenderData::kUnderline) {
        chain = std::make_unique<LineDecorator>(std::move(chain), x, y + g.underlineY, x + g.cellWidth,
                                                data.underlineColour, false);
    }
    if (data.lineFlags & ResidueRenderData::kOverline) {
        chain = std::make_unique<LineDecorator>(std::move(chain), x, y + g.overlineY, x + g.cellWidth,
                                                data.overlineColour, false);
    }
    if (data.lineFlags & ResidueRenderData::kLeftBar) {
        chain =
            std::make_unique<LineDecorator>(std::move(chain), x, y, y + g.cellHeight, kLeftBarColour, true);
    }
    if (data.caret) {
        chain = std::make_unique<CaretDecorator>(std::move(chain), x, y, g.caretHeight,
                                                 unsigned(g.cellWidth - 1), data.caretColour);
    }
    return chain;
}

}  // namespace

ResidueFactory* ResidueFactory::Instance() {
    // One per thread, as pictures are drawn on several at once; glyphs handed out stay valid until the
    // thread ends.
    thread_local const boost::shared_ptr<ResidueFactory> instance = boost::make_shared<ResidueFactory>();
    return instance.get();
}

QPixmap* ResidueFactory::GetPixmap(const ResidueRenderData& data, const QFont& font) {
    SetLookupKey(data, font);
    const auto found = glyphs.find(lookupKey);
    if (found != glyphs.end()) {
        return found->second.get();
    }
    std::unique_ptr<QPixmap> glyph = CreatePixmap(data, font);
    if (!glyph) {
        return nullptr;  // not cached: the next request tries again
    }
    QPixmap* result = glyph.get();
    glyphs.emplace(lookupKey, std::move(glyph));
    return result;
}

// Whatever the caller left in fontFamily and pointSize is replaced by the font's.
void ResidueFactory::SetLookupKey(const ResidueRenderData& data, const QFont& font) {
    lookupKey.caretColour = data.caretColour;
    lookupKey.underlineColour = data.underlineColour;
    lookupKey.overlineColour = data.overlineColour;
    lookupKey.textColour = data.textColour;
    lookupKey.backgroundColour = data.backgroundColour;
    lookupKey.fontStyle = data.fontStyle;
    lookupKey.lineFlags = data.lineFlags;
    lookupKey.residue = data.residue;
    lookupKey.caret = data.caret;
    const QString& family = InternedFamily(font.family());
    if (lookupKey.fontFamily.constData() != family.constData() ||
        lookupKey.fontFamily.size() != family.size()) {
        lookupKey.fontFamily = family;
    }
    lookupKey.pointSize = FontSizeKey(font);
}

const QString& ResidueFactory::InternedFamily(const QString& family) {
    for (const QString& known : families) {
        if ((known.constData() == family.constData() && known.size() == family.size()) || known == family) {
            return known;
        }
    }
    families.push_back(family);
    return families.back();
}

std::unique_ptr<QPixmap> ResidueFactory::CreatePixmap(const ResidueRenderData& data,
                                                      const QFont& font) const {
    const GlyphGeometry geometry = GlyphGeometry::Measure(data, font);
    const std::unique_ptr<ResidueBase> chain = BuildChain(data, geometry, 0, 0);
    auto glyph = std::make_unique<QPixmap>(geometry.cellWidth, geometry.cellHeight + 1);
    if (glyph->isNull()) {
        return nullptr;
    }
    glyph->fill(QColor(QRgb(data.backgroundColour)));
    QPainter painter(glyph.get());
    // The unstyled font: bold and italic come only from the font style decorator.
    painter.setFont(font);
    const bool drawn = chain->Draw(&painter);
    painter.end();
    if (!drawn) {
        return nullptr;
    }
    return glyph;
}

bool ResidueFactory::PaintGlyph(QPainter& painter, const ResidueRenderData& data,
                                const GlyphGeometry& geometry, QPoint origin) {
    return BuildChain(data, geometry, origin.x(), origin.y())->Draw(&painter);
}
