// RenderSequenceData's secondary-structure lines: cached per row, key and block, drawn afresh for export.

#include <QPainter>
#include <algorithm>

#include "font/ColorConversion.h"
#include "font/ShadedText.h"
#include "model/AlignmentHelper.h"
#include "msarender/AnnotationRowFactory.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "tracks/AnnotationPainter.h"
#include "tracks/SSCartoonPainter.h"

namespace {

// The part of an aligned structure string for `count` columns from `firstColumn`; empty beyond its end.
std::string StructurePart(const std::string& structure, unsigned firstColumn, unsigned count) {
    if (firstColumn >= structure.size()) return std::string();
    return structure.substr(firstColumn, count);
}

// The export skips gap columns in residue lines; the cartoon closes up the same way.
std::string WithoutGaps(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '-'), text.end());
    return text;
}

}  // namespace

// The slot of a row's structure line in a block, emptied and marked shown; null where the layout has none.
RenderSequenceData::PixmapSlot* RenderSequenceData::StructureLineSlot(unsigned row, unsigned blockIndex,
                                                                      const std::string& key) {
    const auto keyIt = cartoonBlocks.find(key);
    if (keyIt == cartoonBlocks.end()) return nullptr;
    auto& blocks = keyIt->second;
    auto blockIt = blocks.find(blockIndex);
    if (blockIt == blocks.end()) {
        // Only blocks the layout can reach get an entry; the store sized the others at the layout pass.
        if (blockIndex > blockCount) return nullptr;
        blockIt = blocks.emplace(blockIndex, SlotVector(rowCount + 1)).first;
    }
    SlotVector& rowSlots = blockIt->second;
    if (row >= rowSlots.size()) return nullptr;

    // A line is repainted on every call; the structure may have changed under a kept layout.
    PixmapSlot& slot = rowSlots[row];
    slot.pixmap.reset();
    slot.lastShown = blockPassCount;
    shownCartoons.push_back({key, blockIndex, row});
    return &slot;
}

void RenderSequenceData::RenderSSCartoonBase(unsigned row, unsigned blockIndex, const std::string& key,
                                             const std::string& ssString) {
    PixmapSlot* slot = StructureLineSlot(row, blockIndex, key);
    if (!slot || !cartoonDrawer) return;
    if (std::unique_ptr<QPixmap> line = cartoonDrawer->CartoonPixmap(ssString))
        slot->pixmap = std::move(line);
}

void RenderSequenceData::RenderPairingLineBase(unsigned row, unsigned blockIndex, const std::string& key,
                                               unsigned first, unsigned count) {
    PixmapSlot* slot = StructureLineSlot(row, blockIndex, key);
    if (!slot) return;
    const CellGeometry cells(fontAttributes);
    std::unique_ptr<QPixmap> line = PixmapAllocation::MakeWhite(cells.Width(count), cells.CellHeight());
    if (!line) return;
    QPainter painter(line.get());
    PaintPairingLine(painter, row, key, first, count, true, 0, 0);
    painter.end();
    slot->pixmap = std::move(line);
}

const AnnotationRow* RenderSequenceData::PairingLine(unsigned row, const std::string& key) const {
    const auto found = pairingLines.find(std::make_pair(row, key));
    return found == pairingLines.end() ? nullptr : &found->second;
}

// An RNA's structure line over `count` columns from `firstColumn`: its brackets, each pair's coloured by
// its helix. Without gaps the line closes up as the residues do, brackets still paired across blocks.
void RenderSequenceData::PaintPairingLine(QPainter& painter, unsigned row, const std::string& key,
                                          unsigned firstColumn, unsigned count, bool includeGaps, int x,
                                          int y) const {
    const AnnotationRow* line = PairingLine(row, key);
    if (!line) return;
    const CellGeometry cells(fontAttributes);
    if (includeGaps) {
        AnnotationPainter::Paint(painter, *line, cells, font, cartoonDrawer.get(), firstColumn, count, x, y);
        return;
    }
    // Positions among the residues: the columns the sequence has a residue in, as the placed string keeps.
    const std::string& placed = ssStringsPerRow[row].at(key);
    std::vector<std::string> unusedWarnings;
    std::string closedUp;
    unsigned firstPosition = 0;
    for (std::size_t column = 0; column < placed.size(); ++column) {
        if (placed[column] == '-') continue;
        if (column < firstColumn) ++firstPosition;
        closedUp +=
            line->symbols.size() > column && line->symbols[column] != ' ' ? line->symbols[column] : '.';
    }
    const std::string part = WithoutGaps(StructurePart(placed, firstColumn, count));
    const AnnotationRow closed = AnnotationRowFactory::Pairing(key, closedUp, unusedWarnings);
    AnnotationPainter::Paint(painter, closed, cells, font, cartoonDrawer.get(), firstPosition,
                             unsigned(part.size()), x, y);
}

// The row's secondary-structure lines of a block, in key order: key and the block's part of the aligned
// string, without gap columns when the residues close up. A part may be empty (all gaps, or beyond the
// string): its line is blank but keeps its grid row.
std::vector<std::pair<std::string, std::string>> RenderSequenceData::CartoonLinesOfRow(
    unsigned row, unsigned firstColumn, unsigned count, bool includeGaps) const {
    std::vector<std::pair<std::string, std::string>> lines;
    if (row >= ssStringsPerRow.size()) return lines;
    // The row's keys are ordered as the alignment's: asking the helper for them would walk every sequence.
    for (const auto& [key, structure] : ssStringsPerRow[row]) {
        if (structure.empty()) continue;
        const std::string part = StructurePart(structure, firstColumn, count);
        lines.emplace_back(key, includeGaps ? part : WithoutGaps(part));
    }
    return lines;
}

// The row's secondary-structure lines below its residue line at y; y ends at the top of the last line drawn.
void RenderSequenceData::CopySSCartoonPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                             int row, int x, int& y, unsigned firstColumn, unsigned count,
                                             bool includeGaps, bool vectorShapes) const {
    if (row < 0) return;
    const CellGeometry cells(fontAttributes);
    for (const auto& [key, part] : CartoonLinesOfRow(unsigned(row), firstColumn, count, includeGaps)) {
        CopySSCartoonNamePixmap(helper, painter, unsigned(row), cells.Baseline(y + cells.CellHeight()), key,
                                includeGaps);
        if (part.empty()) {
            y += cells.CellHeight();
            continue;
        }
        if (PairingLine(unsigned(row), key)) {
            y += cells.CellHeight();
            PaintPairingLine(painter, unsigned(row), key, firstColumn, count, includeGaps, x, y);
            continue;
        }
        if (vectorShapes && cartoonDrawer) {
            y += cells.CellHeight();
            cartoonDrawer->PaintCartoon(painter, part, x, y);
            continue;
        }
        const std::unique_ptr<QPixmap> cartoon = cartoonDrawer ? cartoonDrawer->CartoonPixmap(part) : nullptr;
        if (!cartoon) return;
        y += cells.CellHeight();
        painter.drawPixmap(x, y, *cartoon);
    }
}

void RenderSequenceData::CopySSCartoonNamePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                                                 unsigned row, int baselineY, const std::string& key,
                                                 bool /*includeGaps*/) const {
    const auto sequence = helper.GetSequence(row);
    if (!sequence) return;
    const std::string label = Corvane::MakeStructureLineLabel(*sequence, key);
    DrawLabelText(painter, QPointF(0, baselineY), SQC::ToQString(label));
}
