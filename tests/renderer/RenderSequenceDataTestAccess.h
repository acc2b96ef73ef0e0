#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "msarender/RenderSequenceData.h"

class QPainter;
struct ResidueRenderData;

namespace Corvane {
class AlignmentHelper;
}

/// Test-only window into a renderer: read access to its layout members, its pixmap stores and the
/// row locations, plus call-throughs to the private steps that tests drive one at a time.
class RenderSequenceDataTestAccess {
public:
    using Slot = RenderSequenceData::PixmapSlot;
    using SlotVector = RenderSequenceData::SlotVector;
    using ResidueStore = std::map<unsigned, SlotVector>;
    using CartoonStore = std::map<std::string, std::map<unsigned, SlotVector>>;
    using RowLocation = RenderSequenceData::RowLocation;

    explicit RenderSequenceDataTestAccess(RenderSequenceData& renderer) : r(renderer) {}

    // Layout members.
    int ResiduesPerBlock() const { return r.residuesPerBlock; }
    unsigned BlockCount() const { return r.blockCount; }
    unsigned BlocksToRender() const { return r.blocksToRender; }
    unsigned TopResidueIndex() const { return r.topResidueIndex; }
    unsigned RowsPerBlock() const { return r.rowsPerBlock; }
    unsigned SsRowCount() const { return r.ssRowCount; }
    int FirstRow() const { return r.firstRow; }
    int LastRow() const { return r.lastRow; }
    int LastBlockRows() const { return r.lastBlockRows; }
    bool LayoutFresh() const { return r.layoutFresh; }
    bool RedrawResidues() const { return r.redrawResidues; }
    int HorizontalViewScrollValue() const { return r.horizontalViewScrollValue; }
    unsigned RowCount() const { return r.rowCount; }
    unsigned MaxTotalLength() const { return r.maxTotalLength; }
    int CurrentSequenceIndex() const { return r.currentSequenceIndex; }
    const SQV::SVAlignment* Alignment() const { return r.svAlignment; }
    const RenderSequenceData::RenderAspects& Aspects() const { return r.aspects; }
    const QFont& Font() const { return r.font; }
    const SQC::FontAttributes& CellFont() const { return r.fontAttributes; }
    const std::vector<unsigned>& SsRowsPerRow() const { return r.ssRowsPerRow; }
    const std::vector<std::map<std::string, std::string>>& SsStringsPerRow() const {
        return r.ssStringsPerRow;
    }
    const std::vector<std::vector<SDM::Residue>>& ResidueTable() const { return r.residueTable; }
    bool HasCartoonDrawer() const { return r.cartoonDrawer != nullptr; }
    const void* CartoonDrawerIdentity() const { return r.cartoonDrawer.get(); }

    // Stores and composition results.
    const ResidueStore& ResidueBlocks() const { return r.residueBlocks; }
    const CartoonStore& CartoonBlocks() const { return r.cartoonBlocks; }
    const SlotVector& RulerBlocks() const { return r.rulerBlocks; }
    const std::map<int, RowLocation>& RowLocations() const { return r.rowLocations; }

    /// The residue strip of `row` in `block`; null when the slot is missing or empty.
    const QPixmap* ResidueStrip(unsigned block, unsigned row) const {
        return SlotPixmap(r.residueBlocks, block, row);
    }
    /// The cartoon line of `row` under `key` in `block`; null when missing or empty.
    const QPixmap* CartoonStrip(const std::string& key, unsigned block, unsigned row) const {
        const auto keyIt = r.cartoonBlocks.find(key);
        return keyIt == r.cartoonBlocks.end() ? nullptr : SlotPixmap(keyIt->second, block, row);
    }
    /// The ruler band of `block`; null when missing or empty.
    const QPixmap* RulerBand(unsigned block) const {
        return block < r.rulerBlocks.size() ? r.rulerBlocks[block].pixmap.get() : nullptr;
    }

    /// A handle that tells whether the strip is still alive, whoever released it.
    std::weak_ptr<QPixmap> ResidueStripHandle(unsigned block, unsigned row) const {
        const auto it = r.residueBlocks.find(block);
        if (it == r.residueBlocks.end() || row >= it->second.size()) return {};
        return it->second[row].pixmap;
    }
    std::weak_ptr<QPixmap> AlignmentPixmapHandle() const { return r.alignmentPixmap; }
    std::weak_ptr<const void> CartoonDrawerHandle() const { return r.cartoonDrawer; }

    // Call-throughs to private steps.
    void GetSequenceAndResidueStarters(int& sequenceStarter, int& residueStarter) const {
        r.GetSequenceAndResidueStarters(sequenceStarter, residueStarter);
    }
    int CalculateTopResidueIndex() { return r.CalculateTopResidueIndex(); }
    void FindRowPosition(int& position) const { r.FindRowPosition(position); }
    void FreePixmaps() { r.FreePixmaps(); }
    void InitializePixmapBlocks(const Corvane::AlignmentHelper& helper) { r.InitializePixmapBlocks(helper); }
    void FreeRulerRows() { r.FreeRulerRows(); }
    void GetRenderData(const Corvane::AlignmentHelper& helper, ResidueRenderData& data, unsigned row,
                       unsigned column, bool ignoreSelection) const {
        r.GetRenderData(helper, data, row, column, ignoreSelection);
    }
    bool RenderResidueBlock(const Corvane::AlignmentHelper& helper, unsigned first, unsigned end,
                            unsigned block, int firstRow, int lastRow) {
        return r.RenderResidueBlock(helper, first, end, block, firstRow, lastRow);
    }
    bool RenderResidueBases(const Corvane::AlignmentHelper& helper, unsigned row, unsigned block,
                            unsigned first, unsigned count) {
        return r.RenderResidueBases(helper, row, block, first, count);
    }
    void RenderSSCartoonBase(unsigned row, unsigned blockIndex, const std::string& key,
                             const std::string& ss) {
        r.RenderSSCartoonBase(row, blockIndex, key, ss);
    }
    void RenderRulerBase(const Corvane::AlignmentHelper& helper, unsigned firstColumn, unsigned blockIndex) {
        r.RenderRulerBase(helper, firstColumn, blockIndex);
    }
    void CopyRulerPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned count, int x,
                         int y, unsigned firstColumn) const {
        r.CopyRulerPixmap(helper, painter, count, x, y, firstColumn);
    }
    void CopySSCartoonPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, int row, int x,
                             int& y, unsigned firstColumn, unsigned count, bool includeGaps) const {
        r.CopySSCartoonPixmap(helper, painter, row, x, y, firstColumn, count, includeGaps);
    }
    void CopySSCartoonNamePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned row,
                                 int baselineY, const std::string& key, bool includeGaps) const {
        r.CopySSCartoonNamePixmap(helper, painter, row, baselineY, key, includeGaps);
    }

private:
    static const QPixmap* SlotPixmap(const std::map<unsigned, SlotVector>& store, unsigned block,
                                     unsigned row) {
        const auto it = store.find(block);
        if (it == store.end() || row >= it->second.size()) return nullptr;
        return it->second[row].pixmap.get();
    }

    RenderSequenceData& r;  // not owned; the test keeps the renderer alive
};
