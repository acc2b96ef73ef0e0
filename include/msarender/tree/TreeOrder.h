#pragma once

#include <QString>
#include <vector>

#include "msarender/Export.h"
#include "msarender/tree/PhyloTree.h"

namespace SDM {
class Alignment;
}

/// The rows of a picture beside a tree: the sequences the tree's leaves name, in leaf order, then those it
/// does not name, in the order given; and the tree cut down to the leaves that name a sequence.
struct TreeRows {
    std::vector<unsigned> order;
    PhyloTree tree;
    std::vector<unsigned> leafSequences;  // the sequence of each leaf of `tree`, in leaf order
    /// One message naming the sequences missing from the tree and the leaves that name no sequence; empty
    /// when the two agree.
    QString warning;
};

/// Matches the leaves of `tree` to the sequences `indexes` by identifier; a leaf and an identifier that
/// differ only by a "/start-end" range at the end match too, when no other sequence takes that name.
MSARENDER_EXPORT TreeRows OrderByTree(const SDM::Alignment& alignment, const PhyloTree& tree,
                                      const std::vector<unsigned>& indexes);
