#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "msarender/Export.h"
#include "msarender/tree/PhyloTree.h"

namespace SDM {
class Alignment;
}

/// A symmetric matrix of distances between named items, zero on the diagonal.
class MSARENDER_EXPORT DistanceMatrix {
public:
    explicit DistanceMatrix(QStringList names);
    int Size() const { return int(labels.size()); }
    const QStringList& Names() const { return labels; }
    double At(int a, int b) const { return values[Index(a, b)]; }
    void Set(int a, int b, double distance);

private:
    std::size_t Index(int a, int b) const {
        return std::size_t(a) * std::size_t(labels.size()) + std::size_t(b);
    }
    QStringList labels;
    std::vector<double> values;
};

/// Distances between the sequences `indexes` of an alignment, named by their identifiers: 1 - identity over
/// the columns where both have a residue (Jalview's "average distance using % identity"); 1 for two that
/// share no such column.
MSARENDER_EXPORT DistanceMatrix IdentityDistances(const SDM::Alignment& alignment,
                                                  const std::vector<unsigned>& indexes);

/// Saitou and Nei's neighbour joining: an unrooted tree (three children at the root once three or more items
/// are joined), leaves named as the matrix names them. Exact on additive distances.
MSARENDER_EXPORT PhyloTree NeighbourJoining(const DistanceMatrix& distances);
/// Average linkage (UPGMA): a rooted ultrametric tree.
MSARENDER_EXPORT PhyloTree Upgma(const DistanceMatrix& distances);

enum class TreeMethod { NeighbourJoining, Upgma };
/// The method a word names: "nj" or "upgma" (any case); none for another word.
MSARENDER_EXPORT std::optional<TreeMethod> TreeMethodNamed(const QString& word);
/// Builds a tree of the sequences `indexes` by `method` from their identity distances.
MSARENDER_EXPORT PhyloTree BuildTree(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes,
                                     TreeMethod method);
