// RenderSequenceData's residue strips: which rows of a block are drawn, and their cells from the glyph cache.

#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <numeric>

#include "common/PerformanceTimer.h"
#include "font/ColorConversion.h"
#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/GlyphMemo.h"
#include "renderer/PixmapAllocation.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"

namespace {

constexpr unsigned kFixedBlockBackground = 0xFF808080u;
constexpr unsigned kWhite = 0xFFFFFFFFu;

// The block's part of a row's aligned structure string; empty when the block lies beyond the string.
std::string StructurePartForBlock(const std::string& structure, unsigned first, unsigned count) {
    if (first >= structure.size()) return std::string();
    return structure.substr(first, count);
}

// A cell that the model cannot describe is drawn blank.
void SetBlankCell(ResidueRenderData& data) {
    data.residue = ' ';
    data.textColour = kWhite;
    data.backgroundColour = kWhite;
    data.lineFlags = 0;
    data.caret = false;
    data.fontStyle = 0;
}

int LineFlagsOf(unsigned filter) {
    return (filter & SDM::FilterUnderline ? ResidueRenderData::kUnderline : 0) |
           (filter & SDM::FilterOverline ? ResidueRenderData::kOverline : 0) |
           (filter & SDM::FilterLeftBar ? ResidueRenderData::kLeftBar : 0);
}

// Copies a cell's pixels, its lines one after another, into a strip. A cell line is a few pixels: a plain
// loop over them beats a library call per line.
void CopyCell(const QRgb* source, int width, int height, uchar* target, qsizetype targetLine) {
    for (int y = 0; y < height; ++y, source += width, target += targetLine) {
        QRgb* line = reinterpret_cast<QRgb*>(target);
        for (int x = 0; x < width; ++x) line[x] = source[x];
    }
}

// What besides the residue decides its cell: the selection, fixed blocks and masks.
unsigned CellState(const Corvane::AlignmentHelper& helper, unsigned row, unsigned column,
                   bool ignoreSelection) {
    unsigned state = 0;
    if (!ignoreSelection && row < helper.RowCount() && helper.IsSelected(column, 1, row))
        state |= GlyphMemo::Selected;
    if (helper.IsInFixedBlock(column, row))
        state |= GlyphMemo::Fixed;
    else if (helper.IsMasked(column, row))
        state |= GlyphMemo::Masked;
    return state;
}

// The look of a cell follows from its residue and state alone, which lets strips remember glyphs by them.
// The model decides the highlight colours; the renderer only passes the selection state.
void FillRenderData(const SDM::Residue& residue, unsigned state, ResidueRenderData& data) {
    using namespace SDM::ResidueAttributes;
    const bool selected = (state & GlyphMemo::Selected) != 0;
    data.residue = residue.getCode();
    data.textColour = SQC::ToDisplayColour(residue.getStateColor(Text, selected));
    data.underlineColour = SQC::ToDisplayColour(residue.getStateColor(Underline, selected));
    data.overlineColour = SQC::ToDisplayColour(residue.getStateColor(Overline, selected));
    data.caretColour = SQC::ToDisplayColour(residue.getStateColor(Caret, selected));

    if (state & GlyphMemo::Fixed) {
        data.backgroundColour = kFixedBlockBackground;
    } else if (state & GlyphMemo::Masked) {
        data.residue = char(std::tolower(static_cast<unsigned char>(data.residue)));
        data.textColour = kWhite;
        data.backgroundColour = kWhite;
    } else {
        data.backgroundColour = SQC::ToDisplayColour(residue.getStateColor(Background, selected));
    }

    data.fontStyle = int(residue.getFontStyle()) & 0x3;
    const unsigned filter = residue.getColorFilter();
    data.lineFlags = LineFlagsOf(filter);
    data.caret = (filter & SDM::FilterCaret) != 0;
}

}  // namespace

bool RenderSequenceData::RenderResidueBlock(const Corvane::AlignmentHelper& helper, unsigned first,
                                            unsigned end, unsigned block, int firstDrawnRow,
                                            int lastDrawnRow) {
    Common::PerformanceTimer timer(Common::PerformanceManager::Renderer,
                                   L"[RenderSequenceData::RenderResidueBlock]", nullptr);
    if (!helper.HasRows()) return false;

    // No composed view is wider than the largest pixmap: a huge block draws only what can be shown.
    const unsigned drawable = PixmapAllocation::CellsPerSide(fontAttributes.GetMaxWidth());
    // Only the rows within the bounds: blocks may hold many thousands of rows.
    for (unsigned row = unsigned(std::max(firstDrawnRow, 0)); row < residueTable.size(); ++row) {
        if (lastDrawnRow != -1 && int(row) > lastDrawnRow) break;
        if (!helper.GetSequence(row)) continue;
        // A block that starts at or beyond this row's end has nothing of it; the next row may be longer.
        const unsigned residues = unsigned(residueTable[row].size());
        if (first >= residues) continue;
        const unsigned available = std::min(residues - first, drawable);
        const unsigned count = end > first ? std::min(end - first, available) : available;  // end may wrap
        RenderResidueBases(helper, row, block, first, count);
        if (aspects.showSecondaryStructure) RenderSecondaryStructureLines(row, block, first, count);
    }
    return true;
}

void RenderSequenceData::RenderSecondaryStructureLines(unsigned row, unsigned block, unsigned first,
                                                       unsigned count) {
    if (row >= ssStringsPerRow.size()) return;
    for (const auto& [key, structure] : ssStringsPerRow[row]) {
        if (structure.empty()) continue;
        const std::string part = StructurePartForBlock(structure, first, count);
        if (part.empty()) continue;
        if (PairingLine(row, key))
            RenderPairingLineBase(row, block, key, first, unsigned(part.size()));
        else
            RenderSSCartoonBase(row, block, key, part);
    }
}

bool RenderSequenceData::RenderResidueBases(const Corvane::AlignmentHelper& helper, unsigned row,
                                            unsigned block, unsigned first, unsigned count) {
    Common::PerformanceTimer timer(Common::PerformanceManager::Renderer,
                                   L"[RenderSequenceData::RenderResidueBases]", nullptr);
    // No block entry is expected after InitializeRendering until the next layout pass; an entry always has
    // a slot for every row of the residue table, which the same layout pass built.
    const auto blockIt = residueBlocks.find(block);
    if (blockIt == residueBlocks.end() || row >= helper.RowCount()) return false;
    Q_ASSERT(row < blockIt->second.size());
    if (row >= blockIt->second.size()) return false;
    PixmapSlot& slot = blockIt->second[row];
    slot.lastShown = blockPassCount;

    const bool selectedNow = helper.IsSelected(first, count, row);
    const bool involved = redrawResidues && (slot.selected || selectedNow);
    if (slot.pixmap && KeepsResidueStrip(slot, involved, first, count)) return true;
    if (slot.pixmap) stripBytes -= PixmapAllocation::BytesOf(*slot.pixmap);
    slot.pixmap.reset();
    slot.selected = selectedNow;
    slot.firstColumn = first;
    slot.columnCount = count;

    const CellGeometry cells(fontAttributes);
    if (count == 0 || !cells.IsUsable() || cells.Width(count) > INT_MAX) return false;

    const std::uint64_t rangeEnd = std::uint64_t(first) + count;
    if (row >= residueTable.size() || rangeEnd > residueTable[row].size()) {
        // Columns beyond the row stay white.
        auto blank = std::make_shared<QPixmap>(cells.ColumnLeft(count), cells.CellHeight());
        if (blank->isNull()) return false;
        blank->fill(Qt::white);
        stripBytes += PixmapAllocation::BytesOf(*blank);
        slot.pixmap = blank;
        return false;
    }
    std::vector<unsigned> columns(count);
    std::iota(columns.begin(), columns.end(), first);
    QImage strip = PaintCells(helper, row, columns, false);
    if (strip.isNull()) return false;
    slot.pixmap = std::make_shared<QPixmap>(QPixmap::fromImage(std::move(strip)));
    stripBytes += PixmapAllocation::BytesOf(*slot.pixmap);
    return !slot.pixmap->isNull();
}

// In wrap mode a strip drawn for the same columns survives until its selection is involved in a redraw;
// without wrap the one visible block is drawn anew on every call.
bool RenderSequenceData::KeepsResidueStrip(const PixmapSlot& slot, bool involved, unsigned first,
                                           unsigned count) const {
    return aspects.wrap && !involved && slot.firstColumn == first && slot.columnCount == count;
}

// Cell i of the strip shows the residue at columns[i] of `row`, which must exist. Every cell is copied from
// its remembered pixels: drawing cells is the renderer's main cost, and a painter call per cell costs
// several times the copy.
QImage RenderSequenceData::PaintCells(const Corvane::AlignmentHelper& helper, unsigned row,
                                      const std::vector<unsigned>& columns, bool ignoreSelection) const {
    const CellGeometry cells(fontAttributes);
    if (columns.empty() || !cells.IsUsable() || cells.Width(std::int64_t(columns.size())) > INT_MAX)
        return QImage();
    const int cellWidth = cells.CellWidth();
    const int cellHeight = cells.CellHeight();
    QImage strip(cells.ColumnLeft(std::int64_t(columns.size())), cellHeight, QImage::Format_RGB32);
    if (strip.isNull()) return strip;
    GlyphMemo& memo = GlyphMemo::Shared();
    memo.UseFont(font, QSize(cellWidth, cellHeight));
    ResidueFactory* glyphs = ResidueFactory::Instance();
    ResidueRenderData data;
    Q_ASSERT(row < residueTable.size());
    const std::vector<SDM::Residue>& residues = residueTable[row];
    Q_ASSERT(*std::max_element(columns.begin(), columns.end()) < residues.size());
    uchar* const bits = strip.bits();
    const qsizetype stripLine = strip.bytesPerLine();
    const std::size_t cellBytes = std::size_t(cellWidth) * sizeof(QRgb);
    QImage made;  // a cell made for this strip, alive while it is copied
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const SDM::Residue& residue = residues[columns[i]];
        const unsigned state = CellState(helper, row, columns[i], ignoreSelection);
        const QRgb* cell = memo.Find(residue.key(), state);
        if (!cell) {
            FillRenderData(residue, state, data);
            made = memo.Remember(residue.key(), state, glyphs->GetPixmap(data, font));
            cell = reinterpret_cast<const QRgb*>(made.constBits());
        }
        CopyCell(cell, cellWidth, cellHeight, bits + i * cellBytes, stripLine);
    }
    return strip;
}

void RenderSequenceData::GetRenderData(const Corvane::AlignmentHelper& helper, ResidueRenderData& data,
                                       unsigned row, unsigned column, bool ignoreSelection) const {
    if (row >= residueTable.size() || column >= residueTable[row].size()) {
        SetBlankCell(data);
        return;
    }
    FillRenderData(residueTable[row][column], CellState(helper, row, column, ignoreSelection), data);
}
