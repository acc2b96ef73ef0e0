#include "TreePanel.h"

#include <QPainter>
#include <algorithm>

#include "RowMap.h"
#include "ViewMarks.h"

namespace {

// Pixels from a branch that a click still takes.
constexpr int kClickReach = 4;

// The shown lines block by block (a wrapped view shows a block's rows, then the next block's): runs of lines
// that start at the same column. An unwrapped view is one block.
std::vector<std::vector<ShownLine>> BlocksOf(const std::vector<ShownLine>& lines) {
    std::vector<std::vector<ShownLine>> blocks;
    for (const ShownLine& line : lines) {
        if (blocks.empty() || blocks.back().front().firstColumn != line.firstColumn) blocks.emplace_back();
        blocks.back().push_back(line);
    }
    return blocks;
}

// The rows a block's dendrogram may draw in: from its first shown row's top to its last one's bottom.
QRect BlockBand(const std::vector<ShownLine>& block, int width, int cellHeight) {
    return QRect(0, block.front().top, width, block.back().top + cellHeight - block.front().top);
}

}  // namespace

TreeRows TreePanel::Set(const SDM::Alignment& alignment, PhyloTree tree, const std::vector<unsigned>& shown) {
    TreeRows rows = OrderByTree(alignment, tree, shown);
    source = std::move(tree);
    inOrder = false;
    return rows;
}

void TreePanel::Clear() {
    source.reset();
    inOrder = false;
}

bool TreePanel::Follow(const SDM::Alignment& alignment, const RowMap& rows) {
    if (!source) return false;
    std::vector<unsigned> shown;
    for (int row = 0; row < rows.RowCount(); ++row) shown.push_back(unsigned(rows.SequenceOfRow(row)));
    // Sorting moves the sequences themselves to other indexes: matched anew on every layout.
    shownRows = OrderByTree(alignment, *source, shown);
    const std::vector<unsigned>& leaves = shownRows.leafSequences;
    inOrder = leaves.size() >= 2 && leaves.size() <= shown.size() &&
              std::equal(leaves.begin(), leaves.end(), shown.begin());
    return inOrder;
}

// Leaves off the view are placed a line apart from the nearest shown row: their branches are clipped, but
// the inner nodes they join still stand midway between their children.
std::vector<int> TreePanel::LeafMiddles(const std::vector<ShownLine>& lines, int cellHeight) const {
    std::vector<int> middles(shownRows.leafSequences.size(), 0);
    if (lines.empty()) return middles;
    const ShownLine& first = lines.front();
    for (std::size_t leaf = 0; leaf < middles.size(); ++leaf) {
        const int row = int(leaf);  // in tree order, leaf i is row i
        const auto shown = std::find_if(lines.begin(), lines.end(),
                                        [row](const ShownLine& line) { return line.row == row; });
        const int top = shown != lines.end() ? shown->top : first.top + (row - first.row) * cellHeight;
        middles[leaf] = top + cellHeight / 2;
    }
    return middles;
}

// A wrapped view has the tree beside each block, each kept to its block's rows.
void TreePanel::Paint(QPainter& painter, int width, const std::vector<ShownLine>& lines,
                      int cellHeight) const {
    if (!inOrder) return;
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    const std::vector<std::vector<ShownLine>> blocks = BlocksOf(lines);
    for (const std::vector<ShownLine>& block : blocks) {
        painter.save();
        if (blocks.size() > 1) painter.setClipRect(BlockBand(block, width, cellHeight));
        for (const QLine& line :
             DendrogramLines(shownRows.tree, LeafMiddles(block, cellHeight), width - 2, TreeStyle::Phylogram))
            painter.drawLine(line.translated(1, 0));
        painter.restore();
    }
}

std::vector<unsigned> TreePanel::CladeAt(QPoint point, int width, const std::vector<ShownLine>& lines,
                                         int cellHeight) const {
    std::vector<unsigned> sequences;
    if (!inOrder) return sequences;
    const std::vector<std::vector<ShownLine>> blocks = BlocksOf(lines);
    const auto clicked = std::find_if(blocks.begin(), blocks.end(), [&](const std::vector<ShownLine>& block) {
        return blocks.size() == 1 || BlockBand(block, width, cellHeight).contains(point);
    });
    if (clicked == blocks.end()) return sequences;
    for (int leaf : ::CladeAt(shownRows.tree, LeafMiddles(*clicked, cellHeight), width - 2,
                              TreeStyle::Phylogram, point - QPoint(1, 0), kClickReach))
        sequences.push_back(shownRows.leafSequences[std::size_t(leaf)]);
    return sequences;
}
