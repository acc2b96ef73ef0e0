#include "AlignmentView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "SelectionPicture.h"

namespace {

// Blank pixels between the name column and the alignment.
constexpr int kNameGap = 6;
// Half the width of the band at the name column's edge that drags its width.
constexpr int kNameEdgeReach = 3;
// Refreshes that a refresh may trigger (scroll bars appearing resize the viewport); the layout settles
// after two, the rest is a guard against oscillation.
constexpr int kMaxRefreshPasses = 4;
// Milliseconds between steps while a drag holds the mouse past the view's edge.
constexpr int kAutoScrollInterval = 60;

// Pixels rounded up to whole cells; 0 for nothing.
int WholeCells(int pixels, int cell) {
    return pixels <= 0 ? 0 : (pixels + cell - 1) / cell * cell;
}

ViewRenderer::Change Costlier(ViewRenderer::Change a, ViewRenderer::Change b) {
    return std::max(a, b);
}

bool OnlyRulersDiffer(const DisplayOptions& a, const DisplayOptions& b) {
    DisplayOptions rulersOf = a;
    rulersOf.showRulerNumbers = b.showRulerNumbers;
    rulersOf.rulerOrigin = b.rulerOrigin;
    return rulersOf.wrap == b.wrap && rulersOf.residuesPerLine == b.residuesPerLine &&
           rulersOf.showRuler == b.showRuler && rulersOf.showSecondaryStructure == b.showSecondaryStructure &&
           rulersOf.showConsensus == b.showConsensus && rulersOf.colorScheme == b.colorScheme;
}

// The step towards a point outside [0, size): -1, 0 or 1.
int OutsideStep(int value, int size) {
    return value < 0 ? -1 : value >= size ? 1 : 0;
}

}  // namespace

AlignmentView::AlignmentView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    autoScrollTimer.setInterval(kAutoScrollInterval);
    connect(&autoScrollTimer, &QTimer::timeout, this, &AlignmentView::AutoScroll);
}

AlignmentView::~AlignmentView() = default;

void AlignmentView::SetDocument(std::unique_ptr<AlignmentDocument> newDocument) {
    // The renderer refers to the old view-side alignment until it restarts, so restart it first.
    renderer.Restart();
    document = std::move(newDocument);
    dragRectangle.Clear();
    drag = Drag::None;
    autoScrollTimer.stop();
    composed = false;
    nameWidth = 0;
    anchor.reset();
    markedSequence = markedColumn = -1;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    SetHoverText(QString());
    Refresh(ViewRenderer::Change::Layout);
}

void AlignmentView::SetOptions(const DisplayOptions& newOptions) {
    const bool rulersOnly = OnlyRulersDiffer(options, newOptions);
    options = newOptions;
    Refresh(rulersOnly ? ViewRenderer::Change::Rulers : ViewRenderer::Change::Layout);
}

void AlignmentView::SetNameColumnWidth(int width) {
    fixedNameWidth = std::max(width, 0);
    Refresh(ViewRenderer::Change::Layout);
}

bool AlignmentView::Zoom(int steps) {
    QFont zoomed = font();
    const int size = std::clamp(zoomed.pointSize() + steps, kMinPointSize, kMaxPointSize);
    if (size == zoomed.pointSize()) return false;
    zoomed.setPointSize(size);
    setFont(zoomed);
    return true;
}

// ---- Rendering ------------------------------------------------------------------------------------------

void AlignmentView::Refresh(ViewRenderer::Change change) {
    if (refreshing) {
        pendingChange = pendingChange ? Costlier(*pendingChange, change) : change;
        return;
    }
    refreshing = true;
    for (int pass = 0; pass < kMaxRefreshPasses; ++pass) {
        RenderOnce(change);
        if (!pendingChange) break;
        change = *pendingChange;
        pendingChange.reset();
    }
    pendingChange.reset();
    refreshing = false;
    if (composed) anchor = TopLeftResidue();
    RefreshHover();
    viewport()->update();
    emit viewChanged();
}

void AlignmentView::RenderOnce(ViewRenderer::Change change) {
    if (!document) {
        composed = false;
        SyncScrollBars(Geometry());
        return;
    }
    ViewGeometry geometry = Geometry();
    composed = renderer.Render(*viewport(), *document, options, geometry, change);
    if (composed && change >= ViewRenderer::Change::Layout && AdjustNameWidth()) {
        geometry = Geometry();
        composed = renderer.Render(*viewport(), *document, options, geometry, ViewRenderer::Change::Layout);
    }
    SyncScrollBars(geometry);
}

ViewGeometry AlignmentView::Geometry() const {
    ViewGeometry geometry;
    geometry.nameWidth = nameWidth;
    geometry.sequenceArea = QSize(std::max(viewport()->width() - nameWidth, 0), viewport()->height());
    geometry.scrollX = renderer.SnapHorizontal(horizontalScrollBar()->value());
    geometry.scrollY = renderer.SnapVertical(verticalScrollBar()->value(), options.showRuler);
    return geometry;
}

// The name column is as wide as the longest label (or as the user made it), but never takes more than a
// third of the view.
bool AlignmentView::AdjustNameWidth() {
    const int labels = fixedNameWidth > 0 ? fixedNameWidth : Renderer().GetNameViewSize().width() + kNameGap;
    const int wanted = std::min(labels, std::max(viewport()->width() / 3, kNameGap));
    if (wanted == nameWidth) return false;
    nameWidth = wanted;
    return true;
}

// Ranges come from the renderer's content size, rounded up to whole cells: positions are snapped down to
// cells, and the last one must still show the last cell whole. The bars' signals stay on, so that the
// scroll area shows or hides them as their ranges change; a value they move comes back as a scroll,
// which the running refresh queues. A view too small to compose keeps its bars, and with them its place.
void AlignmentView::SyncScrollBars(const ViewGeometry& rendered) {
    if (document && !composed) return;
    const bool known = composed && document;
    const int contentWidth = known ? Renderer().GetHorizontalScrollValue() : 0;
    const int contentHeight = known ? Renderer().GetVerticalScrollValue() : 0;
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setSingleStep(CellWidth());
    horizontal->setPageStep(std::max(rendered.sequenceArea.width() - CellWidth(), CellWidth()));
    horizontal->setRange(0, WholeCells(contentWidth - rendered.sequenceArea.width(), CellWidth()));
    vertical->setSingleStep(CellHeight());
    vertical->setPageStep(std::max(rendered.sequenceArea.height() - CellHeight(), CellHeight()));
    vertical->setRange(0, WholeCells(contentHeight - rendered.sequenceArea.height(), CellHeight()));
    const ViewGeometry now = Geometry();
    if (known && (now.scrollX != rendered.scrollX || now.scrollY != rendered.scrollY))
        pendingChange = pendingChange ? Costlier(*pendingChange, ViewRenderer::Change::Scroll)
                                      : ViewRenderer::Change::Scroll;
}

void AlignmentView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (!composed) return;
    if (const QPixmap* names = Renderer().GetNamePixmap())
        painter.drawPixmap(QPoint(0, 0), *names,
                           QRect(0, 0, std::max(nameWidth - kNameGap, 0), names->height()));
    if (const QPixmap* alignment = Renderer().GetAlignmentPixmap())
        painter.drawPixmap(nameWidth, 0, *alignment);
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(nameWidth - kNameGap / 2, 0, nameWidth - kNameGap / 2, viewport()->height());
    const std::vector<ShownLine> lines = ShownLines();
    const ViewMarks marks(CellGeometry(CellWidth(), CellHeight()), nameWidth, kNameGap);
    painter.setClipRect(QRect(nameWidth, 0, viewport()->width(), viewport()->height()));
    marks.PaintSelection(painter, lines, *document);
    marks.PaintTarget(painter, lines, markedSequence, markedColumn);
    painter.setClipping(false);
    marks.PaintCurrentRow(painter, lines, document->CurrentRow(), viewport()->width());
    marks.PaintHiddenMarkers(painter, lines, *document);
}

std::vector<ShownLine> AlignmentView::ShownLines() const {
    std::vector<ShownLine> lines;
    if (!composed || !document) return lines;
    const CellGeometry cells(CellWidth(), CellHeight());
    const unsigned columns = document->Model().columnCount();
    const int areaWidth = std::max(viewport()->width() - nameWidth, 0);
    const unsigned shownColumns = unsigned(cells.ColumnsIn(areaWidth + cells.CellWidth() - 1));
    const RowMap& rows = document->Rows();
    for (const auto& [top, location] : Renderer().RowLocations()) {
        if (location.isRuler || location.row < 0 ||
            location.kind != RenderSequenceData::RowLocation::kBandOrResidueLine ||
            top >= viewport()->height())
            continue;
        ShownLine line;
        line.top = top;
        line.row = location.row;
        line.sequenceIndex = rows.SequenceOfRow(location.row);
        line.firstColumn = location.firstColumn;
        line.endColumn = std::min({location.endColumn, columns, location.firstColumn + shownColumns});
        lines.push_back(line);
    }
    return lines;
}

bool AlignmentView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) Resized();
    return QAbstractScrollArea::viewportEvent(event);
}

// A resize lays the view out anew; the residue at the top left stays where it was when it can.
void AlignmentView::Resized() {
    if (refreshing) {
        Refresh(ViewRenderer::Change::Layout);  // queued: scroll bars came or went during a refresh
        return;
    }
    const std::optional<Anchor> kept = anchor;
    Refresh(ViewRenderer::Change::Layout);
    if (composed && kept) RestoreAnchor(*kept);
}

void AlignmentView::scrollContentsBy(int, int) {
    Refresh(ViewRenderer::Change::Scroll);
}

void AlignmentView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) Refresh(ViewRenderer::Change::Font);
    QAbstractScrollArea::changeEvent(event);
}

// ---- Positions and scrolling ----------------------------------------------------------------------------

std::optional<QPoint> AlignmentView::ResiduePosition(unsigned column, unsigned sequenceIndex) const {
    if (!composed) return std::nullopt;
    const QPoint point = Renderer().GetResidueCoordinate(column, sequenceIndex);
    if (point.x() < 0 || point.y() < 0) return std::nullopt;
    return point + QPoint(nameWidth, 0);
}

bool AlignmentView::IsResidueVisible(unsigned column, unsigned sequenceIndex) const {
    const std::optional<QPoint> point = ResiduePosition(column, sequenceIndex);
    if (!point) return false;
    const QRect cell(*point, QSize(CellWidth(), CellHeight()));
    const QRect area(QPoint(nameWidth, 0), QPoint(viewport()->width() - 1, viewport()->height() - 1));
    return area.contains(cell);
}

bool AlignmentView::GoTo(unsigned sequenceIndex, unsigned column) {
    if (!document || !composed || column >= document->Model().columnCount()) return false;
    if (document->Rows().RowOfSequence(int(sequenceIndex)) == RowMap::kNone) return false;
    int x = horizontalScrollBar()->value();
    int y = verticalScrollBar()->value();
    renderer.Renderer().ScrollTo(column, sequenceIndex, x, y);
    ScrollToPixels(x, y);
    return IsResidueVisible(column, sequenceIndex);
}

void AlignmentView::MarkResidue(int sequenceIndex, int column) {
    markedSequence = column >= 0 ? sequenceIndex : -1;
    markedColumn = sequenceIndex >= 0 ? column : -1;
    viewport()->update();
}

void AlignmentView::ScrollToPixels(int x, int y) {
    const ViewGeometry before = Geometry();
    {
        const QSignalBlocker blockHorizontal(horizontalScrollBar());
        const QSignalBlocker blockVertical(verticalScrollBar());
        horizontalScrollBar()->setValue(x);
        verticalScrollBar()->setValue(y);
    }
    const ViewGeometry after = Geometry();
    if (after.scrollX != before.scrollX || after.scrollY != before.scrollY)
        Refresh(ViewRenderer::Change::Scroll);
}

// The first residue line of the view and the column at its left edge.
std::optional<AlignmentView::Anchor> AlignmentView::TopLeftResidue() const {
    const std::vector<ShownLine> lines = ShownLines();
    if (lines.empty() || lines.front().sequenceIndex < 0) return std::nullopt;
    const ShownLine& line = lines.front();
    return Anchor{line.sequenceIndex, line.firstColumn, QPoint(nameWidth, line.top)};
}

void AlignmentView::RestoreAnchor(const Anchor& kept) {
    if (!GoTo(unsigned(kept.sequenceIndex), kept.column)) return;
    const std::optional<QPoint> now = ResiduePosition(kept.column, unsigned(kept.sequenceIndex));
    if (!now) return;
    const QPoint shift = *now - QPoint(nameWidth, kept.at.y());
    ScrollToPixels(horizontalScrollBar()->value() + shift.x(), verticalScrollBar()->value() + shift.y());
}

// The current sequence, else the one at the top of the view.
int AlignmentView::ReferenceSequence() const {
    if (document && document->CurrentRow() >= 0) return document->CurrentSequence();
    return anchor ? anchor->sequenceIndex : -1;
}

bool AlignmentView::GoToEdge(bool lastSequence, bool lastColumn, bool keepSequence) {
    if (!document || !composed) return false;
    const RowMap& rows = document->Rows();
    const unsigned columns = document->Model().columnCount();
    if (rows.RowCount() == 0 || columns == 0) return false;
    int sequence = rows.SequenceOfRow(lastSequence ? rows.RowCount() - 1 : 0);
    if (keepSequence && ReferenceSequence() >= 0) sequence = ReferenceSequence();
    return GoTo(unsigned(sequence), lastColumn ? columns - 1 : 0);
}

// Home/End go to the first/last column of the current row (or the top row); with Ctrl, to the top of
// the alignment or the last residue of its last row.
void AlignmentView::keyPressEvent(QKeyEvent* event) {
    const bool control = event->modifiers() & Qt::ControlModifier;
    if (event->key() == Qt::Key_Home && control) {
        ScrollToPixels(0, 0);
        return;
    }
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        const bool end = event->key() == Qt::Key_End;
        GoToEdge(control && end, end, !control);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void AlignmentView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
    const int delta = event->angleDelta().y();
    if (delta != 0) Zoom(delta > 0 ? 1 : -1);
    event->accept();
}

// ---- Mouse ----------------------------------------------------------------------------------------------

HoverTarget AlignmentView::TargetAt(QPoint viewportPoint) const {
    HoverTarget target;
    if (!composed) return target;
    const RenderSequenceData& hits = Renderer();
    if (viewportPoint.x() < nameWidth) {
        const QPoint point(0, viewportPoint.y());
        target.inNames = true;
        target.row = hits.GetRowIndex(point);
        target.sequenceIndex = hits.GetSequenceIndex(point);
        return target;
    }
    const QPoint point = ToComposed(viewportPoint);
    hits.GetResidueLocation(point, target.sequenceIndex, target.column);
    target.row = hits.GetRowIndex(point);
    target.ssKey = hits.GetSsKey(point);
    return target;
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

std::unique_ptr<QPixmap> AlignmentView::SelectionImage() {
    if (!document || !composed) return nullptr;
    const SelectionPicture picture(Renderer(), PictureRange::OfSelection(*document),
                                   options.wrap ? Renderer().ResiduesPerBlock() : 0);
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
