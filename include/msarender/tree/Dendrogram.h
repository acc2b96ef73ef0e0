#pragma once

#include <QLine>
#include <QPainterPath>
#include <vector>

#include "msarender/Export.h"
#include "msarender/tree/PhyloTree.h"

/// How branches are drawn: to the scale of their lengths, or with every leaf at the right edge.
enum class TreeStyle { Phylogram, Cladogram };

/// The lines of a rectangular dendrogram: the root at x = 0, the deepest leaf at x = `width`, each leaf at
/// its y in `leafY` (leaf order), each inner node midway between its first and last child. A horizontal
/// line per branch, a vertical one joining each inner node's children. A phylogram with no branch lengths
/// is drawn as a cladogram; negative lengths (neighbour joining makes them) count as 0.
MSARENDER_EXPORT std::vector<QLine> DendrogramLines(const PhyloTree& tree, const std::vector<int>& leafY,
                                                    int width, TreeStyle style);

/// The same lines as one path, for vector output.
MSARENDER_EXPORT QPainterPath DendrogramPath(const std::vector<QLine>& lines);

/// The index among `tree`'s leaves of the leaves under the branch nearest to (x, y): a click on a
/// horizontal branch (or on the vertical line of an inner node) takes its clade. Empty when nothing is
/// within `reach` pixels.
MSARENDER_EXPORT std::vector<int> CladeAt(const PhyloTree& tree, const std::vector<int>& leafY, int width,
                                          TreeStyle style, QPoint point, int reach);
