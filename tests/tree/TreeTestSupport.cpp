#include "TreeTestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <vector>

#include "msarender/tree/Newick.h"

namespace treetest {

PhyloTree Read(const QString& newick) {
    const NewickResult result = ReadNewick(newick);
    EXPECT_TRUE(result.ok()) << result.error.toStdString() << " at " << result.line << ":" << result.column;
    return result.tree;
}

QString LeafLabels(const PhyloTree& tree) {
    QStringList labels;
    for (int leaf : tree.Leaves()) labels.append(tree.nodes[std::size_t(leaf)].label);
    return labels.join(' ');
}

std::set<std::string> Splits(const PhyloTree& tree) {
    std::vector<std::set<std::string>> below(tree.nodes.size());
    std::set<std::string> all;
    for (int node : tree.PostOrder()) {
        const PhyloTree::Node& each = tree.nodes[std::size_t(node)];
        if (each.IsLeaf()) below[std::size_t(node)].insert(each.label.toStdString());
        for (int child : each.children)
            below[std::size_t(node)].insert(below[std::size_t(child)].begin(),
                                            below[std::size_t(child)].end());
    }
    all = below[0];
    std::set<std::string> splits;
    if (all.empty()) return splits;
    const std::string first = *all.begin();
    for (std::size_t node = 1; node < tree.nodes.size(); ++node) {
        std::set<std::string> side = below[node];
        if (side.size() < 2 || side.size() + 2 > all.size()) continue;  // a leaf's branch splits nothing
        if (side.count(first)) {
            std::set<std::string> other;
            std::set_difference(all.begin(), all.end(), side.begin(), side.end(),
                                std::inserter(other, other.begin()));
            side = other;
        }
        std::string text;
        for (const std::string& label : side) text += label + ",";
        splits.insert(text);
    }
    return splits;
}

}  // namespace treetest
