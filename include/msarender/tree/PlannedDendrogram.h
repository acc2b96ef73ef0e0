#pragma once

#include <QLine>
#include <cstdint>
#include <vector>

#include "msarender/Export.h"
#include "msarender/RenderSequenceData.h"
#include "msarender/tree/Dendrogram.h"
#include "msarender/tree/PhyloTree.h"

class QPainter;

/// The dendrogram beside every block of a planned picture, in the picture's coordinates: each leaf of `tree`
/// (whose sequences `leafSequences` gives, in leaf order) at the middle of its row's residue line, the root
/// at x = 0 and the deepest leaf at x = `width`. Blocks below the first billion pixel rows get none.
MSARENDER_EXPORT std::vector<QLine> PlannedDendrogramLines(const RenderSequenceData::PicturePlan& plan,
                                                           const PhyloTree& tree,
                                                           const std::vector<unsigned>& leafSequences,
                                                           int cellHeight, int width, TreeStyle style);

/// Paints those of `lines` in picture rows [from, to) onto `painter`, whose y = 0 is picture row `top`, left
/// of x = `width`: lines of `penWidth` pixels, as one path for a vector device.
MSARENDER_EXPORT void PaintDendrogramLines(QPainter& painter, const std::vector<QLine>& lines,
                                           std::int64_t top, std::int64_t from, std::int64_t to, int width,
                                           int penWidth, bool asPath);
