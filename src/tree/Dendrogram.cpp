#include "msarender/tree/Dendrogram.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Each node's x and y.
struct NodePlaces {
    std::vector<int> x;
    std::vector<int> y;
};

bool HasLengths(const PhyloTree& tree) {
    return std::any_of(tree.nodes.begin() + 1, tree.nodes.end(),
                       [](const PhyloTree::Node& node) { return node.length && *node.length > 0; });
}

// Distance from the root (phylogram) or steps from the deepest leaf below (cladogram), as a share of the
// widest.
std::vector<double> Depths(const PhyloTree& tree, TreeStyle style, const std::vector<int>& postOrder) {
    std::vector<double> depth(tree.nodes.size(), 0.0);
    if (style == TreeStyle::Phylogram && HasLengths(tree)) {
        for (auto node = postOrder.rbegin(); node != postOrder.rend(); ++node) {
            const PhyloTree::Node& each = tree.nodes[std::size_t(*node)];
            if (each.parent >= 0)
                depth[std::size_t(*node)] =
                    depth[std::size_t(each.parent)] + std::max(each.length.value_or(0), 0.0);
        }
    } else {
        std::vector<double> steps(tree.nodes.size(), 0.0);  // to the deepest leaf below
        for (int node : postOrder)
            for (int child : tree.nodes[std::size_t(node)].children)
                steps[std::size_t(node)] = std::max(steps[std::size_t(node)], steps[std::size_t(child)] + 1);
        for (std::size_t node = 0; node < depth.size(); ++node) depth[node] = steps[0] - steps[node];
    }
    const double deepest = *std::max_element(depth.begin(), depth.end());
    if (deepest > 0)
        for (double& each : depth) each /= deepest;
    return depth;
}

NodePlaces Place(const PhyloTree& tree, const std::vector<int>& leafY, int width, TreeStyle style) {
    NodePlaces places;
    if (tree.IsEmpty()) return places;
    const std::vector<int> postOrder = tree.PostOrder();
    const std::vector<double> depth = Depths(tree, style, postOrder);
    places.x.resize(tree.nodes.size());
    places.y.resize(tree.nodes.size());
    std::size_t leaf = 0;
    for (int node : postOrder) {
        const PhyloTree::Node& each = tree.nodes[std::size_t(node)];
        places.x[std::size_t(node)] = int(std::lround(depth[std::size_t(node)] * width));
        if (each.IsLeaf())
            places.y[std::size_t(node)] = leaf < leafY.size() ? leafY[leaf++] : 0;
        else
            places.y[std::size_t(node)] =
                (places.y[std::size_t(each.children.front())] + places.y[std::size_t(each.children.back())]) /
                2;
    }
    return places;
}

}  // namespace

std::vector<QLine> DendrogramLines(const PhyloTree& tree, const std::vector<int>& leafY, int width,
                                   TreeStyle style) {
    const NodePlaces places = Place(tree, leafY, width, style);
    std::vector<QLine> lines;
    for (std::size_t node = 0; node < tree.nodes.size(); ++node) {
        const PhyloTree::Node& each = tree.nodes[node];
        if (each.parent >= 0)
            lines.emplace_back(places.x[std::size_t(each.parent)], places.y[node], places.x[node],
                               places.y[node]);
        if (each.children.size() > 1)
            lines.emplace_back(places.x[node], places.y[std::size_t(each.children.front())], places.x[node],
                               places.y[std::size_t(each.children.back())]);
    }
    return lines;
}

QPainterPath DendrogramPath(const std::vector<QLine>& lines) {
    QPainterPath path;
    for (const QLine& line : lines) {
        path.moveTo(line.p1());
        path.lineTo(line.p2());
    }
    return path;
}

std::vector<int> CladeAt(const PhyloTree& tree, const std::vector<int>& leafY, int width, TreeStyle style,
                         QPoint point, int reach) {
    const NodePlaces places = Place(tree, leafY, width, style);
    int nearest = -1;
    int nearestDistance = reach + 1;
    for (std::size_t node = 0; node < tree.nodes.size(); ++node) {
        const PhyloTree::Node& each = tree.nodes[node];
        // The branch above the node, from its parent's x to its own; the root owns its vertical line only.
        const int left = each.parent >= 0 ? places.x[std::size_t(each.parent)] : places.x[node];
        int distance = INT_MAX;
        if (point.x() >= left - reach && point.x() <= places.x[node] + reach)
            distance = std::abs(point.y() - places.y[node]);
        if (each.children.size() > 1) {
            const int top = places.y[std::size_t(each.children.front())];
            const int bottom = places.y[std::size_t(each.children.back())];
            if (point.y() >= top && point.y() <= bottom)
                distance = std::min(distance, std::abs(point.x() - places.x[node]));
        }
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = int(node);
        }
    }
    std::vector<int> clade;
    if (nearest < 0) return clade;
    const std::vector<int> leaves = tree.Leaves();
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        for (int up = leaves[i]; up >= 0; up = tree.nodes[std::size_t(up)].parent)
            if (up == nearest) {
                clade.push_back(int(i));
                break;
            }
    }
    return clade;
}
