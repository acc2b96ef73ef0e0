// AlignmentView's mouse and selection: what lies under a point, drags over residues, the ruler, names and
// the name column's edge, auto-scrolling, the hover text, and the selection, current row and hidden rows.

#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>

#include "AlignmentView.h"
#include "SelectionPicture.h"
#include "msarender/picture/RowOrder.h"
#include "msarender/tree/TreeBuilding.h"

namespace {

// Half the width of the band at the name column's edge that drags its width.
constexpr int kNameEdgeReach = 3;

// The step towards a point outside [0, size): -1, 0 or 1.
int OutsideStep(int value, int size) {
    return value < 0 ? -1 : value >= size ? 1 : 0;
}

}  // namespace

// ---- Mouse ----------------------------------------------------------------------------------------------

HoverTarget AlignmentView::TargetAt(QPoint viewportPoint) const {
    HoverTarget target;
    if (!composed) return target;
    if (PanelsShown() && (viewportPoint.y() < 0 || viewportPoint.y() >= viewport()->height())) {
        target.inNames = viewportPoint.x() < nameWidth;
        if (!target.inNames) target.column = PanelColumnAt(viewportPoint.x());
        if (viewportPoint.y() >= 0)
            target.annotation = panels.AnnotationAt(viewportPoint.y() - viewport()->height());
        return target;
    }
    const RenderSequenceData& hits = Renderer();
    if (viewportPoint.x() < nameWidth) {
        const QPoint point(0, viewportPoint.y());
        target.inNames = true;
        target.row = hits.GetRowIndex(point);
        target.sequenceIndex = hits.GetSequenceIndex(point);
        target.annotation = AnnotationRowAt(point);
        return target;
    }
    const QPoint point = ToComposed(viewportPoint);
    hits.GetResidueLocation(point, target.sequenceIndex, target.column);
    target.row = hits.GetRowIndex(point);
    target.ssKey = hits.GetSsKey(point);
    target.annotation = AnnotationRowAt(point);
    if (target.annotation) target.column = hits.GetResidueIndex(point);
    return target;
}

const AnnotationRow* AlignmentView::AnnotationRowAt(QPoint composedPoint) const {
    const int index = Renderer().GetAnnotationIndex(composedPoint);
    const std::vector<AnnotationRow>& rows = Renderer().AnnotationRows();
    return index >= 0 && std::size_t(index) < rows.size() ? &rows[std::size_t(index)] : nullptr;
}

std::optional<ResidueCell> AlignmentView::CellAt(QPoint viewportPoint) const {
    const HoverTarget target = TargetAt(viewportPoint);
    const int columns = int(document->Model().columnCount());
    if (target.inNames || target.row < 0 || target.column < 0 || columns == 0) return std::nullopt;
    return ResidueCell{target.row, std::min(target.column, columns - 1)};
}

// The column under a point of the alignment area, on a residue line or a ruler band; -1 elsewhere.
int AlignmentView::ColumnAt(QPoint viewportPoint) const {
    const int columns = int(document->Model().columnCount());
    const QPoint inside(std::max(viewportPoint.x(), nameWidth), viewportPoint.y());
    int column = TargetAt(inside).column;
    if (column < 0) column = RulerColumnAt(inside);
    return column < 0 || columns == 0 ? -1 : std::min(column, columns - 1);
}

// The composition records a ruler band under its top line only; its lower line belongs to it too.
int AlignmentView::RulerColumnAt(QPoint viewportPoint) const {
    if (!composed || viewportPoint.x() < nameWidth) return -1;
    if (PanelsShown()) return viewportPoint.y() < 0 ? PanelColumnAt(viewportPoint.x()) : -1;
    const CellGeometry cells(CellWidth(), CellHeight());
    const std::map<int, RenderSequenceData::RowLocation>& locations = Renderer().RowLocations();
    const int key = cells.LineKey(viewportPoint.y());
    for (int top : {key, key - cells.CellHeight()}) {
        const auto found = locations.find(top);
        if (found != locations.end() && found->second.isRuler)
            return int(found->second.firstColumn) + cells.ColumnAt(viewportPoint.x() - nameWidth);
    }
    return -1;
}

// The column under x in the fixed panels, which scroll sideways with the rows; -1 past the last.
int AlignmentView::PanelColumnAt(int x) const {
    const CellGeometry cells(CellWidth(), CellHeight());
    const int column = cells.ColumnAt(x - nameWidth + Geometry().scrollX);
    return column >= 0 && unsigned(column) < document->Model().columnCount() ? column : -1;
}

bool AlignmentView::OnNameEdge(QPoint viewportPoint) const {
    return std::abs(viewportPoint.x() - (nameWidth - kNameGap / 2)) <= kNameEdgeReach;
}

void AlignmentView::mousePressEvent(QMouseEvent* event) {
    if (!document || !composed || event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    const HoverTarget target = TargetAt(point);
    if (OnNameEdge(point))
        StartDrag(Drag::NameEdge, point, event->modifiers());
    else if (target.inNames && target.row >= 0)
        StartDrag(Drag::Names, point, event->modifiers());
    else if (!target.inNames && RulerColumnAt(point) >= 0)
        StartDrag(Drag::Columns, point, event->modifiers());
    else if (CellAt(point))
        StartDrag(Drag::Residues, point, event->modifiers());
    else
        ClearSelection();
}

void AlignmentView::StartDrag(Drag kind, QPoint point, Qt::KeyboardModifiers modifiers) {
    drag = kind;
    lastDragPoint = point;
    if (kind == Drag::NameEdge) return;
    const int lastRow = document->Rows().RowCount() - 1;
    const int lastColumn = int(document->Model().columnCount()) - 1;
    const bool extend = modifiers & Qt::ShiftModifier;
    ResidueCell from;
    ResidueCell to;
    if (kind == Drag::Residues) {
        from = to = *CellAt(point);
        SetCurrentSequence(document->Rows().SequenceOfRow(from.row));
    } else if (kind == Drag::Names && (modifiers & Qt::ControlModifier)) {
        AddSequenceToSelection(TargetAt(point).row);
        return;
    } else if (kind == Drag::Names) {
        const int row = TargetAt(point).row;
        from = ResidueCell{row, 0};
        to = ResidueCell{row, lastColumn};
        SetCurrentSequence(document->Rows().SequenceOfRow(row));
    } else {
        from = ResidueCell{0, ColumnAt(point)};
        to = ResidueCell{lastRow, from.column};
    }
    if (extend && kind == Drag::Names && dragRectangle.IsActive()) {
        // Shift on a name: whole sequences from the far end of the selected rows to this one.
        const int far =
            from.row >= dragRectangle.FirstRow() ? dragRectangle.FirstRow() : dragRectangle.LastRow();
        dragRectangle.Start(ResidueCell{far, 0});
    } else if (!extend) {
        dragRectangle.Start(from);
    }
    dragRectangle.Extend(to);
    ApplySelection();
}

void AlignmentView::ContinueDrag(QPoint point) {
    lastDragPoint = point;
    if (drag == Drag::NameEdge) {
        SetNameColumnWidth(std::max(point.x() + kNameGap / 2, kNameGap + 1));
        return;
    }
    const QPoint inside(std::clamp(point.x(), nameWidth, viewport()->width() - 1),
                        std::clamp(point.y(), 0, viewport()->height() - 1));
    ResidueCell focus = dragRectangle.Focus();
    if (drag == Drag::Columns) {
        const int column = ColumnAt(inside);
        if (column >= 0) focus.column = column;
    } else if (drag == Drag::Names) {
        const int row = TargetAt(QPoint(0, inside.y())).row;
        if (row >= 0) focus.row = row;
    } else if (const std::optional<ResidueCell> cell = CellAt(inside)) {
        focus = *cell;
    }
    if (focus == dragRectangle.Focus()) return;
    dragRectangle.Extend(focus);
    ApplySelection();
}

void AlignmentView::mouseMoveEvent(QMouseEvent* event) {
    if (!document) return;
    const QPoint point = event->position().toPoint();
    mousePoint = point;
    SetHoverText(DescribeHover(*document, TargetAt(point), options));
    viewport()->setCursor(drag == Drag::NameEdge || OnNameEdge(point) ? Qt::SplitHCursor : Qt::ArrowCursor);
    if (drag == Drag::None || !(event->buttons() & Qt::LeftButton)) return;
    ContinueDrag(point);
    const bool outside = !viewport()->rect().contains(point);
    if (outside && drag != Drag::NameEdge && !autoScrollTimer.isActive()) autoScrollTimer.start();
    if (!outside) autoScrollTimer.stop();
}

// While a drag holds the mouse past an edge, the view scrolls a cell that way and the selection follows.
void AlignmentView::AutoScroll() {
    if (drag == Drag::None || drag == Drag::NameEdge) return autoScrollTimer.stop();
    const int dx = OutsideStep(lastDragPoint.x() - nameWidth, viewport()->width() - nameWidth);
    const int dy = OutsideStep(lastDragPoint.y(), viewport()->height());
    if (dx == 0 && dy == 0) return autoScrollTimer.stop();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() +
                                    dx * horizontalScrollBar()->singleStep());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy * verticalScrollBar()->singleStep());
    ContinueDrag(lastDragPoint);
}

void AlignmentView::mouseReleaseEvent(QMouseEvent* event) {
    if (drag == Drag::None || event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    const bool selecting = drag != Drag::NameEdge;
    drag = Drag::None;
    autoScrollTimer.stop();
    if (!selecting) return;
    document->Model().selectionChanged();  // tell the model's observers once the drag is over
    emit selectionChanged();
}

void AlignmentView::leaveEvent(QEvent* event) {
    mousePoint.reset();
    SetHoverText(QString());
    QAbstractScrollArea::leaveEvent(event);
}

// What is under the mouse changes when the view scrolls or rows are hidden without the mouse moving.
void AlignmentView::RefreshHover() {
    if (!document || !mousePoint) return;
    SetHoverText(DescribeHover(*document, TargetAt(*mousePoint), options));
}

void AlignmentView::SetHoverText(const QString& text) {
    if (text == hoverText) return;
    hoverText = text;
    emit hoverTextChanged(text);
}

// ---- Selection, current row, hiding ---------------------------------------------------------------------

void AlignmentView::ApplySelection() {
    dragRectangle.ApplyTo(document->Model().getSelection(), document->Rows());
    Refresh(ViewRenderer::Change::Selection);
}

void AlignmentView::ClearSelection() {
    dragRectangle.Clear();
    drag = Drag::None;
    if (!document) return;
    document->Model().getSelection().clear();
    document->Model().selectionChanged();
    Refresh(ViewRenderer::Change::Selection);
    emit selectionChanged();
}

// Ctrl on a name: that whole sequence joins the selection, which is otherwise kept.
void AlignmentView::AddSequenceToSelection(int row) {
    const int sequence = document->Rows().SequenceOfRow(row);
    const unsigned columns = document->Model().columnCount();
    drag = Drag::None;
    if (sequence < 0 || columns == 0) return;
    dragRectangle.Clear();
    document->Model().getSelection().select(unsigned(sequence), 0, columns - 1);
    SetCurrentSequence(sequence);
    document->Model().selectionChanged();
    Refresh(ViewRenderer::Change::Selection);
    emit selectionChanged();
}

void AlignmentView::SelectAll() {
    if (!document || document->Rows().RowCount() == 0 || document->Model().columnCount() == 0) return;
    dragRectangle.Start(ResidueCell{0, 0});
    dragRectangle.Extend(
        ResidueCell{document->Rows().RowCount() - 1, int(document->Model().columnCount()) - 1});
    ApplySelection();
    document->Model().selectionChanged();
    emit selectionChanged();
}

void AlignmentView::SelectRuns(const std::vector<std::array<unsigned, 3>>& runs) {
    if (!document) return;
    dragRectangle.Clear();
    SDM::Selection& selection = document->Model().getSelection();
    selection.clear();
    for (const auto& [sequence, first, last] : runs) selection.select(sequence, first, last);
    document->Model().selectionChanged();
    Refresh(ViewRenderer::Change::Selection);
    emit selectionChanged();
}

void AlignmentView::SetCurrentSequence(int sequenceIndex) {
    if (!document || document->CurrentSequence() == sequenceIndex) return;
    document->SetCurrentSequence(sequenceIndex);
    Refresh(ViewRenderer::Change::Scroll);
    emit currentSequenceChanged(sequenceIndex);
}

SelectionPicture AlignmentView::PictureOf(const PictureRange& range) const {
    // The rows alone are composed while the panels show the rest: pictures come from the whole figure.
    const RenderSequenceData& source =
        PanelsShown() && panels.IsLaidOut() ? panels.FigureRenderer() : Renderer();
    SelectionPicture picture(source, composed ? range : PictureRange(),
                             options.wrap ? source.ResiduesPerBlock() : 0);
    if (!document) return picture;
    const SDM::Alignment& model = document->Model();
    QString unusable;  // highlights the file no longer matches are left out, as in the view
    FigureMarks::Request marks = MarksAsked(
        model, options,
        [&] {
            const int reference = Reference();
            return reference >= 0 ? RowOrder::AlignedText(model, unsigned(reference))
                                  : RowOrder::ConsensusText(model, range.sequenceIndexes);
        },
        unusable);
    picture.Mark(model, std::move(marks), font());
    if (TreeShown()) {  // the rows stand in the tree's order: its leaves are the picture's rows
        const TreeRows rows = OrderByTree(model, tree.Source(), range.sequenceIndexes);
        picture.AddTree(rows.tree, rows.leafSequences, TreeWidth() - CellWidth());
    }
    return picture;
}

std::unique_ptr<QPixmap> AlignmentView::SelectionImage() {
    if (!document || !composed) return nullptr;
    const SelectionPicture picture = PictureOf(PictureRange::OfSelection(*document));
    const QImage image = picture.Paint();
    if (image.isNull()) return nullptr;
    return std::make_unique<QPixmap>(QPixmap::fromImage(image));
}

bool AlignmentView::HideChosenSequences() {
    if (!document) return false;
    std::vector<unsigned> chosen = document->Model().getSelection().sequences();
    if (document->CurrentSequence() >= 0) chosen.push_back(unsigned(document->CurrentSequence()));
    const RowMap& rows = document->Rows();
    std::vector<unsigned> shown;
    for (unsigned sequence : chosen)
        if (rows.RowOfSequence(int(sequence)) != RowMap::kNone &&
            std::find(shown.begin(), shown.end(), sequence) == shown.end())
            shown.push_back(sequence);
    if (shown.empty() || int(shown.size()) >= rows.RowCount()) return false;  // a view needs at least one row
    document->HideSequences(shown);
    dragRectangle.Clear();
    if (std::find(shown.begin(), shown.end(), unsigned(document->CurrentSequence())) != shown.end())
        SetCurrentSequence(-1);
    Refresh(ViewRenderer::Change::Layout);
    emit selectionChanged();
    return true;
}

void AlignmentView::ShowAllSequences() {
    if (!document) return;
    document->ShowAllSequences();
    Refresh(ViewRenderer::Change::Layout);
}

void AlignmentView::SortRows(RowSort sort) {
    if (!document) return;
    const SDM::Alignment& model = document->Model();
    if (sort == RowSort::ByTree) {
        SetTree(tree.HasTree()
                    ? tree.Source()
                    : BuildTree(model, RowOrder::ModelSequences(model), TreeMethod::NeighbourJoining));
        return;
    }
    if (sort == RowSort::AsInTheFile)
        document->RestoreFileOrder();
    else if (sort == RowSort::ByName)
        document->Reorder(RowOrder::ByName(model, RowOrder::ModelSequences(model)));
    else if (const int reference = CurrentOrTopSequence(); reference >= 0)
        document->Reorder(
            RowOrder::Leading(RowOrder::ByIdentity(model, RowOrder::ModelSequences(model),
                                                   RowOrder::AlignedText(model, unsigned(reference))),
                              unsigned(reference)));
    RenumberReference();
    dragRectangle.Clear();
    markedSequence = markedColumn = -1;
    Refresh(ViewRenderer::Change::Layout);
    emit rowsReordered();
    emit selectionChanged();
}

void AlignmentView::SetReference(int sequenceIndex) {
    if (!document) return;
    const auto sequence =
        sequenceIndex >= 0 ? document->Model().getSequence(unsigned(sequenceIndex)) : nullptr;
    options.reference = sequence && !sequence->isTransient() ? QString::number(sequenceIndex + 1) : QString();
    Refresh(ViewRenderer::Change::Layout);
}

QString AlignmentView::SelectionHighlight(const QString& label) const {
    if (!document) return QString();
    const PictureRange range = PictureRange::OfSelection(*document);
    if (range.IsEmpty()) return QString();
    static const char* const kColours[] = {"red", "blue", "green", "orange", "purple"};
    const QString tail = QStringLiteral(":%1:%2").arg(kColours[options.highlights.size() % 5], label);
    if (range.sequenceIndexes.size() > 1)
        return QStringLiteral("columns:%1-%2").arg(range.firstColumn + 1).arg(range.lastColumn + 1) + tail;
    const SDM::Alignment& model = document->Model();
    const auto sequence = model.getSequence(range.sequenceIndexes.front());
    const std::vector<long long> numbers = ResidueNumbersByColumn(*sequence, model.columnCount());
    std::vector<long long> selected;
    for (unsigned column = range.firstColumn; column <= range.lastColumn; ++column)
        if (numbers[column] != RenderSequenceData::kNoRulerNumber) selected.push_back(numbers[column]);
    if (selected.empty()) return QString();  // only gaps
    return QStringLiteral("\"%1\":%2-%3")
               .arg(QString::fromStdString(sequence->getDefline()).section(QLatin1Char(' '), 0, 0))
               .arg(selected.front())
               .arg(selected.back()) +
           tail;
}

int AlignmentView::Reference() const {
    if (!document || options.reference.isEmpty()) return -1;
    const SDM::Alignment& model = document->Model();
    const auto reference = model.getReference();
    for (unsigned index = 0; reference && index < model.size(); ++index)
        if (model.getSequence(index) == reference) return int(index);
    return -1;
}

void AlignmentView::RenumberReference() {
    const int reference = Reference();
    if (reference >= 0) options.reference = QString::number(reference + 1);
}

QString AlignmentView::SetTree(PhyloTree newTree) {
    if (!document) return QString();
    const SDM::Alignment& model = document->Model();
    const TreeRows rows = tree.Set(model, std::move(newTree), RowOrder::ModelSequences(model));
    document->Reorder(rows.order);
    RenumberReference();
    dragRectangle.Clear();
    markedSequence = markedColumn = -1;
    Refresh(ViewRenderer::Change::Layout);
    emit rowsReordered();
    emit selectionChanged();
    return rows.warning;
}

// A click on a branch selects the sequences of its clade, end to end.
void AlignmentView::SelectCladeAt(QPoint stripPoint) {
    if (!document || !TreeShown()) return;
    const unsigned columns = document->Model().columnCount();
    std::vector<std::array<unsigned, 3>> runs;
    for (unsigned sequence : tree.CladeAt(stripPoint, TreeWidth(), ShownLines(), CellHeight()))
        if (columns > 0) runs.push_back({sequence, 0, columns - 1});
    if (runs.empty()) return;
    SelectRuns(runs);
}
