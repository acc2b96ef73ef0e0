#include "msarender/tree/TreeBuilding.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

DistanceMatrix::DistanceMatrix(QStringList names)
    : labels(std::move(names)), values(std::size_t(labels.size()) * std::size_t(labels.size()), 0.0) {}

void DistanceMatrix::Set(int a, int b, double distance) {
    values[Index(a, b)] = distance;
    values[Index(b, a)] = distance;
}

namespace {

// Each sequence's columns as upper-case letters, 0 for a gap: the pairs loop compares bytes only.
std::vector<std::vector<unsigned char>> ComparableRows(const SDM::Alignment& alignment,
                                                       const std::vector<unsigned>& indexes) {
    std::vector<std::vector<unsigned char>> rows;
    for (unsigned index : indexes) {
        const std::string& aligned = alignment.getSequence(index)->getAligned();
        std::vector<unsigned char> row(aligned.size());
        for (std::size_t column = 0; column < aligned.size(); ++column)
            row[column] =
                SQC::SequenceConstants::IsGap(aligned[column])
                    ? 0
                    : static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(aligned[column])));
        rows.push_back(std::move(row));
    }
    return rows;
}

// RowOrder::Identity's definition as a distance, over rows normalised once: the matrix compares every pair
// of rows, so gap tests and case folding stay out of its inner loop.
double Distance(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    const std::size_t columns = std::min(a.size(), b.size());
    std::size_t shared = 0;
    std::size_t same = 0;
    for (std::size_t column = 0; column < columns; ++column) {
        const bool both = a[column] != 0 && b[column] != 0;
        shared += both;
        same += both && a[column] == b[column];
    }
    return shared == 0 ? 1.0 : 1.0 - double(same) / double(shared);
}

// Trees are joined bottom-up; PhyloTree wants its root first, so the joins are collected here and copied out
// top-down at the end.
class TreeAssembly {
public:
    explicit TreeAssembly(const QStringList& leaves) {
        for (const QString& leaf : leaves) nodes.push_back(Node{leaf, 0.0, {}});
    }
    int Join(std::vector<std::pair<int, double>> children) {
        nodes.push_back(Node{QString(), 0.0, {}});
        for (auto [child, length] : children) {
            nodes[std::size_t(child)].length = length;
            nodes.back().children.push_back(child);
        }
        return int(nodes.size()) - 1;
    }
    PhyloTree Emit(int root) const {
        PhyloTree tree;
        std::vector<std::pair<int, int>> stack{{root, -1}};
        while (!stack.empty()) {
            auto [node, parent] = stack.back();
            stack.pop_back();
            const Node& each = nodes[std::size_t(node)];
            const int copy = tree.AddNode(parent, each.label,
                                          parent < 0 ? std::nullopt : std::optional<double>(each.length));
            for (auto child = each.children.rbegin(); child != each.children.rend(); ++child)
                stack.emplace_back(*child, copy);
        }
        return tree;
    }

private:
    struct Node {
        QString label;
        double length;
        std::vector<int> children;
    };
    std::vector<Node> nodes;
};

// The working matrix of the joining methods: the distances between the clusters still active, each slot
// holding a node of the assembly.
struct Clusters {
    explicit Clusters(const DistanceMatrix& distances) : size(distances.Size()) {
        d.resize(std::size_t(size) * std::size_t(size));
        for (int a = 0; a < size; ++a)
            for (int b = 0; b < size; ++b) d[Index(a, b)] = distances.At(a, b);
        for (int a = 0; a < size; ++a) {
            active.push_back(a);
            node.push_back(a);
        }
    }
    std::size_t Index(int a, int b) const { return std::size_t(a) * std::size_t(size) + std::size_t(b); }
    double& D(int a, int b) { return d[Index(a, b)]; }
    // Slot `b` leaves; slot `a` holds the joined cluster.
    void Retire(int b) { active.erase(std::find(active.begin(), active.end(), b)); }

    int size;
    std::vector<double> d;
    std::vector<int> active;  // slots in use, ascending
    std::vector<int> node;    // assembly node of each slot
};

}  // namespace

DistanceMatrix IdentityDistances(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes) {
    QStringList names;
    for (unsigned index : indexes)
        names.append(QString::fromStdString(alignment.getSequence(index)->getIdentifier()));
    DistanceMatrix matrix(names);
    const auto rows = ComparableRows(alignment, indexes);
    for (std::size_t a = 0; a < rows.size(); ++a)
        for (std::size_t b = a + 1; b < rows.size(); ++b)
            matrix.Set(int(a), int(b), Distance(rows[a], rows[b]));
    return matrix;
}

PhyloTree NeighbourJoining(const DistanceMatrix& distances) {
    if (distances.Size() == 0) return PhyloTree();
    TreeAssembly assembly(distances.Names());
    Clusters c(distances);
    std::vector<double> sums(std::size_t(c.size), 0.0);
    for (int a : c.active)
        for (int b : c.active) sums[std::size_t(a)] += c.D(a, b);
    while (c.active.size() > 3) {
        const double m = double(c.active.size());
        int bestA = -1;
        int bestB = -1;
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < c.active.size(); ++i)
            for (std::size_t j = i + 1; j < c.active.size(); ++j) {
                const int a = c.active[i];
                const int b = c.active[j];
                const double q = (m - 2) * c.D(a, b) - sums[std::size_t(a)] - sums[std::size_t(b)];
                if (q < best) {
                    best = q;
                    bestA = a;
                    bestB = b;
                }
            }
        const double dab = c.D(bestA, bestB);
        const double lengthA =
            dab / 2 + (sums[std::size_t(bestA)] - sums[std::size_t(bestB)]) / (2 * (m - 2));
        const int joined = assembly.Join(
            {{c.node[std::size_t(bestA)], lengthA}, {c.node[std::size_t(bestB)], dab - lengthA}});
        c.Retire(bestB);
        sums[std::size_t(bestA)] = 0;
        for (int k : c.active) {
            if (k == bestA) continue;
            const double dk = (c.D(bestA, k) + c.D(bestB, k) - dab) / 2;
            sums[std::size_t(k)] += dk - c.D(bestA, k) - c.D(bestB, k);
            c.D(bestA, k) = c.D(k, bestA) = dk;
            sums[std::size_t(bestA)] += dk;
        }
        c.node[std::size_t(bestA)] = joined;
    }
    std::vector<std::pair<int, double>> last;
    const std::vector<int>& rest = c.active;
    if (rest.size() == 1) return assembly.Emit(c.node[std::size_t(rest[0])]);
    if (rest.size() == 2) {
        const double half = c.D(rest[0], rest[1]) / 2;
        return assembly.Emit(
            assembly.Join({{c.node[std::size_t(rest[0])], half}, {c.node[std::size_t(rest[1])], half}}));
    }
    // The last three meet at the root: each branch from the three distances between them.
    for (int i = 0; i < 3; ++i) {
        const int a = rest[std::size_t(i)];
        const int b = rest[std::size_t((i + 1) % 3)];
        const int k = rest[std::size_t((i + 2) % 3)];
        last.emplace_back(c.node[std::size_t(a)], (c.D(a, b) + c.D(a, k) - c.D(b, k)) / 2);
    }
    return assembly.Emit(assembly.Join(last));
}

PhyloTree Upgma(const DistanceMatrix& distances) {
    if (distances.Size() == 0) return PhyloTree();
    TreeAssembly assembly(distances.Names());
    Clusters c(distances);
    std::vector<double> members(std::size_t(c.size), 1.0);
    std::vector<double> height(std::size_t(c.size), 0.0);
    while (c.active.size() > 1) {
        int bestA = -1;
        int bestB = -1;
        double best = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < c.active.size(); ++i)
            for (std::size_t j = i + 1; j < c.active.size(); ++j)
                if (c.D(c.active[i], c.active[j]) < best) {
                    best = c.D(c.active[i], c.active[j]);
                    bestA = c.active[i];
                    bestB = c.active[j];
                }
        const double top = best / 2;
        const auto a = std::size_t(bestA);
        const auto b = std::size_t(bestB);
        const int joined = assembly.Join({{c.node[a], top - height[a]}, {c.node[b], top - height[b]}});
        c.Retire(bestB);
        for (int k : c.active) {
            if (k == bestA) continue;
            const double dk =
                (members[a] * c.D(bestA, k) + members[b] * c.D(bestB, k)) / (members[a] + members[b]);
            c.D(bestA, k) = c.D(k, bestA) = dk;
        }
        members[a] += members[b];
        height[a] = top;
        c.node[a] = joined;
    }
    return assembly.Emit(c.node[std::size_t(c.active[0])]);
}

std::optional<TreeMethod> TreeMethodNamed(const QString& word) {
    if (word.compare(QStringLiteral("nj"), Qt::CaseInsensitive) == 0) return TreeMethod::NeighbourJoining;
    if (word.compare(QStringLiteral("upgma"), Qt::CaseInsensitive) == 0) return TreeMethod::Upgma;
    return std::nullopt;
}

PhyloTree BuildTree(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes,
                    TreeMethod method) {
    const DistanceMatrix distances = IdentityDistances(alignment, indexes);
    return method == TreeMethod::Upgma ? Upgma(distances) : NeighbourJoining(distances);
}
