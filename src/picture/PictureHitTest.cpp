// AlignmentPicture's hit test: pixels of a planned picture back to the sequences and columns drawn there.

#include <algorithm>

#include "model/AlignmentHelper.h"
#include "msarender/picture/AlignmentPicture.h"
#include "sqv/UserProperties.h"

std::optional<AlignmentPicture::Cell> AlignmentPicture::CellAt(int page, std::int64_t x,
                                                               std::int64_t y) const {
    using Line = RenderSequenceData::PicturePlan::Line;
    x -= treeWidth;  // the dendrogram shows no cell
    if (page < 0 || page >= PageCount() || x < 0 || y < 0 || x >= plan.width || !plan.helper)
        return std::nullopt;
    const Page& shown = pages[std::size_t(page)];
    // The repeated ruler band above the page's lines, or the white margin below them.
    if (y < shown.rulerHeight || y >= shown.rulerHeight + shown.height) return std::nullopt;
    const std::int64_t pictureY = shown.top + y - shown.rulerHeight;
    auto line = std::upper_bound(plan.lines.begin(), plan.lines.end(), pictureY,
                                 [](std::int64_t top, const Line& each) { return top < each.top; });
    if (line == plan.lines.begin()) return std::nullopt;
    --line;
    if (line->kind != Line::Kind::Row || pictureY >= line->top + line->height) return std::nullopt;
    Cell cell;
    cell.sequence = plan.helper->SequenceOfRow(line->row);
    const std::int64_t left = plan.namesShown ? plan.nameWidth : 0;
    if (x < left) return cell;
    cell.column = ColumnOfCell(*line, (x - left) / Cells().CellWidth());
    if (cell.column < 0) return std::nullopt;
    return cell;
}

// The offset-th cell of a row line: its columns in order, less the gaps when the picture closes them up.
int AlignmentPicture::ColumnOfCell(const RenderSequenceData::PicturePlan::Line& line,
                                   std::int64_t offset) const {
    const std::vector<char>& aligned = view.GetAlignedSequence(line.row);
    const auto columnAt = [&](unsigned position) -> std::int64_t {
        if (!plan.byColumns) return position;
        const std::vector<unsigned>& chosen = plan.columnsByRow.at(line.row);
        return position < chosen.size() ? std::int64_t(chosen[position]) : -1;
    };
    const unsigned end = plan.byColumns ? line.end : std::min(line.end, line.first + line.count);
    for (unsigned position = line.first; position < end; ++position) {
        const std::int64_t column = columnAt(position);
        if (column < 0 || std::size_t(column) >= aligned.size()) return -1;
        if (!plan.includeGaps && SQC::SequenceConstants::IsGap(aligned[std::size_t(column)])) continue;
        if (offset-- == 0) return int(column);
    }
    return -1;
}
