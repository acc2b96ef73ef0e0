#include "msarender/tree/PhyloTree.h"

#include <utility>

int PhyloTree::AddNode(int parent, QString label, std::optional<double> length) {
    const int index = int(nodes.size());
    nodes.push_back(Node{std::move(label), length, parent, {}});
    if (parent >= 0) nodes[std::size_t(parent)].children.push_back(index);
    return index;
}

// Iterative walks: a tree of a few thousand leaves in a ladder would overflow a recursive one.
std::vector<int> PhyloTree::PostOrder() const {
    std::vector<int> order;
    if (nodes.empty()) return order;
    order.reserve(nodes.size());
    std::vector<std::pair<int, std::size_t>> stack{{0, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        const std::vector<int>& children = nodes[std::size_t(node)].children;
        if (next < children.size()) {
            stack.emplace_back(children[next++], 0);
            continue;
        }
        order.push_back(node);
        stack.pop_back();
    }
    return order;
}

std::vector<int> PhyloTree::Leaves() const {
    std::vector<int> leaves;
    for (int node : PostOrder())
        if (nodes[std::size_t(node)].IsLeaf()) leaves.push_back(node);
    return leaves;
}

PhyloTree PhyloTree::Pruned(const std::function<bool(int leaf)>& keep) const {
    // Which nodes hold a kept leaf.
    std::vector<char> kept(nodes.size(), 0);
    for (int node : PostOrder()) {
        const Node& each = nodes[std::size_t(node)];
        if (each.IsLeaf()) kept[std::size_t(node)] = keep(node);
        for (int child : each.children) kept[std::size_t(node)] |= kept[std::size_t(child)];
    }
    PhyloTree pruned;
    if (nodes.empty() || !kept[0]) return pruned;
    // Copy top-down; a node with one kept child is skipped, its branch added to the child's.
    std::vector<std::pair<int, int>> stack{{0, -1}};  // (node here, parent in the pruned tree)
    std::vector<std::optional<double>> carried(nodes.size());
    while (!stack.empty()) {
        auto [node, parent] = stack.back();
        stack.pop_back();
        const Node& each = nodes[std::size_t(node)];
        std::vector<int> children;
        for (int child : each.children)
            if (kept[std::size_t(child)]) children.push_back(child);
        std::optional<double> length = each.length;
        if (carried[std::size_t(node)]) length = length.value_or(0) + *carried[std::size_t(node)];
        if (children.size() == 1) {
            carried[std::size_t(children[0])] = length;
            stack.emplace_back(children[0], parent);
            continue;
        }
        const int copy = pruned.AddNode(parent, each.label, parent < 0 ? each.length : length);
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            stack.emplace_back(*child, copy);
    }
    return pruned;
}
