// RenderSequenceData's pixmap block store: shaping it at a layout pass and emptying it.

#include "model/AlignmentHelper.h"
#include "msarender/RenderSequenceData.h"

namespace {

// Empties every slot of a store vector; the vector keeps its length and selection flags.
template <class SlotVector>
void ReleaseSlots(SlotVector& rowSlots) {
    for (auto& slot : rowSlots) slot.pixmap.reset();
}

}  // namespace

void RenderSequenceData::InitializePixmapBlocks(const Corvane::AlignmentHelper& helper) {
    if (svAlignment == nullptr || rowCount == 0 || !helper.HasRows()) return;

    residueBlocks.clear();
    cartoonBlocks.clear();
    for (const std::string& key : helper.GetSecondaryStructureKeys()) cartoonBlocks[key];
    rulerBlocks.clear();
    if (maxTotalLength == 0) return;

    // Every slot exists up front, so drawing only fills rowSlots and composition only looks them up.
    const SlotVector emptyRows(rowCount + 1);
    rulerBlocks.resize(blockCount);
    for (unsigned block = 0; block < blockCount; ++block) {
        residueBlocks.emplace_hint(residueBlocks.end(), block, emptyRows);
        for (auto& entry : cartoonBlocks) entry.second.emplace_hint(entry.second.end(), block, emptyRows);
    }
}

void RenderSequenceData::FreePixmaps() {
    alignmentPixmap.reset();
    namePixmap.reset();
    residueBlocks.clear();
    // The keys stay: a layout pass that keeps the drawer finds them again.
    for (auto& entry : cartoonBlocks) entry.second.clear();
    FreeRulerRows();
}

void RenderSequenceData::FreeRulerRows() {
    ReleaseSlots(rulerBlocks);
}

void RenderSequenceData::PurgeResiduePixmaps() {
    for (auto& entry : residueBlocks) ReleaseSlots(entry.second);
}
