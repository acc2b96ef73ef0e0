// RenderSequenceData's hit tests and ScrollTo, answered from the last composition's row locations.

#include <algorithm>
#include <cstdint>

#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"

namespace {

constexpr unsigned kNoRow = 0xFFFFFFFFu;

}  // namespace

const RenderSequenceData::RowLocation* RenderSequenceData::LocationAt(QPoint point) const {
    const CellGeometry cells(fontAttributes);
    if (rowLocations.empty() || !cells.IsUsable()) return nullptr;
    const auto it = rowLocations.find(cells.LineKey(point.y()));
    return it == rowLocations.end() ? nullptr : &it->second;
}

int RenderSequenceData::GetRowIndex(QPoint point) const {
    const RowLocation* location = LocationAt(point);
    return location != nullptr ? location->row : -1;
}

int RenderSequenceData::GetSequenceIndex(QPoint point) const {
    int row = GetRowIndex(point);
    if (row < 0 || svAlignment == nullptr || rowCount == 0) return -1;
    row = std::min(row, int(rowCount) - 1);
    // A fresh helper: when the host's alignment lost rows since the last Render, a stale row answers -1.
    return Corvane::AlignmentHelper(*svAlignment).SequenceOfRow(unsigned(row));
}

int RenderSequenceData::GetAnnotationIndex(QPoint point) const {
    const RowLocation* location = LocationAt(point);
    return location != nullptr && location->kind == RowLocation::kAnnotationLine ? location->annotation : -1;
}

std::string RenderSequenceData::GetSsKey(QPoint point) const {
    const RowLocation* location = LocationAt(point);
    return location != nullptr ? location->ssKey : std::string();
}

int RenderSequenceData::GetResidueIndex(QPoint point) const {
    const CellGeometry cells(fontAttributes);
    if (residuesPerBlock <= 0 || point.x() < 0) return -1;
    // The composed view is one column wider than a block, so the block's end column can be hit.
    if (point.x() >= cells.ColumnLeft((long long)residuesPerBlock + 1)) return -1;
    const RowLocation* location = LocationAt(point);
    if (location == nullptr) return -1;
    return CellGeometry::SaturateToInt(std::int64_t(location->firstColumn) + cells.ColumnAt(point.x()));
}

void RenderSequenceData::GetResidueLocation(QPoint point, int& sequenceIndex, int& residueIndex) const {
    int row = GetRowIndex(point);
    if (row >= 0 && unsigned(row) >= rowCount) row = int(rowCount) - 1;

    const int column = GetResidueIndex(point);
    residueIndex = column;
    if (column != -1 && unsigned(column) > maxTotalLength)
        residueIndex =
            CellGeometry::SaturateToInt(maxTotalLength);  // just past the last column is a valid place

    sequenceIndex = (row < 0 || svAlignment == nullptr)
                        ? -1
                        : Corvane::AlignmentHelper(*svAlignment).SequenceOfRow(unsigned(row));
}

const RenderSequenceData::RowLocation* RenderSequenceData::FindResidueEntry(unsigned row, unsigned column,
                                                                            int& top) const {
    // The block that draws the column wins; a block's end column matches that block only when no later
    // block shows the column.
    for (const auto& [y, location] : rowLocations) {
        if (location.kind == RowLocation::kBandOrResidueLine && location.row == int(row) &&
            location.firstColumn <= column && column < location.endColumn) {
            top = y;
            return &location;
        }
    }
    for (const auto& [y, location] : rowLocations) {
        if (location.row == int(row) && location.firstColumn <= column && column <= location.endColumn) {
            top = y;
            return &location;
        }
    }
    return nullptr;
}

QPoint RenderSequenceData::GetResidueCoordinate(unsigned column, unsigned sequenceIndex) const {
    const CellGeometry cells(fontAttributes);
    if (svAlignment == nullptr || rowLocations.empty()) return QPoint(-1, -1);
    const unsigned row = Corvane::AlignmentHelper(*svAlignment).RowOfSequence(sequenceIndex);
    if (row == kNoRow) return QPoint(-1, -1);
    int top = 0;
    const RowLocation* location = FindResidueEntry(row, column, top);
    if (location == nullptr) return QPoint(-1, -1);
    return QPoint(cells.ColumnLeft(int(column - location->firstColumn)), top);
}

bool RenderSequenceData::ResidueLineShown(unsigned row, unsigned block, int& top) const {
    const unsigned perBlock = unsigned(residuesPerBlock);
    for (const auto& [y, location] : rowLocations) {
        const bool sameBlock = !aspects.wrap || location.firstColumn / perBlock == block;
        if (location.kind == RowLocation::kBandOrResidueLine && !location.isRuler &&
            location.row == int(row) && sameBlock) {
            top = y;
            return true;
        }
    }
    return false;
}

bool RenderSequenceData::AnnotationLineShown(unsigned index, unsigned block, int& top) const {
    const unsigned perBlock = unsigned(residuesPerBlock);
    for (const auto& [y, location] : rowLocations) {
        const bool sameBlock = !aspects.wrap || location.firstColumn / perBlock == block;
        if (location.kind == RowLocation::kAnnotationLine && location.annotation == int(index) && sameBlock) {
            top = y;
            return true;
        }
    }
    return false;
}

int RenderSequenceData::GridRowOfRow(unsigned row) const {
    int grid = (aspects.showRuler ? int(kRulerBandRows) : 0) + int(AnnotationsAbove());
    for (unsigned i = 0; i < row && i < ssRowsPerRow.size(); ++i) grid += int(ssRowsPerRow[i]);
    return grid + int(row);
}

bool RenderSequenceData::ColumnShownHorizontally(unsigned column) const {
    const CellGeometry cells(fontAttributes);
    const long long visibleColumns = cells.ColumnAt(aspects.viewRect.width());
    if (!aspects.wrap)
        return column >= topResidueIndex && column < (long long)topResidueIndex + residuesPerBlock;
    if (aspects.residuesPerLine == RenderAspects::kFitToWidth)
        return true;  // the horizontal offset is ignored: every block starts at its first column
    const long long inBlock = (long long)(column % unsigned(residuesPerBlock)) - horizontalViewScrollValue;
    return inBlock >= 0 && inBlock < visibleColumns;
}

int RenderSequenceData::HorizontalScrollFor(unsigned column) const {
    const CellGeometry cells(fontAttributes);
    if (ColumnShownHorizontally(column)) return aspects.horizontalOffset;
    if (aspects.wrap) return cells.ColumnLeft(int(column % unsigned(residuesPerBlock)));
    if (column < topResidueIndex) return cells.ColumnLeft(int(column));
    // The column becomes the last one of the view.
    return cells.ColumnLeft(int(std::max<long long>(0, (long long)column - residuesPerBlock + 1)));
}

long long RenderSequenceData::VerticalTopFor(unsigned row, unsigned block, long long currentTop,
                                             int viewHeight) const {
    return VerticalTopForLine(GridRowOfRow(row), block, currentTop, viewHeight);
}

// The scroll position that shows grid row `gridRow` of `block`.
long long RenderSequenceData::VerticalTopForLine(int gridRow, unsigned block, long long currentTop,
                                                 int viewHeight) const {
    const CellGeometry cells(fontAttributes);
    const long long blockTop = cells.BlockTop(block, rowsPerBlock);
    const long long targetTop = blockTop + cells.Height(gridRow);
    if (targetTop < currentTop || targetTop + cells.CellHeight() <= currentTop + viewHeight)
        return targetTop;  // above the view, or inside it but not composed there: bring it to the top

    // Below: the least scroll that shows the line at the bottom, started on a row's residue line or an
    // annotation line of the same block so that the composed view begins exactly there.
    const long long least = targetTop + cells.CellHeight() - viewHeight;
    if (least < blockTop) return targetTop;
    long long grid = aspects.showRuler ? kRulerBandRows : 0;  // of the line that starts, kept as it walks
    long long found = -1;
    const auto startsAt = [&](long long step) {
        if (found < 0 && grid <= gridRow && blockTop + cells.Height(grid) >= least)
            found = blockTop + cells.Height(grid);
        grid += step;
    };
    for (unsigned index = 0; index < AnnotationsAbove(); ++index) startsAt(1);
    for (unsigned above = 0; above < rowCount && grid <= gridRow; ++above)
        startsAt(1 + (above < ssRowsPerRow.size() ? ssRowsPerRow[above] : 0));
    for (unsigned index = AnnotationsAbove(); index < AnnotationLineCount(); ++index) startsAt(1);
    return found >= 0 ? found : targetTop;
}

int RenderSequenceData::ViewHeightForScrolling(const CellGeometry& cells) const {
    return std::max(cells.LineTop(cells.LineAt(aspects.viewRect.height())), cells.CellHeight());
}

long long RenderSequenceData::CurrentViewTop(const CellGeometry& cells) const {
    const long long topBlock = aspects.wrap ? cells.LinesIn(topScrollValue) / rowsPerBlock : 0;
    return cells.BlockTop(topBlock, rowsPerBlock) +
           cells.Height(cells.GridRowInBlock(topDrawnValue, rowsPerBlock));
}

void RenderSequenceData::ScrollToAnnotation(unsigned column, unsigned index, int& x, int& y) const {
    const CellGeometry cells(fontAttributes);
    if (residuesPerBlock <= 0 || rowsPerBlock == 0 || !cells.IsUsable() || column >= maxTotalLength ||
        index >= AnnotationLineCount() || rowLocations.empty())
        return;
    const unsigned targetBlock = aspects.wrap ? column / unsigned(residuesPerBlock) : 0;
    const int viewHeight = ViewHeightForScrolling(cells);
    int lineTop = 0;
    const bool verticallyShown = AnnotationLineShown(index, targetBlock, lineTop) && lineTop >= 0 &&
                                 lineTop + cells.CellHeight() <= viewHeight;
    if (verticallyShown && ColumnShownHorizontally(column)) return;
    x = HorizontalScrollFor(column);
    if (verticallyShown) return;
    const long long currentTop = CurrentViewTop(cells);
    y = CellGeometry::SaturateToInt(
        y + VerticalTopForLine(GridRowOfAnnotation(index), targetBlock, currentTop, viewHeight) - currentTop);
}

void RenderSequenceData::ScrollTo(unsigned column, unsigned sequenceIndex, int& x, int& y) const {
    const CellGeometry cells(fontAttributes);
    if (svAlignment == nullptr || residuesPerBlock <= 0 || rowsPerBlock == 0 || !cells.IsUsable() ||
        column >= maxTotalLength)
        return;
    const unsigned row = Corvane::AlignmentHelper(*svAlignment).RowOfSequence(sequenceIndex);
    if (row == kNoRow || row >= rowCount) return;

    const unsigned perBlock = unsigned(residuesPerBlock);
    const unsigned targetBlock = aspects.wrap ? column / perBlock : 0;
    const int viewHeight = ViewHeightForScrolling(cells);
    int lineTop = 0;
    const bool verticallyShown = ResidueLineShown(row, targetBlock, lineTop) && lineTop >= 0 &&
                                 lineTop + cells.CellHeight() <= viewHeight;
    const bool horizontallyShown = ColumnShownHorizontally(column);
    if (verticallyShown && horizontallyShown) return;

    x = HorizontalScrollFor(column);
    if (verticallyShown) return;
    const long long currentTop = CurrentViewTop(cells);
    y = CellGeometry::SaturateToInt(y + VerticalTopFor(row, targetBlock, currentTop, viewHeight) -
                                    currentTop);
}
