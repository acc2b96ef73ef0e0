#include "msarender/tree/PlannedDendrogram.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <map>

#include "model/AlignmentHelper.h"

std::vector<QLine> PlannedDendrogramLines(const RenderSequenceData::PicturePlan& plan, const PhyloTree& tree,
                                          const std::vector<unsigned>& leafSequences, int cellHeight,
                                          int width, TreeStyle style) {
    using Line = RenderSequenceData::PicturePlan::Line;
    std::vector<QLine> lines;
    if (tree.IsEmpty() || !plan.helper) return lines;
    std::map<unsigned, std::size_t> leafOfSequence;
    for (std::size_t leaf = 0; leaf < leafSequences.size(); ++leaf)
        leafOfSequence[leafSequences[leaf]] = leaf;
    for (std::size_t block = 0; block < plan.blockStarts.size(); ++block) {
        const std::size_t end =
            block + 1 < plan.blockStarts.size() ? plan.blockStarts[block + 1] : plan.lines.size();
        if (plan.blockStarts[block] >= end) continue;
        // Within a block, y fits an int; the block's top is added back after.
        const std::int64_t blockTop = plan.lines[plan.blockStarts[block]].top;
        if (blockTop > INT_MAX / 2)
            break;  // lines are ints: a tree only for the first billion rows of pixels
        std::vector<int> leafY(leafSequences.size(), 0);
        for (std::size_t i = plan.blockStarts[block]; i < end; ++i) {
            const Line& line = plan.lines[i];
            if (line.kind != Line::Kind::Row) continue;
            const auto leaf = leafOfSequence.find(unsigned(plan.helper->SequenceOfRow(line.row)));
            if (leaf != leafOfSequence.end()) leafY[leaf->second] = int(line.top - blockTop) + cellHeight / 2;
        }
        for (QLine line : DendrogramLines(tree, leafY, width, style))
            lines.push_back(line.translated(0, int(blockTop)));  // a block's top is far below INT_MAX
    }
    return lines;
}

void PaintDendrogramLines(QPainter& painter, const std::vector<QLine>& lines, std::int64_t top,
                          std::int64_t from, std::int64_t to, int width, int penWidth, bool asPath) {
    if (lines.empty() || from >= to) return;
    painter.save();
    painter.setClipRect(QRect(0, int(from - top), width, int(to - from)));
    painter.translate(0, double(-top));
    painter.setPen(QPen(Qt::black, penWidth, Qt::SolidLine, Qt::SquareCap));
    painter.setBrush(Qt::NoBrush);
    std::vector<QLine> shown;
    for (const QLine& line : lines)
        if (std::max(line.y1(), line.y2()) >= from - 1 && std::min(line.y1(), line.y2()) <= to)
            shown.push_back(line);
    if (asPath)
        painter.drawPath(DendrogramPath(shown));
    else
        painter.drawLines(shown.data(), int(shown.size()));
    painter.restore();
}
