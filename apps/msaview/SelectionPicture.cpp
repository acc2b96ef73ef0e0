#include "SelectionPicture.h"

#include <QPainter>
#include <algorithm>
#include <climits>

#include "AlignmentDocument.h"
#include "msarender/CellGeometry.h"
#include "msarender/picture/AlignmentPicture.h"
#include "msarender/tree/PlannedDendrogram.h"

namespace {

// Rows painted at a time: progress is told and a stop is heard between bands.
constexpr int kBandHeight = 1024;
// Larger pictures are refused rather than risking the allocation.
constexpr std::int64_t kMaxPictureBytes = std::int64_t(1) << 30;

using PicturePlan = RenderSequenceData::PicturePlan;

std::vector<PicturePlan::Line> FirstBlockLines(const PicturePlan& whole) {
    const std::size_t end = whole.blockStarts.size() > 1 ? whole.blockStarts[1] : whole.lines.size();
    return std::vector<PicturePlan::Line>(whole.lines.begin(), whole.lines.begin() + std::ptrdiff_t(end));
}

}  // namespace

PictureRange PictureRange::OfSelection(AlignmentDocument& document) {
    PictureRange range;
    const SDM::Selection& selection = document.Model().getSelection();
    const RowMap& rows = document.Rows();
    const unsigned columns = document.Model().columnCount();
    bool any = false;
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        bool selected = false;
        for (const SDM::Selection::Range& part : selection.ranges(unsigned(sequence))) {
            if (part.first >= columns) continue;
            range.firstColumn = any ? std::min(range.firstColumn, part.first) : part.first;
            range.lastColumn = std::max(any ? range.lastColumn : 0u, std::min(part.last, columns - 1));
            any = selected = true;
        }
        if (selected) range.sequenceIndexes.push_back(unsigned(sequence));
    }
    return range;
}

PictureRange PictureRange::OfAlignment(AlignmentDocument& document) {
    PictureRange range;
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row)
        range.sequenceIndexes.push_back(unsigned(rows.SequenceOfRow(row)));
    const unsigned columns = document.Model().columnCount();
    if (columns == 0) range.sequenceIndexes.clear();
    range.lastColumn = columns > 0 ? columns - 1 : 0;
    return range;
}

SelectionPicture::SelectionPicture(const RenderSequenceData& source, const PictureRange& range,
                                   unsigned columnsPerBlock)
    : renderer(source) {
    if (range.IsEmpty() || range.lastColumn < range.firstColumn) return;
    PicturePlan whole;
    // Whole sequences: the renderer draws them without the selection tint and numbers the ruler from the
    // block's own first column.
    if (!renderer.PlanPicture(range.sequenceIndexes, {}, true, whole) || whole.lines.empty()) return;
    const unsigned count = range.lastColumn - range.firstColumn + 1;
    NarrowToRange(whole, range.firstColumn, range.lastColumn, columnsPerBlock > 0 ? columnsPerBlock : count);
    valid = !plan.lines.empty() && plan.width > 0 && plan.height > 0;
}

void SelectionPicture::NarrowToRange(const PicturePlan& whole, unsigned first, unsigned last,
                                     unsigned perBlock) {
    plan = whole;
    plan.lines.clear();
    plan.blockStarts.clear();
    const std::vector<PicturePlan::Line> templates = FirstBlockLines(whole);
    const CellGeometry cells(renderer.CellFont());
    std::int64_t y = 0;
    for (unsigned blockFirst = first; blockFirst <= last; blockFirst += perBlock) {
        const unsigned blockEnd = std::min(last + 1, blockFirst + perBlock);
        plan.blockStarts.push_back(plan.lines.size());
        for (PicturePlan::Line line : templates) {
            line.top = y;
            line.first = blockFirst;
            line.end = blockEnd;
            line.count = blockEnd - blockFirst;
            plan.lines.push_back(line);
            y += line.height;
        }
        if (blockEnd > last) break;
    }
    plan.width = plan.nameWidth + cells.Width(std::min(last - first + 1, perBlock));
    // Names sit on their line's bottom edge: half a cell below the last line holds its descenders, as the
    // library's pages do.
    plan.height = y + cells.CellHeight() / 2;
}

void SelectionPicture::Mark(const SDM::Alignment& alignment, FigureMarks::Request request,
                            const QFont& font) {
    if (!valid || (!request.residueNumbers && !request.identity && request.highlights.empty())) return;
    QStringList unshown;  // the view's own marks show what a picture cannot
    marks =
        FigureMarks(alignment, std::move(request), plan, CellGeometry(renderer.CellFont()), font, unshown);
}

void SelectionPicture::AddTree(const PhyloTree& tree, const std::vector<unsigned>& leafSequences,
                               int drawnWidth) {
    if (!valid || tree.IsEmpty() || drawnWidth <= 0) return;
    const CellGeometry cells(renderer.CellFont());
    treeLines = PlannedDendrogramLines(plan, tree, leafSequences, cells.CellHeight(), drawnWidth,
                                       TreeStyle::Phylogram);
    treeWidth = drawnWidth + cells.CellWidth();
}

QSize SelectionPicture::Size() const {
    return valid
               ? QSize(CellGeometry::SizeToInt(plan.width + treeWidth), CellGeometry::SizeToInt(plan.height))
               : QSize();
}

bool SelectionPicture::PaintShapes(QPainter& painter, const Progress& progress) const {
    if (!valid) return false;
    PicturePlan shapes = plan;
    shapes.vectorShapes = true;
    PaintDendrogramLines(painter, treeLines, 0, 0, plan.height, treeWidth, 1, true);
    painter.save();
    painter.translate(treeWidth, 0);
    const std::size_t blocks = shapes.blockStarts.size();
    for (std::size_t block = 0; block < blocks; ++block) {
        const std::int64_t top = shapes.lines[shapes.blockStarts[block]].top;
        const std::int64_t end =
            block + 1 < blocks ? shapes.lines[shapes.blockStarts[block + 1]].top : plan.height;
        painter.save();
        painter.translate(0, qreal(top));
        // The band reaches the picture's end so that the block's last names keep their descenders.
        const int rows = int(std::min<std::int64_t>(plan.height - top, INT_MAX));
        renderer.PaintPicture(shapes, painter, top, rows, end);
        marks.Paint(painter, top, rows, top, end);
        painter.restore();
        if (progress && !progress(end, plan.height)) {
            painter.restore();
            return false;
        }
    }
    painter.restore();
    return true;
}

QImage SelectionPicture::Paint(const Progress& progress) const {
    if (!valid || (plan.width + treeWidth) * plan.height * 4 > kMaxPictureBytes) return QImage();
    QImage image(Size(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    QPainter painter(&image);
    for (int top = 0; top < image.height(); top += kBandHeight) {
        const int height = std::min(kBandHeight, image.height() - top);
        painter.drawImage(0, top, PaintBand(top, height));
        if (progress && !progress(top + height, image.height())) return QImage();
    }
    return image;
}

QImage SelectionPicture::PaintBand(int top, int rows) const {
    QImage band = PaintPictureBand(renderer, plan, top, rows);
    if (!marks.IsEmpty() && !band.isNull()) {
        QPainter painter(&band);
        marks.Paint(painter, top, rows, 0, plan.height);
    }
    if (treeWidth == 0 || band.isNull()) return band;
    QImage withTree(band.width() + treeWidth, band.height(), band.format());
    if (withTree.isNull()) return withTree;
    withTree.fill(Qt::white);
    QPainter painter(&withTree);
    PaintDendrogramLines(painter, treeLines, top, top, top + rows, treeWidth, 1, false);
    painter.drawImage(treeWidth, 0, band);
    return withTree;
}
