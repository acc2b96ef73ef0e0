// RenderSequenceData's secondary-structure lines: cached per row, key and block, drawn afresh for export.

#include <QPainter>
#include <algorithm>

#include "font/ColorConversion.h"
#include "font/ShadedText.h"
#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
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

void RenderSequenceData::RenderSSCartoonBase(unsigned row, unsigned blockIndex, const std::string& key,
                                             const std::string& ssString) {
    const auto keyIt = cartoonBlocks.find(key);
    if (keyIt == cartoonBlocks.end()) return;
    auto& blocks = keyIt->second;
    auto blockIt = blocks.find(blockIndex);
    if (blockIt == blocks.end()) {
        // Only blocks the layout can reach get an entry; the store sized the others at the layout pass.
        if (blockIndex > blockCount) return;
        blockIt = blocks.emplace(blockIndex, SlotVector(rowCount + 1)).first;
    }
    SlotVector& rowSlots = blockIt->second;
    if (row >= rowSlots.size()) return;

    // A line is repainted on every call; the structure may have changed under a kept layout.
    PixmapSlot& slot = rowSlots[row];
    slot.pixmap.reset();
    slot.lastShown = blockPassCount;
    shownCartoons.push_back({key, blockIndex, row});
    if (!cartoonDrawer) return;
    if (std::unique_ptr<QPixmap> line = cartoonDrawer->CartoonPixmap(ssString)) slot.pixmap = std::move(line);
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
