#include "ViewMarks.h"

#include <QPainter>
#include <algorithm>

#include "AlignmentDocument.h"

const QColor ViewMarks::kCurrentRow(255, 190, 0, 120);
const QColor ViewMarks::kCurrentRowLine(225, 150, 0);
const QColor ViewMarks::kSelectionFrame(20, 20, 20);
const QColor ViewMarks::kHiddenMarker(220, 0, 0);
const QColor ViewMarks::kTargetFrame(230, 0, 120);

namespace {

// A sequence right before this one (in file order) is hidden.
bool FollowsHidden(AlignmentDocument& document, int sequenceIndex) {
    return sequenceIndex > 0 && document.Rows().RowOfSequence(sequenceIndex - 1) == RowMap::kNone;
}

}  // namespace

int ViewMarks::ColumnX(const ShownLine& line, unsigned column) const {
    return nameWidth + cells.ColumnLeft(std::int64_t(column) - std::int64_t(line.firstColumn));
}

void ViewMarks::PaintCurrentRow(QPainter& painter, const std::vector<ShownLine>& lines, int currentRow,
                                int width) const {
    if (currentRow < 0) return;
    for (const ShownLine& line : lines) {
        if (line.row != currentRow) continue;
        painter.fillRect(QRect(0, line.top, nameWidth - nameGap, cells.CellHeight()), kCurrentRow);
        painter.setPen(QPen(kCurrentRowLine, 1));
        painter.drawLine(nameWidth, line.top, width, line.top);
        painter.drawLine(nameWidth, line.top + cells.CellHeight() - 1, width,
                         line.top + cells.CellHeight() - 1);
    }
}

void ViewMarks::PaintSelection(QPainter& painter, const std::vector<ShownLine>& lines,
                               AlignmentDocument& document) const {
    const SDM::Selection& selection = document.Model().getSelection();
    if (selection.empty()) return;
    painter.setPen(QPen(kSelectionFrame, 1));
    painter.setBrush(Qt::NoBrush);
    for (const ShownLine& line : lines) {
        if (line.sequenceIndex < 0) continue;
        for (const SDM::Selection::Range& range : selection.ranges(unsigned(line.sequenceIndex))) {
            const unsigned first = std::max(range.first, line.firstColumn);
            const unsigned end = std::min(range.last + 1, line.endColumn);
            if (first >= end) continue;
            const int left = ColumnX(line, first);
            const int right = ColumnX(line, end) - 1;
            painter.drawRect(QRect(QPoint(left, line.top), QPoint(right, line.top + cells.CellHeight() - 1))
                                 .adjusted(0, 0, -1, -1));
        }
    }
}

void ViewMarks::PaintHiddenMarkers(QPainter& painter, const std::vector<ShownLine>& lines,
                                   AlignmentDocument& document) const {
    const int size = std::max(cells.CellHeight() / 3, 3);
    for (const ShownLine& line : lines) {
        if (!FollowsHidden(document, line.sequenceIndex)) continue;
        painter.setPen(QPen(kHiddenMarker, 2));
        painter.drawLine(0, line.top, nameWidth - nameGap, line.top);
        const QPoint triangle[] = {QPoint(0, line.top - size), QPoint(size, line.top),
                                   QPoint(0, line.top + size)};
        painter.setBrush(kHiddenMarker);
        painter.drawPolygon(triangle, 3);
        painter.setBrush(Qt::NoBrush);
    }
}

void ViewMarks::PaintTarget(QPainter& painter, const std::vector<ShownLine>& lines, int sequenceIndex,
                            int column) const {
    if (sequenceIndex < 0 || column < 0) return;
    painter.setPen(QPen(kTargetFrame, 2));
    painter.setBrush(Qt::NoBrush);
    for (const ShownLine& line : lines) {
        if (line.sequenceIndex != sequenceIndex || unsigned(column) < line.firstColumn ||
            unsigned(column) >= line.endColumn)
            continue;
        const int left = ColumnX(line, unsigned(column));
        painter.drawRect(QRect(left + 1, line.top + 1, cells.CellWidth() - 2, cells.CellHeight() - 2));
    }
}
