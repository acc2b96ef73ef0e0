#include "msarender/FontFactory.h"

namespace SQC {

FontFactory::FontFactory(const QFont& font) : baseFont(font) {}

FontFactory::FontFactory(const FontFactory& other) = default;

FontFactory& FontFactory::operator=(const FontFactory& other) = default;

FontFactory::~FontFactory() = default;

// Both weight and style are always set, so a bold or italic base font still yields a plain variant.
QFont FontFactory::GetFont(const SDM::FontStyle& style) const {
    QFont font(baseFont);
    font.setWeight((style & SDM::Bold) ? QFont::Bold : QFont::Normal);
    font.setStyle((style & SDM::Italic) ? QFont::StyleItalic : QFont::StyleNormal);
    return font;
}

}  // namespace SQC
