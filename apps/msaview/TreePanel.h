#pragma once

#include <QPoint>
#include <optional>
#include <vector>

#include "msarender/tree/Dendrogram.h"
#include "msarender/tree/PhyloTree.h"
#include "msarender/tree/TreeOrder.h"

namespace SDM {
class Alignment;
}
class QPainter;
class RowMap;
struct ShownLine;

/// The tree beside the view: the dendrogram of the shown rows, one leaf per row, drawn at the rows' places
/// (beside each block of a wrapped view), and the clade under a click.
class TreePanel {
public:
    /// Takes a tree; the rows it names, in leaf order, and a warning about the names that do not match.
    TreeRows Set(const SDM::Alignment& alignment, PhyloTree tree, const std::vector<unsigned>& shown);
    void Clear();
    bool HasTree() const { return source.has_value(); }
    /// The tree as set (call only while HasTree()).
    const PhyloTree& Source() const { return *source; }
    /// Whether the last Follow found the rows in the tree's order.
    bool RowsInTreeOrder() const { return inOrder; }
    /// Cuts the tree to the rows shown; false when they no longer stand in its leaf order (sorted otherwise).
    bool Follow(const SDM::Alignment& alignment, const RowMap& rows);

    /// Paints the dendrogram in a panel `width` pixels wide, the rows where `lines` show them.
    void Paint(QPainter& painter, int width, const std::vector<ShownLine>& lines, int cellHeight) const;
    /// The sequences of the clade whose branch is nearest to `point`; empty when none is near.
    std::vector<unsigned> CladeAt(QPoint point, int width, const std::vector<ShownLine>& lines,
                                  int cellHeight) const;

private:
    std::vector<int> LeafMiddles(const std::vector<ShownLine>& lines, int cellHeight) const;

    std::optional<PhyloTree> source;  // as loaded or built
    TreeRows shownRows;               // cut to the rows shown
    bool inOrder = false;             // the first rows are the leaves, in leaf order
};
