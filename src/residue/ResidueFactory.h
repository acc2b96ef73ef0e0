#pragma once

#include <QFont>
#include <QPixmap>
#include <map>
#include <memory>

#include "residue/ResidueRenderData.h"

/// The process-wide cache of residue glyphs: one W x (H + 1) pixmap per distinct ResidueRenderData and font
/// (family and point size). Glyphs stay valid until the library is unloaded; callers copy them and never
/// delete them. GUI thread only.
class ResidueFactory {
public:
    static ResidueFactory* Instance();

    /// The glyph for `data` in `font`, drawn on first request; null only when drawing failed.
    QPixmap* GetPixmap(const ResidueRenderData& data, const QFont& font);
    /// A newly drawn glyph that the caller owns, or null when drawing failed.
    std::unique_ptr<QPixmap> CreatePixmap(const ResidueRenderData& data, const QFont& font) const;

    /// Number of cached glyphs.
    std::size_t Size() const { return glyphs.size(); }

private:
    std::map<ResidueRenderData, std::unique_ptr<QPixmap>> glyphs;
};
