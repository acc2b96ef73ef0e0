// RenderSequenceData's pictures of a selection: planned once (size and the place of every line), then
// painted whole (CopyImageData) or band by band onto any painter.

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>

#include "font/ColorConversion.h"
#include "font/ShadedText.h"
#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/PixmapAllocation.h"
#include "sqv/SVAlignment.h"
#include "tracks/AnnotationPainter.h"
#include "tracks/RulerBuilder.h"

namespace {

unsigned CeilDiv(unsigned value, unsigned divisor) {
    return value / divisor + (value % divisor != 0 ? 1 : 0);
}

std::string AlignedText(const std::vector<char>& aligned, std::size_t first, std::size_t end) {
    end = std::min(end, aligned.size());
    return first < end
               ? std::string(aligned.begin() + std::ptrdiff_t(first), aligned.begin() + std::ptrdiff_t(end))
               : std::string();
}

// A stretch of chosen columns that are neighbours in the alignment: `count` columns from `column`, drawn
// from `position` (counted from the line's first position).
struct ColumnRun {
    unsigned position;
    unsigned column;
    unsigned count;
};

std::vector<ColumnRun> RunsOf(const std::vector<unsigned>& columns, unsigned first, unsigned end) {
    std::vector<ColumnRun> runs;
    end = std::min<unsigned>(end, unsigned(columns.size()));
    for (unsigned p = first; p < end; ++p) {
        if (!runs.empty() && columns[p] == columns[p - 1] + 1 && p > first)
            ++runs.back().count;
        else
            runs.push_back({p - first, columns[p], 1});
    }
    return runs;
}

// The chosen columns when every row has the same: the ruler then numbers them as in the alignment.
std::vector<unsigned> SharedColumns(const std::map<unsigned, std::vector<unsigned>>& columnsByRow) {
    if (columnsByRow.empty()) return {};
    const std::vector<unsigned>& first = columnsByRow.begin()->second;
    for (const auto& entry : columnsByRow)
        if (entry.second != first) return {};
    return first;
}

// The rows of a partial selection: those of `order` first, in its order, then the others ascending.
std::vector<unsigned> RowsOfColumns(const std::map<unsigned, std::vector<unsigned>>& columnsByRow,
                                    const std::vector<unsigned>& order) {
    std::vector<unsigned> rows;
    std::set<unsigned> placed;
    for (unsigned row : order)
        if (columnsByRow.count(row) != 0 && placed.insert(row).second) rows.push_back(row);
    for (const auto& entry : columnsByRow)
        if (placed.count(entry.first) == 0) rows.push_back(entry.first);
    return rows;
}

}  // namespace

QPixmap* RenderSequenceData::CopyImageData(std::vector<unsigned> sequenceIndexes,
                                           std::map<unsigned, std::vector<unsigned>> columnsByRow, bool,
                                           bool includeGaps) {
    PicturePlan plan;
    // A partial selection's rows come in ascending order here: the sequence list has no say.
    if (!columnsByRow.empty()) sequenceIndexes.clear();
    if (!PlanPicture(std::move(sequenceIndexes), std::move(columnsByRow), includeGaps, plan)) return nullptr;
    std::unique_ptr<QPixmap> picture = PixmapAllocation::MakeWhite(plan.width, plan.height);
    if (!picture) return nullptr;
    QPainter painter(picture.get());
    PaintPicture(plan, painter, 0, picture->height());
    painter.end();
    return picture.release();  // the caller owns the picture
}

bool RenderSequenceData::PlanPicture(std::vector<unsigned> sequenceIndexes,
                                     std::map<unsigned, std::vector<unsigned>> columnsByRow, bool includeGaps,
                                     PicturePlan& plan) const {
    plan = PicturePlan();
    const CellGeometry cells(fontAttributes);
    if (svAlignment == nullptr || !cells.IsUsable() || (aspects.wrap && residuesPerBlock <= 0)) return false;
    auto helper = std::make_shared<const Corvane::AlignmentHelper>(*svAlignment);
    if (!helper->HasRows()) return false;
    helper->MapSequencesToRows(sequenceIndexes);
    if (sequenceIndexes.empty() && columnsByRow.empty()) return false;

    plan.helper = helper;
    plan.includeGaps = includeGaps;
    plan.byColumns = !columnsByRow.empty();
    std::vector<unsigned> rows = std::move(sequenceIndexes);
    unsigned columnCount = maxTotalLength;
    if (plan.byColumns) {
        rows = RowsOfColumns(columnsByRow, rows);
        columnCount = 0;
        for (const auto& entry : columnsByRow)
            columnCount = std::max(columnCount, unsigned(entry.second.size()));
    }

    // A picture of one row's columns is residues only; every other picture has a name column.
    plan.namesShown = columnsByRow.size() != 1;
    if (plan.namesShown) {
        const QFontMetrics metrics(font);
        std::string longest;
        Corvane::FindLongestRowLabel(*helper, longest, aspects.showSecondaryStructure, rows,
                                     SQC::TextAdvance(metrics));
        plan.nameWidth = metrics.boundingRect(SQC::ToQString(longest)).width();
    }
    plan.rulerColumns = SharedColumns(columnsByRow);
    if (plan.namesShown && AnnotationsFit(plan))
        plan.nameWidth = std::max(plan.nameWidth, WidestAnnotationLabel());
    plan.columnsByRow = std::move(columnsByRow);

    const unsigned step = unsigned(std::max(residuesPerBlock, 0));
    const unsigned perBlock = aspects.wrap ? step : maxTotalLength;
    unsigned blocks = 1;
    if (aspects.wrap)
        blocks = !plan.byColumns ? blockCount : columnCount <= step ? 1 : CeilDiv(columnCount, step);
    PlanPictureSize(plan, rows.size(), columnCount, blocks, perBlock, StructureLinesOf(plan, rows));

    std::int64_t y = 0;
    unsigned first = 0;
    unsigned end = perBlock;
    unsigned count = perBlock;
    for (unsigned block = 0; block < blocks; ++block) {
        plan.blockStarts.push_back(plan.lines.size());
        PlanPictureBlock(plan, rows, first, end, count, y);
        if (blocks == 1) break;
        first += step;
        end += step;
        if (end > columnCount) {
            end = columnCount;
            count = first < columnCount ? columnCount - first : 0;
        }
    }
    return true;
}

// Secondary-structure lines of all rows of a whole-sequence picture, counted in its height.
std::int64_t RenderSequenceData::StructureLinesOf(const PicturePlan& plan,
                                                  const std::vector<unsigned>& rows) const {
    std::int64_t lines = 0;
    if (!aspects.showSecondaryStructure || !CartoonsFit(plan)) return lines;
    for (unsigned row : rows) lines += StructureLinesOfRow(row);
    return lines;
}

// The layout pass counted each row's lines: its visible keys with a non-empty aligned string.
unsigned RenderSequenceData::StructureLinesOfRow(unsigned row) const {
    return row < ssRowsPerRow.size() ? ssRowsPerRow[row] : 0;
}

// The size counts every row and secondary-structure line, also those that draw nothing: their space stays
// white at the bottom.
void RenderSequenceData::PlanPictureSize(PicturePlan& plan, std::size_t rowCount, unsigned columnCount,
                                         unsigned blocks, unsigned perBlock, std::int64_t lineCount) const {
    const CellGeometry cells(fontAttributes);
    const std::int64_t shownColumns = aspects.wrap ? std::min(columnCount, perBlock) : columnCount;
    plan.width = cells.Width(shownColumns) + plan.nameWidth;
    const std::int64_t annotationLines = AnnotationsFit(plan) ? AnnotationLineCount() : 0;
    const std::int64_t blockLines =
        std::int64_t(rowCount) + lineCount + (aspects.showRuler ? kRulerBandRows : 0) + annotationLines;
    const bool stacked = aspects.wrap && columnCount > unsigned(std::max(residuesPerBlock, 0));
    plan.height = cells.Height(blockLines * (stacked ? std::int64_t(blocks) : 1));
}

void RenderSequenceData::PlanPictureBlock(PicturePlan& plan, const std::vector<unsigned>& rows,
                                          unsigned first, unsigned end, unsigned count,
                                          std::int64_t& y) const {
    const CellGeometry cells(fontAttributes);
    using Line = PicturePlan::Line;
    if (aspects.showRuler) {
        plan.lines.push_back(Line{Line::Kind::RulerBand, y, cells.RulerBandHeight(), 0, first, end, count});
        y += cells.RulerBandHeight();
    }
    if (AnnotationsAbove() > 0) PlanPictureAnnotations(plan, first, end, count, y);
    const bool withCartoons =
        aspects.showSecondaryStructure && !ssStringsPerRow.empty() && cartoonDrawer && CartoonsFit(plan);
    for (unsigned row : rows) {
        if (svAlignment->GetAlignedSequence(row).empty()) continue;  // its line stays white at the bottom
        if (plan.byColumns && plan.columnsByRow.at(row).empty()) {
            y += cells.CellHeight();  // a row with no chosen columns keeps its empty line
            continue;
        }
        const unsigned cartoons = withCartoons ? StructureLinesOfRow(row) : 0;
        const int height = int(cells.Height(std::int64_t(1 + cartoons)));
        plan.lines.push_back(Line{Line::Kind::Row, y, height, row, first, end, count});
        y += height;
    }
    if (AnnotationsAbove() == 0) PlanPictureAnnotations(plan, first, end, count, y);
}

void RenderSequenceData::PlanPictureAnnotations(PicturePlan& plan, unsigned first, unsigned end,
                                                unsigned count, std::int64_t& y) const {
    if (!AnnotationsFit(plan)) return;
    const CellGeometry cells(fontAttributes);
    using Line = PicturePlan::Line;
    for (unsigned index = 0; index < AnnotationLineCount(); ++index) {
        plan.lines.push_back(Line{Line::Kind::Annotation, y, cells.CellHeight(), index, first, end, count});
        y += cells.CellHeight();
    }
}

void RenderSequenceData::PaintAnnotationPictureLine(const PicturePlan& plan, const PicturePlan::Line& line,
                                                    QPainter& painter, int y) const {
    if (line.row >= AnnotationLineCount()) return;
    const AnnotationRow& row = annotationRows[line.row];
    const CellGeometry cells(fontAttributes);
    if (plan.namesShown) {
        DrawLabelText(painter, QPointF(0, cells.Baseline(y)),
                      SQC::ToQString(Corvane::MakeAnnotationLabel(row.label)));
        AnnotationPainter::PaintLabelAxis(painter, row, cells, font, plan.nameWidth, y);
    }
    const int x = plan.namesShown ? plan.nameWidth : 0;
    if (!plan.byColumns) {
        AnnotationPainter::Paint(painter, row, cells, font, cartoonDrawer.get(), line.first, line.count, x,
                                 y);
        return;
    }
    for (const ColumnRun& run : RunsOf(plan.rulerColumns, line.first, line.end))
        AnnotationPainter::Paint(painter, row, cells, font, cartoonDrawer.get(), run.column, run.count,
                                 x + cells.ColumnLeft(run.position), y);
}

void RenderSequenceData::PaintPicture(const PicturePlan& plan, QPainter& painter, std::int64_t top,
                                      int height, std::int64_t linesEnd, std::int64_t linesBegin) const {
    if (!plan.helper || height <= 0) return;
    std::optional<PictureShades> shades;
    if (!plan.viewLabels) shades.emplace();
    // Names sit on the bottom edge of their line and their descenders reach into the line below: a line
    // that ends up to a cell above the band may still have ink in it. A vector device keeps clipped text in
    // the document, where it would be found and copied on the page below: there bands hold whole lines.
    const int overhang = plan.vectorShapes ? 0 : CellGeometry(fontAttributes).CellHeight();
    const auto firstLine = std::partition_point(
        plan.lines.begin(), plan.lines.end(), [top, overhang, linesBegin](const PicturePlan::Line& line) {
            return line.top + line.height + overhang <= top || line.top < linesBegin;
        });
    painter.save();
    painter.setClipRect(QRect(0, 0, CellGeometry::SizeToInt(plan.width), height));
    painter.setFont(font);
    const std::int64_t end = std::min(top + height, linesEnd);
    for (auto line = firstLine; line != plan.lines.end() && line->top < end; ++line)
        PaintPictureLine(plan, *line, painter, int(line->top - top));
    painter.restore();
}

void RenderSequenceData::PaintPictureLine(const PicturePlan& plan, const PicturePlan::Line& line,
                                          QPainter& painter, int y) const {
    const Corvane::AlignmentHelper& helper = *plan.helper;
    if (line.kind == PicturePlan::Line::Kind::RulerBand) {
        if (plan.rulerColumns.empty())
            CopyRulerPixmap(helper, painter, line.count, plan.nameWidth, y, line.first, 0, plan.vectorShapes);
        else
            PaintChosenColumnsRuler(plan, line, painter, y);
        return;
    }
    if (line.kind == PicturePlan::Line::Kind::Annotation) {
        PaintAnnotationPictureLine(plan, line, painter, y);
        return;
    }
    const std::vector<char>& aligned = svAlignment->GetAlignedSequence(line.row);
    if (plan.namesShown)
        CopySequenceNamePixmap(helper, painter, line.row, CellGeometry(fontAttributes).Baseline(y));
    const int x = plan.namesShown ? plan.nameWidth : 0;
    if (plan.byColumns) {
        CopyResiduePixmap(helper, painter, AlignedText(aligned, 0, maxTotalLength), line.row, x, y,
                          plan.columnsByRow.at(line.row), line.first, line.end, plan.includeGaps,
                          plan.vectorShapes);
        if (line.height > CellGeometry(fontAttributes).CellHeight())
            PaintChosenColumnsCartoons(plan, line, painter, x, y);
        return;
    }
    const std::size_t textEnd = std::min<std::size_t>(std::size_t(line.first) + line.count, maxTotalLength);
    CopyResiduePixmap(helper, painter, AlignedText(aligned, line.first, textEnd), line.row, x, y, line.first,
                      line.end, plan.includeGaps, plan.vectorShapes);
    if (line.height > CellGeometry(fontAttributes).CellHeight())
        CopySSCartoonPixmap(helper, painter, int(line.row), x, y, line.first, line.count, plan.includeGaps,
                            plan.vectorShapes);
}

// Cartoons follow the residues' columns; with gaps left out each row closes up differently, so only whole
// sequences or chosen columns with their gaps get them, and only beside a name column for their labels.
bool RenderSequenceData::CartoonsFit(const PicturePlan& plan) {
    return !plan.byColumns || (plan.includeGaps && plan.namesShown);
}

// Annotation rows describe whole columns: they go with chosen columns only when every row shares them.
bool RenderSequenceData::AnnotationsFit(const PicturePlan& plan) {
    return !plan.byColumns || !plan.rulerColumns.empty();
}

// Each stretch of neighbouring columns numbered as in the alignment, with a break mark where one ends.
void RenderSequenceData::PaintChosenColumnsRuler(const PicturePlan& plan, const PicturePlan::Line& line,
                                                 QPainter& painter, int y) const {
    const CellGeometry cells(fontAttributes);
    const std::vector<ColumnRun> runs = RunsOf(plan.rulerColumns, line.first, line.end);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int x = plan.nameWidth + cells.ColumnLeft(runs[i].position);
        const int breaks =
            (i > 0 ? kBreakOnLeft : kNoBreaks) | (i + 1 < runs.size() ? kBreakOnRight : kNoBreaks);
        CopyRulerPixmap(*plan.helper, painter, runs[i].count, x, y, runs[i].column, breaks,
                        plan.vectorShapes);
        if (i > 0 && aspects.showRuler) RulerBuilder::DrawBreakMark(painter, x, y, cells.RulerBandHeight());
    }
}

// The cartoon lines of a row's chosen columns, cut where the columns are not neighbours; each stretch is
// clipped to its own columns (the first also to the names) so that no cartoon reaches into the next.
void RenderSequenceData::PaintChosenColumnsCartoons(const PicturePlan& plan, const PicturePlan::Line& line,
                                                    QPainter& painter, int x, int y) const {
    const CellGeometry cells(fontAttributes);
    for (const ColumnRun& run : RunsOf(plan.columnsByRow.at(line.row), line.first, line.end)) {
        const int left = x + cells.ColumnLeft(run.position);
        painter.save();
        painter.setClipRect(QRect(QPoint(run.position == 0 ? 0 : left, y),
                                  QPoint(left + cells.ColumnLeft(run.count) - 1, y + line.height - 1)),
                            Qt::IntersectClip);
        int lineY = y;
        CopySSCartoonPixmap(*plan.helper, painter, int(line.row), left, lineY, run.column, run.count,
                            plan.includeGaps, plan.vectorShapes);
        painter.restore();
    }
}
