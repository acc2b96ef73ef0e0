#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "msarender/Export.h"

/// A rooted tree of sequences, as a Newick file or a tree builder gives it: nodes in a vector that refer to
/// each other by index, the root first. Leaves carry the names matched to sequences; internal nodes may carry
/// a label too (often a support value). An unrooted tree is one whose root has three or more children.
struct MSARENDER_EXPORT PhyloTree {
    struct Node {
        QString label;
        std::optional<double> length;  // of the branch above the node; none when the file gives none
        int parent = -1;
        std::vector<int> children;  // left to right
        bool IsLeaf() const { return children.empty(); }
    };

    std::vector<Node> nodes;  // nodes[0] is the root; empty for no tree

    bool IsEmpty() const { return nodes.empty(); }
    /// Adds a node under `parent` (-1: the root, which must come first); its index.
    int AddNode(int parent, QString label = QString(), std::optional<double> length = std::nullopt);
    /// Leaf indexes, left to right: the order of the rows beside the tree.
    std::vector<int> Leaves() const;
    /// Nodes so that every node comes after its children (the root last).
    std::vector<int> PostOrder() const;
    /// The tree of the leaves that `keep` accepts, each inner node left with one child merged into it (their
    /// branch lengths added); empty when no leaf is kept.
    PhyloTree Pruned(const std::function<bool(int leaf)>& keep) const;
};
