// RenderSequenceData's residue cells for vector devices: backgrounds as rectangles, letters as text.

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <map>
#include <utility>
#include <vector>

#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "residue/GlyphGeometry.h"
#include "residue/PenCaches.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"

namespace {

// Where each letter and style goes in its cell. Measuring looks the font up; a picture repeats a few
// dozen letters over millions of cells.
class GlyphPlaces {
public:
    explicit GlyphPlaces(const QFont& font) : font(font) {}

    const GlyphGeometry& For(const ResidueRenderData& data) {
        const std::pair<char, int> key(data.residue, data.fontStyle);
        auto found = places.find(key);
        if (found == places.end()) found = places.emplace(key, GlyphGeometry::Measure(data, font)).first;
        return found->second;
    }

private:
    const QFont& font;
    std::map<std::pair<char, int>, GlyphGeometry> places;
};

// A letter in the plain font with no marks is drawn here: consecutive letters of one colour then share
// the painter's state, which vector devices write once for the run instead of once per letter.
bool IsPlainLetter(const ResidueRenderData& data) {
    return data.fontStyle == 0 && data.lineFlags == 0 && !data.caret;
}

// One rectangle for each run of neighbouring cells with the same background.
void FillBackgrounds(QPainter& painter, const CellGeometry& cells,
                     const std::vector<ResidueRenderData>& looks, int x, int y) {
    for (std::size_t start = 0; start < looks.size();) {
        std::size_t end = start + 1;
        while (end < looks.size() && looks[end].backgroundColour == looks[start].backgroundColour) ++end;
        const int left = x + cells.ColumnLeft(std::int64_t(start));
        const int right = x + cells.ColumnLeft(std::int64_t(end));
        painter.fillRect(QRect(left, y, right - left, cells.CellHeight()),
                         QColor(QRgb(looks[start].backgroundColour)));
        start = end;
    }
}

}  // namespace

// The cells of `columns` side by side from (x, y), as DrawExportCells copies them from the glyph cache.
void RenderSequenceData::DrawVectorCells(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                         unsigned row, const std::vector<unsigned>& columns,
                                         bool ignoreSelection, int x, int y) const {
    const CellGeometry cells(fontAttributes);
    if (columns.empty() || !cells.IsUsable()) return;
    std::vector<ResidueRenderData> looks(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i)
        GetRenderData(helper, looks[i], row, columns[i], ignoreSelection);

    painter.save();
    FillBackgrounds(painter, cells, looks, x, y);
    painter.setFont(font);
    GlyphPlaces places(font);
    for (std::size_t i = 0; i < looks.size(); ++i) {
        const ResidueRenderData& look = looks[i];
        const QPoint origin(x + cells.ColumnLeft(std::int64_t(i)), y);
        const GlyphGeometry& place = places.For(look);
        if (!IsPlainLetter(look)) {
            ResidueFactory::PaintGlyph(painter, look, place, origin);
            continue;
        }
        if (look.residue == ' ') continue;
        painter.setPen(PenCaches::ResiduePen(look.textColour));
        painter.drawText(QPointF(origin.x() + place.letterX, origin.y() + place.baseline),
                         QString(QChar(static_cast<unsigned char>(look.residue))));
    }
    painter.restore();
}
