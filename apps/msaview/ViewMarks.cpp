#include "ViewMarks.h"

#include <QPainter>
#include <algorithm>

#include "AlignmentDocument.h"

const QColor ViewMarks::kCurrentRow(255, 214, 130);
const QColor ViewMarks::kCurrentRowLine(225, 150, 0);
const QColor ViewMarks::kSelectionFrame(20, 20, 20);
const QColor ViewMarks::kSelectionTint(40, 110, 255, 60);
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

// Multiplying keeps the name's ink as it is (black stays black) while its white turns to the highlight.
void ViewMarks::PaintCurrentRow(QPainter& painter, const std::vector<ShownLine>& lines, int currentRow,
                                int width) const {
    if (currentRow < 0) return;
    for (const ShownLine& line : lines) {
        if (line.row != currentRow) continue;
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.fillRect(QRect(0, line.top, nameWidth - nameGap, cells.CellHeight()), kCurrentRow);
        painter.restore();
        painter.setPen(QPen(kCurrentRowLine, 1));
        painter.drawLine(nameWidth, line.top, width, line.top);
        painter.drawLine(nameWidth, line.top + cells.CellHeight() - 1, width,
                         line.top + cells.CellHeight() - 1);
    }
}

// A light tint keeps the scheme readable under a selection of any size; the frame goes round its outside
// only, so a block of selected rows is not striped: a run's top (bottom) edge is left out where the line
// right above (below) has the same columns selected.
void ViewMarks::PaintSelection(QPainter& painter, const std::vector<ShownLine>& lines,
                               AlignmentDocument& document) const {
    const SDM::Selection& selection = document.Model().getSelection();
    if (selection.empty()) return;
    painter.setPen(QPen(kSelectionFrame, 1));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ShownLine& line = lines[i];
        if (line.sequenceIndex < 0) continue;
        for (const SDM::Selection::Range& range : selection.ranges(unsigned(line.sequenceIndex))) {
            const unsigned first = std::max(range.first, line.firstColumn);
            const unsigned end = std::min(range.last + 1, line.endColumn);
            if (first >= end) continue;
            const QRect cells(QPoint(ColumnX(line, first), line.top),
                              QPoint(ColumnX(line, end) - 1, line.top + this->cells.CellHeight() - 1));
            painter.fillRect(cells, kSelectionTint);
            painter.drawLine(cells.topLeft(), cells.bottomLeft());
            painter.drawLine(cells.topRight(), cells.bottomRight());
            if (!SameRunSelected(selection, line, i > 0 ? &lines[i - 1] : nullptr, first, end))
                painter.drawLine(cells.topLeft(), cells.topRight());
            if (!SameRunSelected(selection, line, i + 1 < lines.size() ? &lines[i + 1] : nullptr, first, end))
                painter.drawLine(cells.bottomLeft(), cells.bottomRight());
        }
    }
}

// Whether `next`, a line right above or below `line` in the same block, has every column of [first, end)
// selected.
bool ViewMarks::SameRunSelected(const SDM::Selection& selection, const ShownLine& line, const ShownLine* next,
                                unsigned first, unsigned end) const {
    if (!next || next->sequenceIndex < 0 || next->firstColumn != line.firstColumn ||
        std::abs(next->top - line.top) != cells.CellHeight())
        return false;
    return selection.isFullySelected(first, end - first, unsigned(next->sequenceIndex));
}

// The marker keeps off the labels: a triangle in the names' indent pointing at the gap between two rows,
// and a bar across the blank strip between the names and the residues.
void ViewMarks::PaintHiddenMarkers(QPainter& painter, const std::vector<ShownLine>& lines,
                                   AlignmentDocument& document) const {
    const int size = std::clamp(labelIndent - 1, 2, std::max(cells.CellHeight() / 3, 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kHiddenMarker);
    for (const ShownLine& line : lines) {
        if (!FollowsHidden(document, line.sequenceIndex)) continue;
        const QPoint triangle[] = {QPoint(0, line.top - size), QPoint(size, line.top),
                                   QPoint(0, line.top + size)};
        painter.drawPolygon(triangle, 3);
        painter.fillRect(QRect(nameWidth - nameGap, line.top - 1, nameGap, 2), kHiddenMarker);
    }
    painter.setBrush(Qt::NoBrush);
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

void ViewMarks::PaintHighlights(QPainter& painter, const std::vector<ShownLine>& lines,
                                const std::vector<FigureHighlight>& highlights,
                                AlignmentDocument& document) const {
    painter.setBrush(Qt::NoBrush);
    const auto sameBlock = [&lines](std::size_t i, std::size_t j) {
        return j < lines.size() && lines[j].firstColumn == lines[i].firstColumn;
    };
    for (const FigureHighlight& highlight : highlights) {
        painter.setPen(QPen(highlight.colour, 2));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const ShownLine& line = lines[i];
            if (line.sequenceIndex < 0) continue;
            if (highlight.sequence &&
                document.Model().getSequence(unsigned(line.sequenceIndex)) != highlight.sequence)
                continue;
            const unsigned first = std::max(highlight.firstColumn, line.firstColumn);
            const unsigned end = std::min(highlight.lastColumn + 1, line.endColumn);
            if (first >= end) continue;
            // Inside the cells by the pen's width, so that a neighbouring frame or the current row's lines
            // do not cover it.
            const QRect box(QPoint(ColumnX(line, first) + 1, line.top + 1),
                            QPoint(ColumnX(line, end) - 1, line.top + cells.CellHeight() - 1));
            painter.drawLine(box.topLeft(), box.bottomLeft());
            painter.drawLine(box.topRight(), box.bottomRight());
            const bool wholeColumns = !highlight.sequence;
            if (!wholeColumns || i == 0 || !sameBlock(i, i - 1))
                painter.drawLine(box.topLeft(), box.topRight());
            if (!wholeColumns || !sameBlock(i, i + 1)) painter.drawLine(box.bottomLeft(), box.bottomRight());
        }
    }
}
