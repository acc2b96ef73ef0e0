// RenderSequenceData's view composition: the composed alignment and name pixmaps and the row locations.

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>
#include <cstdint>

#include "font/ColorConversion.h"
#include "font/ShadedText.h"
#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/FontFactory.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"
#include "sqv/UserProperties.h"
#include "tracks/AnnotationPainter.h"

/// One grid-row item of the composed view: where it lands, what is copied there and what is written in
/// the name column beside it.
struct RenderSequenceData::ComposedLine {
    enum class Kind { RulerBand, BlankBand, Residues, Cartoon, Annotation };

    Kind kind = Kind::Residues;
    int top = 0;          // y in the composed view
    int height = 0;       // pixels the item takes
    int row = -1;         // -1 for bands and annotation lines
    int annotation = -1;  // index of an annotation line's row
    unsigned firstColumn = 0;
    std::string ssKey;
    std::shared_ptr<QPixmap> strip;  // cached strip to copy; null when none was drawn
    int stripWidth = INT_MAX;        // pixels of the strip to copy from its left edge
    bool paintStrip = false;         // false where a kept view keeps its old content
    bool record = false;             // whether a RowLocation is recorded at `top`
    QString label;
    bool boldLabel = false;
    bool underline = false;  // the current row
};

namespace {

// Store is a block-index map of slot vectors (residue strips, or the cartoon lines of one key).
template <typename Store>
std::shared_ptr<QPixmap> SlotStrip(const Store& store, unsigned block, unsigned row) {
    const auto it = store.find(block);
    if (it == store.end() || row >= it->second.size()) return nullptr;
    return it->second[row].pixmap;
}

bool CellExists(const std::vector<std::vector<SDM::Residue>>& table, unsigned row, unsigned column) {
    return row < table.size() && column < table[row].size();
}

void DrawLabel(QPainter& painter, const QFont& font, int baseline, const QString& text, bool bold) {
    if (!bold) {
        DrawLabelText(painter, QPointF(0, baseline), text);
        return;
    }
    const QFont saved = painter.font();
    painter.setFont(SQC::FontFactory(font).GetFont(SDM::Bold));
    DrawLabelText(painter, QPointF(0, baseline), text);
    painter.setFont(saved);
}

}  // namespace

void RenderSequenceData::MakeAlignmentPixmap(const Corvane::AlignmentHelper& helper, unsigned firstBlock) {
    const CellGeometry cells(fontAttributes);
    // While a current row is set the view's content is frozen; without a view to keep, compose afresh.
    const bool freshView = !(alignmentPixmap && currentSequenceIndex != -1);
    std::vector<ComposedLine> lines = PlanComposedLines(helper, firstBlock, freshView);
    if (BlocksTallerThanView(cells)) DropLinesBelowView(cells, lines);
    const int contentHeight = lines.empty() ? 0 : lines.back().top + lines.back().height;
    sequenceViewSize = ComposedViewSize(contentHeight);
    const int pixmapHeight = sequenceViewSize.height() + cells.CellHeight() / 2;

    if (freshView) {
        rowLocations.clear();     // also when the new view cannot be allocated: no stale rows for hit tests
        alignmentPixmap.reset();  // the old frame's memory can serve the new one
        alignmentPixmap = PixmapAllocation::MakeWhite(sequenceViewSize.width(), pixmapHeight);
        if (!alignmentPixmap) return;
    }

    nameViewSize = QSize(LongestLabelWidth(helper), sequenceViewSize.height());
    // As wide as the labels composed now, never narrower than the name rectangle, and at least one pixel,
    // so that a column of blank labels does not stop the composition.
    namePixmap.reset();
    namePixmap = PixmapAllocation::MakeWhite(std::max({WidestLabel(lines), aspects.nameRect.width(), 1}),
                                             pixmapHeight);
    if (!namePixmap) return;

    PaintComposedLines(lines);
    RecordRowLocations(lines);
}

// The name column's width as hosts size it: the longest label of all rows. Measured once per layout,
// since walking every row's label on every scroll step costs as much as the frame itself.
int RenderSequenceData::LongestLabelWidth(const Corvane::AlignmentHelper& helper) {
    if (longestLabelWidth < 0) {
        const QFontMetrics metrics(font);
        std::string longest;
        Corvane::FindLongestRowLabel(helper, longest, aspects.showSecondaryStructure, {},
                                     SQC::TextAdvance(metrics));
        longestLabelWidth = metrics.boundingRect(SQC::ToQString(longest)).width();
        longestLabelWidth = std::max(longestLabelWidth, WidestAnnotationLabel());
    }
    return longestLabelWidth;
}

int RenderSequenceData::WidestLabel(const std::vector<ComposedLine>& lines) const {
    const QFontMetrics regular(font);
    const QFontMetrics bold(SQC::FontFactory(font).GetFont(SDM::Bold));
    int widest = 0;
    for (const ComposedLine& line : lines) {
        if (!line.label.isEmpty())
            widest = std::max(widest, (line.boldLabel ? bold : regular).boundingRect(line.label).width());
    }
    return widest;
}

// Tall blocks plan whole row ranges; the view keeps the lines that start above its bottom edge.
void RenderSequenceData::DropLinesBelowView(const CellGeometry& cells,
                                            std::vector<ComposedLine>& lines) const {
    const int limit = cells.LineTop(cells.LinesIn(aspects.viewRect.height()) + 1);
    while (!lines.empty() && lines.back().top >= limit) lines.pop_back();
}

std::vector<RenderSequenceData::ComposedLine> RenderSequenceData::PlanComposedLines(
    const Corvane::AlignmentHelper& helper, unsigned firstBlock, bool freshView) const {
    std::vector<ComposedLine> lines;
    const CellGeometry cells(fontAttributes);
    if (!cells.IsUsable() || residuesPerBlock <= 0) return lines;

    unsigned last = aspects.wrap ? firstBlock + blocksToRender : firstBlock + 1;
    last = std::min<unsigned>(last, unsigned(residueBlocks.size()));
    if (last == 0) last = 1;

    const bool topBandVisible = TopBandVisible(cells);
    const unsigned perBlock = unsigned(residuesPerBlock);
    int y = 0;
    for (unsigned block = firstBlock; block < last; ++block) {
        const unsigned start = aspects.wrap
                                   ? block * perBlock + unsigned(std::max(horizontalViewScrollValue, 0))
                                   : topResidueIndex;
        const bool isFirst = block == firstBlock;
        if (!isFirst || (firstRow == 0 && topBandVisible)) {
            ComposedLine band;
            band.top = y;
            band.height = cells.RulerBandHeight();
            band.firstColumn = start;
            if (aspects.showRuler) {
                band.kind = ComposedLine::Kind::RulerBand;
                band.strip = block < rulerBlocks.size() ? rulerBlocks[block].pixmap : nullptr;
                // The band stops at its block's last column, not at its pixmap's margin.
                const unsigned existing = maxTotalLength > start ? maxTotalLength - start : 0;
                band.stripWidth = cells.ColumnLeft(aspects.wrap ? std::min(existing, perBlock) : existing);
                band.paintStrip = true;
                band.record = true;
                lines.push_back(band);
                y += band.height;
            } else if (aspects.wrap && !isFirst) {
                band.kind = ComposedLine::Kind::BlankBand;
                lines.push_back(band);
                y += band.height;
            }
        }
        PlanBlockRows(helper, block, start, isFirst, block + 1 == last, freshView, y, lines);
    }
    return lines;
}

// Short blocks show the first block's band only at the top of the alignment; a block taller than the view
// starts with its band whenever the view's top lies in it.
bool RenderSequenceData::TopBandVisible(const CellGeometry& cells) const {
    return BlocksTallerThanView(cells) ? cells.GridRowInBlock(topDrawnValue, rowsPerBlock) < kRulerBandRows
                                       : topDrawnValue < cells.RulerBandHeight();
}

// The first annotation line a block shows: all of them, but the view's first block starts at the grid row
// at the top of the view unless that block is shown from its band.
unsigned RenderSequenceData::FirstAnnotationShown(bool firstBlock) const {
    const CellGeometry cells(fontAttributes);
    if (!firstBlock || AnnotationLineCount() == 0 || (firstRow == 0 && TopBandVisible(cells))) return 0;
    const int gridInBlock = int(cells.GridRowInBlock(std::max(topDrawnValue, 0), rowsPerBlock));
    return unsigned(std::clamp(gridInBlock - GridRowOfAnnotation(0), 0, int(AnnotationLineCount())));
}

void RenderSequenceData::PlanAnnotationLines(unsigned firstColumn, unsigned firstIndex, bool freshView,
                                             int& y, std::vector<ComposedLine>& lines) const {
    const CellGeometry cells(fontAttributes);
    // The composed view is one column wider than an unwrapped block.
    const unsigned count = unsigned(std::max(residuesPerBlock, 0)) + (aspects.wrap ? 0 : 1);
    for (unsigned index = firstIndex; index < AnnotationLineCount(); ++index) {
        const AnnotationRow& row = annotationRows[index];
        ComposedLine line;
        line.kind = ComposedLine::Kind::Annotation;
        line.top = y;
        line.height = cells.CellHeight();
        line.annotation = int(index);
        line.firstColumn = firstColumn;
        if (freshView) {
            std::shared_ptr<QPixmap> strip =
                PixmapAllocation::MakeWhite(cells.Width(count), cells.CellHeight());
            if (strip) {
                QPainter painter(strip.get());
                AnnotationPainter::Paint(painter, row, cells, font, cartoonDrawer.get(), firstColumn, count,
                                         0, 0);
            }
            line.strip = std::move(strip);
        }
        line.paintStrip = freshView;
        line.record = true;
        line.label = SQC::ToQString(Corvane::MakeAnnotationLabel(row.label));
        lines.push_back(std::move(line));
        y += cells.CellHeight();
    }
}

int RenderSequenceData::WidestAnnotationLabel() const {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const AnnotationRow& row : annotationRows)
        widest = std::max(
            widest, metrics.boundingRect(SQC::ToQString(Corvane::MakeAnnotationLabel(row.label))).width());
    return widest;
}

void RenderSequenceData::PlanBlockRows(const Corvane::AlignmentHelper& helper, unsigned block,
                                       unsigned firstColumn, bool firstBlock, bool lastBlock, bool freshView,
                                       int& y, std::vector<ComposedLine>& lines) const {
    const int cellHeight = CellGeometry(fontAttributes).CellHeight();
    const unsigned firstShown = (firstBlock && firstRow >= 1) ? unsigned(firstRow) : 0;
    const unsigned endShown = (lastBlock && lastRow != -1)
                                  ? std::min<unsigned>(unsigned(std::max(lastRow, -1) + 1), rowCount)
                                  : rowCount;
    // A kept view repaints residue lines only where every call re-lays out (wrap with its own width).
    const bool drawResidues =
        freshView || (aspects.wrap && aspects.residuesPerLine != RenderAspects::kFitToWidth);
    const bool annotationsAbove = AnnotationsAbove() > 0;
    if (annotationsAbove)
        PlanAnnotationLines(firstColumn, FirstAnnotationShown(firstBlock), freshView, y, lines);

    for (unsigned row = firstShown; row < endShown; ++row) {
        const boost::shared_ptr<SDM::Sequence> sequence = helper.GetSequence(row);
        if (!sequence) continue;
        ComposedLine residues;
        residues.kind = ComposedLine::Kind::Residues;
        residues.top = y;
        residues.height = cellHeight;
        residues.row = int(row);
        residues.firstColumn = firstColumn;
        residues.strip = SlotStrip(residueBlocks, block, row);
        residues.paintStrip = drawResidues;
        residues.record = drawResidues;
        residues.label = SQC::ToQString(Corvane::MakeRowLabel(*sequence));
        residues.boldLabel = sequence->isIndented() || helper.AllSelected(row);
        residues.underline = int(row) == currentSequenceIndex;
        lines.push_back(residues);

        for (const auto& keyEntry : cartoonBlocks) {
            std::shared_ptr<QPixmap> strip = SlotStrip(keyEntry.second, block, row);
            if (!strip) continue;
            y += cellHeight;
            ComposedLine cartoon;
            cartoon.kind = ComposedLine::Kind::Cartoon;
            cartoon.top = y;
            cartoon.height = cellHeight;
            cartoon.row = int(row);
            cartoon.firstColumn = firstColumn;
            cartoon.ssKey = keyEntry.first;
            cartoon.strip = std::move(strip);
            cartoon.paintStrip = freshView;
            cartoon.record = true;
            cartoon.label = SQC::ToQString(Corvane::MakeStructureLineLabel(*sequence, keyEntry.first));
            lines.push_back(cartoon);
        }
        y += cellHeight;
    }
    // Lines below the rows are shown once the block's last row is.
    if (!annotationsAbove && endShown == rowCount)
        PlanAnnotationLines(firstColumn, FirstAnnotationShown(firstBlock), freshView, y, lines);
}

QSize RenderSequenceData::ComposedViewSize(int contentHeight) const {
    const CellGeometry cells(fontAttributes);
    if (!aspects.wrap)
        return QSize(CellGeometry::SizeToInt(cells.Width(std::int64_t(residuesPerBlock) + 1)),
                     CellGeometry::SizeToInt(aspects.viewRect.height()));
    if (BlocksTallerThanView(cells))
        return QSize(CellGeometry::SizeToInt(aspects.viewRect.width()), std::max(contentHeight, 0));

    const std::int64_t blocks = blocksToRender;
    const std::int64_t shownRows = std::int64_t(lastRow) - firstRow;
    const std::int64_t bands = aspects.showRuler ? std::min<std::int64_t>(blocks, 2) * kRulerBandRows : 0;
    std::int64_t lines = 0;
    if (blocks == 1)
        lines = shownRows + bands;
    else if (blocks >= 2)
        lines = shownRows + rowsPerBlock + 1 + bands + (blocks - 2) * rowsPerBlock;
    // The estimate counts rows, not secondary-structure lines; never cut off lines that were composed.
    // A kept layout may meet an inverted view rectangle: sizes never go negative.
    return QSize(CellGeometry::SizeToInt(aspects.viewRect.width()),
                 CellGeometry::SizeToInt(std::max<std::int64_t>(cells.Height(lines), contentHeight)));
}

void RenderSequenceData::PaintComposedLines(const std::vector<ComposedLine>& lines) {
    const CellGeometry cells(fontAttributes);
    QPainter viewPainter(alignmentPixmap.get());
    QPainter namePainter(namePixmap.get());
    namePainter.setFont(font);
    for (const ComposedLine& line : lines) {
        if (line.paintStrip && line.strip)
            viewPainter.drawPixmap(0, line.top, *line.strip, 0, 0,
                                   std::min(line.stripWidth, line.strip->width()), line.strip->height());
        if (line.kind == ComposedLine::Kind::Annotation && line.annotation >= 0 &&
            unsigned(line.annotation) < AnnotationLineCount())
            AnnotationPainter::PaintLabelAxis(namePainter, annotationRows[unsigned(line.annotation)], cells,
                                              font, namePixmap->width(), line.top);
        if (line.label.isEmpty()) continue;
        const int baseline = cells.Baseline(line.top);
        DrawLabel(namePainter, font, baseline, line.label, line.boldLabel);
        if (line.underline) {
            const int bottom = line.top + cells.CellHeight();
            namePainter.setPen(Qt::blue);
            namePainter.drawLine(0, bottom, aspects.nameRect.width(), bottom);
            namePainter.setPen(Qt::black);
        }
    }
}

void RenderSequenceData::RecordRowLocations(const std::vector<ComposedLine>& lines) {
    const unsigned perBlock = unsigned(std::max(residuesPerBlock, 0));
    for (const ComposedLine& line : lines) {
        if (!line.record) continue;
        RowLocation location;
        location.kind = line.kind == ComposedLine::Kind::Cartoon      ? RowLocation::kSecondaryStructureLine
                        : line.kind == ComposedLine::Kind::Annotation ? RowLocation::kAnnotationLine
                                                                      : RowLocation::kBandOrResidueLine;
        location.annotation = line.annotation;
        location.row = line.row;
        location.firstColumn = line.firstColumn;
        location.endColumn = line.firstColumn + perBlock;
        location.isRuler = line.kind == ComposedLine::Kind::RulerBand;
        location.ssKey = line.ssKey;
        rowLocations.insert({line.top, location});  // an entry already at this y stays
    }
}

QPixmap RenderSequenceData::GetSavablePixmap() {
    if (!alignmentPixmap || !namePixmap) return QPixmap();
    const std::int64_t width = std::int64_t(nameViewSize.width()) + sequenceViewSize.width();
    const std::unique_ptr<QPixmap> savable = PixmapAllocation::MakeWhite(width, sequenceViewSize.height());
    if (!savable) return QPixmap();
    QPainter painter(savable.get());
    painter.drawPixmap(0, 0, *namePixmap);
    painter.drawPixmap(nameViewSize.width(), 0, *alignmentPixmap);
    painter.end();
    return *savable;
}

void RenderSequenceData::CopySequenceNamePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                                unsigned row, int baselineY) const {
    const boost::shared_ptr<SDM::Sequence> sequence = helper.GetSequence(row);
    if (!sequence) return;
    const bool bold = Corvane::HasLabelMarker(*sequence, helper.GetShowConsensus());
    DrawLabel(painter, font, baselineY, SQC::ToQString(Corvane::MakeRowLabel(*sequence)), bold);
}

// Draws the cells of `columns` side by side from (x, y): one strip, painted in one call.
void RenderSequenceData::DrawExportCells(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                         unsigned row, const std::vector<unsigned>& columns,
                                         bool ignoreSelection, int x, int y, bool vectorShapes) const {
    if (vectorShapes) {
        DrawVectorCells(helper, painter, row, columns, ignoreSelection, x, y);
        return;
    }
    const QImage cells = PaintCells(helper, row, columns, ignoreSelection);
    if (!cells.isNull()) painter.drawImage(x, y, cells);
}

void RenderSequenceData::CopyResiduePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                           const std::string& residues, unsigned row, int x, int y,
                                           unsigned firstColumn, unsigned endColumn, bool includeGaps,
                                           bool vectorShapes) const {
    // The residue table is from the last Render; the host's alignment may have changed since.
    if (row >= helper.RowCount()) return;
    endColumn = std::min(endColumn, maxTotalLength);
    std::vector<unsigned> drawn;
    for (std::size_t i = 0; i < residues.size() && firstColumn + i < endColumn; ++i) {
        if (!includeGaps && SQC::SequenceConstants::IsGap(residues[i])) continue;  // the residues close up
        if (CellExists(residueTable, row, unsigned(firstColumn + i)))
            drawn.push_back(unsigned(firstColumn + i));
    }
    DrawExportCells(helper, painter, row, drawn, true, x, y, vectorShapes);
}

void RenderSequenceData::CopyResiduePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                           const std::string& alignedSequence, unsigned row, int x, int y,
                                           std::vector<unsigned> columns, unsigned firstPosition,
                                           unsigned endPosition, bool includeGaps, bool vectorShapes) const {
    if (row >= helper.RowCount()) return;
    endPosition = std::min(endPosition, maxTotalLength);
    std::vector<unsigned> drawn;
    for (std::size_t i = firstPosition; i < endPosition && i < columns.size(); ++i) {
        const unsigned column = columns[i];
        if (column >= alignedSequence.size())
            continue;  // past the row's aligned sequence: nothing there to draw
        if (!includeGaps && SQC::SequenceConstants::IsGap(alignedSequence[column])) continue;
        if (CellExists(residueTable, row, column)) drawn.push_back(column);
    }
    DrawExportCells(helper, painter, row, drawn, false, x, y, vectorShapes);
}
