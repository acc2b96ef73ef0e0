#pragma once

#include <QFont>
#include <QPixmap>
#include <map>
#include <memory>
#include <vector>

#include "residue/ResidueRenderData.h"

class QPainter;
class QPoint;
struct GlyphGeometry;

/// The process-wide cache of residue glyphs: one W x (H + 1) pixmap per distinct ResidueRenderData and font
/// (family and point size), one cache per thread. Glyphs stay valid until their thread ends; callers copy
/// them and never delete them.
class ResidueFactory {
public:
    static ResidueFactory* Instance();

    /// The glyph for `data` in `font`, drawn on first request; null only when drawing failed.
    QPixmap* GetPixmap(const ResidueRenderData& data, const QFont& font);
    /// A newly drawn glyph that the caller owns, or null when drawing failed.
    std::unique_ptr<QPixmap> CreatePixmap(const ResidueRenderData& data, const QFont& font) const;

    /// Paints the glyph of `data` without its background, its cell's top-left corner at `origin`, in the
    /// painter's font: for vector devices, where the letter stays text and the marks stay shapes. False
    /// when nothing could be drawn.
    static bool PaintGlyph(QPainter& painter, const ResidueRenderData& data, const GlyphGeometry& geometry,
                           QPoint origin);

    /// Number of cached glyphs.
    std::size_t Size() const { return glyphs.size(); }

private:
    /// One shared copy of each font family name: keys of one family then compare by pointer, not by text.
    /// The reference stays valid until the next call.
    const QString& InternedFamily(const QString& family);
    /// Fills lookupKey with `data` in `font`.
    void SetLookupKey(const ResidueRenderData& data, const QFont& font);

    std::map<ResidueRenderData, std::unique_ptr<QPixmap>> glyphs;
    std::vector<QString> families;
    // Reused for every lookup, so that a hit copies no string (and touches no reference count).
    ResidueRenderData lookupKey;
};
