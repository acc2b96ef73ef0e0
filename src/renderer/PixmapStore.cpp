// RenderSequenceData's pixmap block store: shaping it at a layout pass and emptying it.

#include <QPixmap>
#include <algorithm>
#include <vector>

#include "model/AlignmentHelper.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"

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
    shownCartoons.clear();
    alignmentPixmap.reset();
    namePixmap.reset();
    residueBlocks.clear();
    stripBytes = 0;
    // The keys stay: a layout pass that keeps the drawer finds them again.
    for (auto& entry : cartoonBlocks) entry.second.clear();
    FreeRulerRows();
}

void RenderSequenceData::FreeRulerRows() {
    ReleaseSlots(rulerBlocks);
}

void RenderSequenceData::PurgeResiduePixmaps() {
    for (auto& entry : residueBlocks) ReleaseSlots(entry.second);
    stripBytes = 0;
}

// A few views' worth of strips: enough to scroll back a few pages without drawing again.
std::int64_t RenderSequenceData::StripBudget() const {
    if (stripBudgetBytes > 0) return stripBudgetBytes;
    constexpr std::int64_t kViews = 8;
    constexpr std::int64_t kMinimum = std::int64_t(32) << 20;
    // No view is composed larger than the largest pixmap, however large the host's rectangle.
    const auto side = [](int pixels) {
        return std::int64_t(std::clamp(pixels, 0, PixmapAllocation::kMaxSide));
    };
    const std::int64_t viewBytes =
        side(aspects.viewRect.width()) * side(aspects.viewRect.height()) * std::int64_t(sizeof(QRgb));
    return std::max(kMinimum, kViews * viewBytes);
}

// Cartoon lines are drawn anew on every block pass, so a line of the last pass that this one did not draw
// is out of view and worth nothing: dropping it keeps the store to a view's worth while paging.
void RenderSequenceData::DropCartoonsNotShown(const std::vector<CartoonPlace>& places) {
    for (const CartoonPlace& place : places) {
        const auto key = cartoonBlocks.find(place.key);
        if (key == cartoonBlocks.end()) continue;
        const auto block = key->second.find(place.block);
        if (block == key->second.end() || place.row >= block->second.size()) continue;
        PixmapSlot& slot = block->second[place.row];
        if (slot.lastShown != blockPassCount) slot.pixmap.reset();
    }
}

// Drops the least recently shown residue strips until half the budget is left. Strips of the current
// block pass stay: composition is about to copy them. Dropping in batches keeps the scan of the store rare.
void RenderSequenceData::EvictStrips() {
    const std::int64_t budget = StripBudget();
    if (stripBytes <= budget) return;
    struct Cached {
        std::uint64_t lastShown;
        PixmapSlot* slot;
    };
    std::vector<Cached> evictable;
    std::int64_t bytes = 0;
    for (auto& entry : residueBlocks) {
        for (PixmapSlot& slot : entry.second) {
            if (!slot.pixmap) continue;
            bytes += PixmapAllocation::BytesOf(*slot.pixmap);
            if (slot.lastShown != blockPassCount) evictable.push_back({slot.lastShown, &slot});
        }
    }
    std::sort(evictable.begin(), evictable.end(),
              [](const Cached& a, const Cached& b) { return a.lastShown < b.lastShown; });
    for (const Cached& cached : evictable) {
        if (bytes <= budget / 2) break;
        bytes -= PixmapAllocation::BytesOf(*cached.slot->pixmap);
        cached.slot->pixmap.reset();
    }
    stripBytes = bytes;
}
