#include "AlignmentView.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "ImageRequest.h"

namespace {

// Blank pixels between the name column and the alignment.
constexpr int kNameGap = 6;
// Refreshes that a refresh may trigger (scroll bars appearing resize the viewport); the layout settles
// after two, the rest is a guard against oscillation.
constexpr int kMaxRefreshPasses = 4;

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

}  // namespace

AlignmentView::AlignmentView(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(10);
    setFont(font);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

AlignmentView::~AlignmentView() = default;

void AlignmentView::SetDocument(std::unique_ptr<AlignmentDocument> newDocument) {
    // The renderer refers to the old view-side alignment until it restarts, so restart it first.
    renderer.Restart();
    document = std::move(newDocument);
    dragRectangle.Clear();
    dragging = false;
    composed = false;
    nameWidth = 0;
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
    viewport()->update();
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

// The name column is as wide as the longest label, but never takes more than a third of the view.
bool AlignmentView::AdjustNameWidth() {
    const int labels = Renderer().GetNameViewSize().width() + kNameGap;
    const int wanted = std::min(labels, std::max(viewport()->width() / 3, kNameGap));
    if (wanted == nameWidth) return false;
    nameWidth = wanted;
    return true;
}

// Ranges come from the renderer's content size, rounded up to whole cells: positions are snapped down to
// cells, and the last one must still show the last cell whole; a range that shrank below the rendered
// position moves the bar, and the view is then rendered again at the new position.
void AlignmentView::SyncScrollBars(const ViewGeometry& rendered) {
    const bool known = composed && document;
    const int contentWidth = known ? Renderer().GetHorizontalScrollValue() : 0;
    const int contentHeight = known ? Renderer().GetVerticalScrollValue() : 0;
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    const QSignalBlocker blockHorizontal(horizontal);
    const QSignalBlocker blockVertical(vertical);
    horizontal->setRange(0, WholeCells(contentWidth - rendered.sequenceArea.width(), CellWidth()));
    horizontal->setSingleStep(CellWidth());
    horizontal->setPageStep(std::max(rendered.sequenceArea.width() - CellWidth(), CellWidth()));
    vertical->setRange(0, WholeCells(contentHeight - rendered.sequenceArea.height(), CellHeight()));
    vertical->setSingleStep(CellHeight());
    vertical->setPageStep(std::max(rendered.sequenceArea.height() - CellHeight(), CellHeight()));
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
}

bool AlignmentView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) Refresh(ViewRenderer::Change::Layout);
    return QAbstractScrollArea::viewportEvent(event);
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

void AlignmentView::mousePressEvent(QMouseEvent* event) {
    if (!document || !composed || event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    const HoverTarget target = TargetAt(point);
    if (target.inNames) {
        if (target.sequenceIndex >= 0) SetCurrentSequence(target.sequenceIndex);
        return;
    }
    const std::optional<ResidueCell> cell = CellAt(point);
    if (!cell) {
        ClearSelection();
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        dragRectangle.Extend(*cell);
    else
        dragRectangle.Start(*cell);
    dragging = true;
    ApplySelection();
}

void AlignmentView::mouseMoveEvent(QMouseEvent* event) {
    if (!document) return;
    const QPoint point = event->position().toPoint();
    SetHoverText(DescribeHover(*document, TargetAt(point)));
    if (!dragging || !(event->buttons() & Qt::LeftButton)) return;
    const std::optional<ResidueCell> cell = CellAt(point);
    if (!cell || *cell == dragRectangle.Focus()) return;
    dragRectangle.Extend(*cell);
    ApplySelection();
}

void AlignmentView::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging || event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    dragging = false;
    document->Model().selectionChanged();  // tell the model's observers once the drag is over
    emit selectionChanged();
}

void AlignmentView::leaveEvent(QEvent* event) {
    SetHoverText(QString());
    QAbstractScrollArea::leaveEvent(event);
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
    dragging = false;
    if (!document) return;
    document->Model().getSelection().clear();
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
    ImageRequest request = ImageRequest::FromSelection(document->Model(), document->Rows());
    if (request.IsEmpty()) return nullptr;
    // The view's picture keeps gaps in their columns, as the view shows them.
    std::unique_ptr<QPixmap> image(renderer.Renderer().CopyImageData(
        std::move(request.sequenceIndexes), std::move(request.columnsByRow), false, true));
    if (image && image->isNull()) image.reset();
    return image;
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
    Refresh(ViewRenderer::Change::Layout);
    return true;
}

void AlignmentView::ShowAllSequences() {
    if (!document) return;
    document->ShowAllSequences();
    Refresh(ViewRenderer::Change::Layout);
}
