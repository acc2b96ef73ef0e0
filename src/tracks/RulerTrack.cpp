// RenderSequenceData's ruler bands: cached per block for the view, drawn afresh for export.

#include <QPainter>
#include <algorithm>

#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "tracks/RulerBuilder.h"

namespace {

// No composed or exported picture is wider than the largest pixmap, so a band never needs more columns;
// a huge residues-per-line would otherwise ask for a band of gigabytes.
unsigned DrawableColumns(unsigned count, int cellWidth) {
    return cellWidth > 0 ? std::min(count, PixmapAllocation::CellsPerSide(cellWidth)) : count;
}

}  // namespace

static_assert(RenderSequenceData::kNoRulerNumber == RulerNumbering::kNone, "one mark of a blank column");

void RenderSequenceData::SetRulerNumbers(std::vector<long long> numbers) {
    rulerNumbers =
        numbers.empty() ? nullptr : std::make_shared<const std::vector<long long>>(std::move(numbers));
    FreeRulerRows();
}

// Read anew for every band: the origin lives in the user properties, which the host may change.
RulerNumbering RenderSequenceData::RulerNumberingOf(const Corvane::AlignmentHelper& helper) const {
    return rulerNumbers ? RulerNumbering::PerColumn(rulerNumbers)
                        : RulerNumbering(helper.GetRulerDragOffset());
}

void RenderSequenceData::RenderRulerBase(const Corvane::AlignmentHelper& helper, unsigned firstColumn,
                                         unsigned blockIndex) {
    if (residuesPerBlock <= 0) return;
    // The list grows only as far as the block after the last one, where a horizontally shifted wrap
    // layout can start its final block.
    if (blockIndex > blockCount && blockIndex >= rulerBlocks.size()) return;
    if (rulerBlocks.size() < std::size_t(blockIndex) + 1) rulerBlocks.resize(std::size_t(blockIndex) + 1);

    PixmapSlot& slot = rulerBlocks[blockIndex];
    const unsigned count = DrawableColumns(unsigned(residuesPerBlock), fontAttributes.GetMaxWidth());
    if (slot.pixmap && slot.firstColumn == firstColumn && slot.columnCount == count) return;
    slot.pixmap.reset();
    // The last block's line may reach past the alignment's end: its ruler stops at the last column.
    const unsigned existing = maxTotalLength > firstColumn ? maxTotalLength - firstColumn : 0;
    std::unique_ptr<QPixmap> band =
        RulerBuilder::BuildRulerPixmap(fontAttributes.GetMaxWidth(), fontAttributes.GetMaxHeight(),
                                       aspects.showRuler, aspects.showRulerNumbers, firstColumn, count,
                                       int(kRulerBandRows), font, RulerNumberingOf(helper), existing);
    if (!band) return;
    slot.pixmap = std::move(band);
    slot.firstColumn = firstColumn;
    slot.columnCount = count;
}

void RenderSequenceData::CopyRulerPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                         unsigned count, int x, int y, unsigned firstColumn, int breaks,
                                         bool vectorShapes) const {
    // A picture may be wider than the largest pixmap: its band is drawn in pieces that each fit one, left
    // to right.
    const CellGeometry cells(fontAttributes);
    // Only the columns the painter can show: a host's block may be far wider than any picture.
    const int right = painter.hasClipping() ? int(painter.clipBoundingRect().right())
                                            : (painter.device() ? painter.device()->width() : 0);
    count = std::min<unsigned>(count, unsigned(std::max(cells.ColumnsIn(right - x) + 1, 0)));
    if (vectorShapes) {
        painter.save();
        painter.translate(x, y);
        RulerBuilder::PaintBand(painter, cells.CellWidth(), cells.CellHeight(), aspects.showRuler,
                                aspects.showRulerNumbers, firstColumn, count, int(kRulerBandRows), font,
                                RulerNumberingOf(helper), UINT_MAX, breaks);
        painter.restore();
        return;
    }
    const unsigned piece = std::max(DrawableColumns(count, cells.CellWidth()), 1u);
    for (unsigned done = 0; done < count; done += piece) {
        const std::unique_ptr<QPixmap> band = RulerBuilder::BuildRulerPixmap(
            cells.CellWidth(), cells.CellHeight(), aspects.showRuler, aspects.showRulerNumbers,
            firstColumn + done, std::min(piece, count - done), int(kRulerBandRows), font,
            RulerNumberingOf(helper), UINT_MAX, breaks);
        if (!band) return;
        // Only the piece's own columns: the band's margin would reach past the picture's last column.
        painter.drawPixmap(x + cells.ColumnLeft(done), y, *band, 0, 0,
                           cells.ColumnLeft(std::min(piece, count - done)), band->height());
    }
}
