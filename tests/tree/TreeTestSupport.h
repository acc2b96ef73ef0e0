#pragma once

#include <QString>
#include <set>
#include <string>

#include "msarender/tree/PhyloTree.h"

namespace treetest {

/// The tree read from Newick text; fails the test when it cannot be read.
PhyloTree Read(const QString& newick);
/// The leaves' labels in order, joined by spaces.
QString LeafLabels(const PhyloTree& tree);
/// The splits of an unrooted tree: for every inner branch, the sorted labels on the side without the first
/// leaf in label order, joined by commas. Two trees have the same topology when their splits are equal.
std::set<std::string> Splits(const PhyloTree& tree);

}  // namespace treetest
