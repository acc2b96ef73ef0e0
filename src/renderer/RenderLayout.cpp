// RenderSequenceData::Render: the path choice, the layout pass and the block pass.

#include <QGuiApplication>
#include <QObject>
#include <QPaintDevice>
#include <QVariant>
#include <algorithm>
#include <cstdint>

#include "common/PerformanceTimer.h"
#include "font/ColorConversion.h"
#include "model/AlignmentHelper.h"
#include "msarender/AnnotationRowFactory.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "sdm/Sequence.h"
#include "sqv/UserProperties.h"
#include "tracks/SSCartoonPainter.h"

namespace {

// The residue font: a widget's font, or the application font for any other device. Widgets are found
// through their QObject side so that the renderer needs Qt Gui only.
QFont FontOfDevice(const QPaintDevice* device) {
    if (device != nullptr && device->devType() == QInternal::Widget) {
        if (const auto* object = dynamic_cast<const QObject*>(device)) {
            const QVariant value = object->property("font");
            if (value.typeId() == QMetaType::QFont) return value.value<QFont>();
        }
    }
    return QGuiApplication::font();
}

}  // namespace

bool RenderSequenceData::Render(QPaintDevice* device, SQV::SVAlignment& alignment,
                                const RenderAspects& newAspects, bool redraw, bool keepLayout) {
    Common::PerformanceTimer timer(Common::PerformanceManager::Renderer, L"[RenderSequenceData::Render]",
                                   nullptr);
    redrawResidues = redraw;
    svAlignment = &alignment;

    const Corvane::AlignmentHelper helper(alignment);
    if (!helper.HasRows()) return false;

    alignment.Update();
    aspects = newAspects;
    currentSequenceIndex = helper.GetCurrSeqIndex();
    const bool fontChanged = helper.GetFontChanged();

    // Scrolling alone keeps the layout; wrap mode with a column count of its own re-lays out every call.
    const bool reusable = ((!aspects.layoutChanged && alignmentPixmap) || currentSequenceIndex != -1) &&
                          !fontChanged &&
                          (!aspects.wrap || aspects.residuesPerLine == RenderAspects::kFitToWidth);
    if (annotationsChanged) {
        if (!RunLayoutPass(helper, device, fontChanged)) return false;  // new grid rows in every block
    } else if (redrawResidues) {
        longestLabelWidth = -1;  // labels may have turned bold
        PurgeResiduePixmaps();
    } else if (reusable || keepLayout)
        FreeRulerRows();
    else if (!RunLayoutPass(helper, device, fontChanged))
        return false;
    return RunBlockPass(helper);
}

bool RenderSequenceData::RunLayoutPass(const Corvane::AlignmentHelper& helper, QPaintDevice* device,
                                       bool fontChanged) {
    maxTotalLength = helper.GetMaxTotalLength();
    rowCount = helper.RowCount();
    ssRowCount = 0;
    longestLabelWidth = -1;
    FreePixmaps();
    if (fontChanged) {
        helper.SetFontChanged(false);
        cartoonDrawer.reset();
    }
    font = aspects.font ? *aspects.font : FontOfDevice(device);
    fontAttributes.SetFont(font);
    // An empty or inverted view rectangle shows nothing rather than a negative number of cells. Beyond the
    // largest pixmap nothing can be composed, so a huge view draws no more strips than that.
    const CellGeometry cells(fontAttributes);
    const QRect& view = aspects.viewRect;
    const int visibleRows = cells.LinesIn(std::min(view.height(), PixmapAllocation::kMaxSide));
    const int visibleColumns = cells.ColumnsIn(std::min(view.width(), PixmapAllocation::kMaxSide));
    if (visibleRows == 0 || visibleColumns == 0) {
        ForgetComposedView();
        return false;
    }

    ComputeBlockShape(helper, visibleColumns);
    InitializePixmapBlocks(helper);
    if (!cartoonDrawer) CreateCartoonDrawer(helper);

    ssStringsPerRow.clear();
    helper.Align(residueTable);
    const bool ssShown = helper.IsSecondaryStructureShown();
    ssRowsPerRow.clear();
    if (ssShown && aspects.showSecondaryStructure) CollectSecondaryStructure(helper);

    rowsPerBlock = rowCount + ssRowCount + kRulerBandRows + AnnotationLineCount();
    ComputeVisibleBlocks(unsigned(visibleRows));
    layoutFresh = true;
    annotationsChanged = false;
    if (maxTotalLength > 0) ComputeScrollExtents();
    return true;
}

// The failed pass freed the composed view: hit tests must not find rows of it, nor the host size a view
// that is gone. The layout numbers stay for the next pass to keep.
void RenderSequenceData::ForgetComposedView() {
    sequenceViewSize = QSize(0, 0);
    nameViewSize = QSize(0, 0);
    rowLocations.clear();
}

// Columns per block, published to the user properties, and the number of blocks of the alignment.
void RenderSequenceData::ComputeBlockShape(const Corvane::AlignmentHelper& helper, int visibleColumns) {
    residuesPerBlock =
        (aspects.wrap && aspects.residuesPerLine > 0) ? aspects.residuesPerLine : visibleColumns;
    helper.SetFitToWidthValue(int(std::min<std::int64_t>(residuesPerBlock, maxTotalLength)));
    const unsigned perBlock = unsigned(residuesPerBlock);
    blockCount = maxTotalLength / perBlock + (maxTotalLength % perBlock != 0 ? 1 : 0);
}

void RenderSequenceData::CreateCartoonDrawer(const Corvane::AlignmentHelper& helper) {
    cartoonDrawer =
        std::make_shared<SSCartoonPainter>(fontAttributes.GetMaxWidth(), fontAttributes.GetMaxHeight(),
                                           SQC::PropertyToDisplayColour(helper.GetSSColor(0)),
                                           SQC::PropertyToDisplayColour(helper.GetSSColor(1)),
                                           SQC::PropertyToDisplayColour(helper.GetSSColor(2)),
                                           SQC::PropertyToDisplayColour(helper.GetSSGapColor()));
}

void RenderSequenceData::CollectSecondaryStructure(const Corvane::AlignmentHelper& helper) {
    pairingLines.clear();
    for (unsigned row = 0; row < rowCount; ++row) {
        std::map<std::string, std::string> strings;
        const boost::shared_ptr<SDM::Sequence> sequence = helper.GetSequence(row);
        if (const auto protein = boost::dynamic_pointer_cast<SDM::AASequence>(sequence)) {
            for (const auto& [key, structure] : protein->getSecondaryStructure()) {
                if (!structure || !helper.IsSecondaryStructureVisible(key)) continue;
                strings.emplace(key, svAlignment->GetAlignedSS(key, row));  // empty: no grid row, key kept
            }
        } else if (const auto rna = boost::dynamic_pointer_cast<SDM::NASequence>(sequence)) {
            CollectPairingLines(*rna, row, helper, strings);
        }
        const auto lines = unsigned(std::count_if(strings.begin(), strings.end(),
                                                  [](const auto& entry) { return !entry.second.empty(); }));
        ssRowCount += lines;
        ssRowsPerRow.push_back(lines);
        ssStringsPerRow.push_back(std::move(strings));
    }
}

// An RNA's structures in pairing notation, one letter per column: the line's string marks the sequence's
// gaps with '-', as a protein's placed structure does, so that a picture without gaps closes it up alike.
void RenderSequenceData::CollectPairingLines(const SDM::NASequence& rna, unsigned row,
                                             const Corvane::AlignmentHelper& helper,
                                             std::map<std::string, std::string>& strings) {
    const std::string& aligned = rna.getAligned();
    for (const auto& [key, notation] : rna.getPairingStructures()) {
        if (notation.empty() || !helper.IsSecondaryStructureVisible(key)) continue;
        std::string placed = notation;
        for (std::size_t column = 0; column < placed.size(); ++column)
            if (column >= aligned.size() || SQC::SequenceConstants::IsGap(aligned[column]))
                placed[column] = '-';
        std::vector<std::string> unusedWarnings;  // the reader's and the command's to give
        pairingLines.emplace(std::make_pair(row, key),
                             AnnotationRowFactory::Pairing(key, notation, unusedWarnings));
        strings.emplace(key, std::move(placed));
    }
}

// Blocks drawn per call, and the rows shown in the last, partly visible one.
void RenderSequenceData::ComputeVisibleBlocks(unsigned visibleRows) {
    // One more than the whole blocks that fit: the view may start inside a block.
    blocksToRender = aspects.wrap ? visibleRows / rowsPerBlock + 1 : 1;
    if (blocksToRender >= blockCount || (!aspects.wrap && visibleRows >= rowsPerBlock)) {
        lastBlockRows = int(rowCount);
        return;
    }
    const unsigned remainder = visibleRows % rowsPerBlock;
    if (!aspects.showRuler)
        lastBlockRows = int(remainder);
    else
        lastBlockRows = remainder < kRulerBandRows
                            ? int(rowCount)
                            : int(remainder - kRulerBandRows) -
                                  int(std::min(AnnotationsAbove(), remainder - kRulerBandRows));
}

void RenderSequenceData::ComputeScrollExtents() {
    const CellGeometry cells(fontAttributes);
    const std::int64_t blockHeight = cells.BlockTop(1, rowsPerBlock);
    if (aspects.wrap) {
        horizontalScrollValue = CellGeometry::SaturateToInt(cells.Width(residuesPerBlock));
        verticalScrollValue = CellGeometry::SaturateToInt(cells.BlockTop(blockCount, rowsPerBlock));
    } else {
        horizontalScrollValue = CellGeometry::SaturateToInt(cells.Width(maxTotalLength));
        verticalScrollValue = CellGeometry::SaturateToInt(blockHeight);
    }
    residueBlockHeight = CellGeometry::SaturateToInt(blockHeight);
    residueBlockWidth = CellGeometry::SaturateToInt(cells.Width(residuesPerBlock));
}

bool RenderSequenceData::RunBlockPass(const Corvane::AlignmentHelper& helper) {
    topResidueIndex = unsigned(CalculateTopResidueIndex());
    const CellGeometry cells(fontAttributes);
    if (residuesPerBlock <= 0 || rowsPerBlock == 0 || !cells.IsUsable()) return false;
    const unsigned topBlock = topResidueIndex / unsigned(residuesPerBlock);
    ++blockPassCount;
    if (BlocksTallerThanView(cells))
        FindVisibleRowsOfTallBlocks(cells, topBlock);
    else
        FindVisibleRows(cells);
    std::vector<CartoonPlace> shownBefore;
    shownBefore.swap(shownCartoons);
    RenderVisibleBlocks(helper);
    DropCartoonsNotShown(shownBefore);
    EvictStrips();
    MakeAlignmentPixmap(helper, topBlock);
    return true;
}

// The first row drawn in the first block and the last row drawn in the last block.
void RenderSequenceData::FindVisibleRows(const CellGeometry& cells) {
    const int topDrawn = std::max(topDrawnValue, 0);
    firstRow = 0;
    // While the top of the view lies in the first block's ruler band, that block starts at row 0.
    if (topDrawn >= cells.RulerBandHeight() || !aspects.showRuler) {
        firstRow = int(cells.GridRowInBlock(topDrawn, rowsPerBlock));
        FindRowPosition(firstRow);
    }

    lastRow = lastBlockRows;
    if (blocksToRender < blockCount || (blocksToRender == blockCount && lastBlockRows != int(rowCount)))
        lastRow = lastBlockRows + firstRow + (topDrawn > cells.CellHeight() ? 1 : 0);
    if (unsigned(lastRow) > rowCount) {
        lastRow = int(rowCount);
        // After a layout pass, the first overflowing block pass may add one block.
        if (layoutFresh) {
            if (aspects.wrap) ++blocksToRender;
            layoutFresh = false;
        }
    }
}

// Blocks of more grid rows than the view shows (thousands of sequences): the view holds the rest of its
// top block and, wrapped, at most the start of the next one.
bool RenderSequenceData::BlocksTallerThanView(const CellGeometry& cells) const {
    return rowsPerBlock > unsigned(cells.LinesIn(aspects.viewRect.height()));
}

// For blocks taller than the view the rows are found from the grid rows the view can show, plus the
// partly shown one at the bottom, so that a block boundary in view never draws or composes a whole block.
// The first row is found as for short blocks.
void RenderSequenceData::FindVisibleRowsOfTallBlocks(const CellGeometry& cells, unsigned topBlock) {
    const unsigned gridInBlock = cells.GridRowInBlock(std::max(topDrawnValue, 0), rowsPerBlock);
    // The band of any block, not only the first, may be at the top of the view: then the block is shown
    // from its band.
    const bool topBandShown = aspects.showRuler && gridInBlock < kRulerBandRows;
    const unsigned topGrid = topBandShown ? 0 : gridInBlock;
    firstRow = int(topGrid);
    if (!topBandShown) FindRowPosition(firstRow);

    const unsigned viewLines = unsigned(cells.LinesIn(aspects.viewRect.height())) + 1;
    const unsigned linesLeft = rowsPerBlock - topGrid;  // of the top block, from the view's top
    blocksToRender = aspects.wrap && linesLeft < viewLines && topBlock + 1 < blockCount ? 2 : 1;
    if (blocksToRender == 1 && linesLeft < viewLines) {  // the alignment ends in view
        lastRow = int(rowCount);
        return;
    }
    lastRow = int(blocksToRender == 1 ? topGrid + viewLines - 1 : viewLines - linesLeft - 1);
    FindRowPosition(lastRow);
    lastRow = std::min(lastRow, int(rowCount));
}

void RenderSequenceData::RenderVisibleBlocks(const Corvane::AlignmentHelper& helper) {
    const std::uint64_t perBlock = unsigned(residuesPerBlock);
    std::uint64_t start = topResidueIndex;
    for (unsigned i = 0; i < blocksToRender; ++i) {
        const std::uint64_t end = start + perBlock;
        if (std::uint64_t(maxTotalLength) + perBlock < end)
            break;  // the block would start beyond the last column
        const unsigned block = unsigned(start / perBlock);
        const int first = i == 0 ? firstRow : -1;
        const bool lastDrawn = i + 1 == blocksToRender || i + 1 == blockCount;
        RenderResidueBlock(helper, unsigned(start), unsigned(end), block, first, lastDrawn ? lastRow : -1);
        RenderRulerBase(helper, unsigned(start), block);
        start = end;
    }
}

void RenderSequenceData::GetSequenceAndResidueStarters(int& sequenceStarter, int& residueStarter) const {
    // Truncating divisions, not CellGeometry's floors: a negative scroll value counts as the top.
    const QSize cell = fontAttributes.GetMaxSize();
    sequenceStarter = cell.height() > 0 ? topScrollValue / cell.height() : 0;
    residueStarter = 0;
    if (cell.width() > 0) {
        // Partly scrolled-in columns are skipped: round up to whole cells.
        residueStarter = aspects.horizontalOffset / cell.width();
        if (aspects.horizontalOffset % cell.width() > 0) ++residueStarter;
    }
}

int RenderSequenceData::CalculateTopResidueIndex() {
    if (rowCount == 0) return 0;
    int sequenceStarter = 0;
    int residueStarter = 0;
    GetSequenceAndResidueStarters(sequenceStarter, residueStarter);
    residueStarter = std::max(residueStarter, 0);
    if (!aspects.wrap) return residueStarter;

    const std::int64_t topBlock =
        rowsPerBlock > 0 ? std::max(sequenceStarter, 0) / std::int64_t(rowsPerBlock) : 0;
    const std::int64_t base = topBlock * std::max(residuesPerBlock, 0);
    if (aspects.residuesPerLine == RenderAspects::kFitToWidth) {
        horizontalViewScrollValue = 0;
        return CellGeometry::SaturateToInt(base);
    }
    horizontalViewScrollValue = residueStarter;
    return CellGeometry::SaturateToInt(base + residueStarter);
}

int RenderSequenceData::ViewTopFor(int y) const {
    const CellGeometry cells(fontAttributes);
    if (rowsPerBlock == 0 || !cells.IsUsable() || y <= 0) return std::max(y, 0);
    const int grid = cells.LinesIn(y);
    const int inBlock = int(cells.GridRowInBlock(y, rowsPerBlock));
    const int rowsStart =
        grid - inBlock + (aspects.showRuler ? int(kRulerBandRows) : 0) + int(AnnotationsAbove());
    int residueLine = rowsStart;  // grid row of row r's residue line, walking down the block
    for (unsigned row = 0; row < rowCount && ssRowCount > 0 && residueLine <= grid; ++row) {
        const int lines = row < ssRowsPerRow.size() ? int(ssRowsPerRow[row]) : 0;
        if (grid > residueLine && grid <= residueLine + lines) return cells.LineTop(residueLine);
        residueLine += lines + 1;
    }
    return cells.LineTop(grid);
}

void RenderSequenceData::FindRowPosition(int& position) const {
    if (aspects.showRuler && position >= int(kRulerBandRows)) position -= int(kRulerBandRows);
    // Positions in annotation lines above the rows belong to the block's first row.
    if (AnnotationsAbove() > 0) position = std::max(position - int(AnnotationsAbove()), 0);
    if (ssRowCount == 0) return;
    int gridRow = 0;  // grid position of row r's residue line
    for (unsigned row = 0; row < rowCount; ++row) {
        if (gridRow == position) {
            position = int(row);
            return;
        }
        const unsigned lines = row < ssRowsPerRow.size() ? ssRowsPerRow[row] : 0;
        for (unsigned line = 0; line < lines; ++line) {
            if (++gridRow == position) {
                position = int(row);
                return;
            }
        }
        ++gridRow;
    }
}
