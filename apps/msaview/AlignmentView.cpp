#include "AlignmentView.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

namespace {

// Refreshes that a refresh may trigger (scroll bars appearing resize the viewport); the layout settles
// after two, the rest is a guard against oscillation.
constexpr int kMaxRefreshPasses = 4;
// Lines the scroll range may grow so that its end is not snapped up (a ruler band's lower row, or a row's
// secondary-structure lines).
constexpr int kMaxSnapSteps = 8;
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
           rulersOf.showConsensus == b.showConsensus && rulersOf.colorScheme == b.colorScheme &&
           rulersOf.fullNames == b.fullNames && rulersOf.annotationRows == b.annotationRows;
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
    header.installEventFilter(this);
    treeStrip.installEventFilter(this);
    footer.installEventFilter(this);
}

AlignmentView::~AlignmentView() = default;

void AlignmentView::SetDocument(std::unique_ptr<AlignmentDocument> newDocument,
                                std::optional<DisplayOptions> newOptions) {
    // The renderer refers to the old view-side alignment until it restarts, so restart it first.
    renderer.Restart();
    document = std::move(newDocument);
    if (newOptions) options = *newOptions;
    dragRectangle.Clear();
    drag = Drag::None;
    autoScrollTimer.stop();
    composed = false;
    nameWidth = 0;
    anchor.reset();
    markedSequence = markedColumn = -1;
    panels.Clear();
    tree.Clear();
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

QFont AlignmentView::ResidueFont(const QFont& font) {
    QFont upright(font.family());
    if (font.pointSizeF() > 0)
        upright.setPointSizeF(font.pointSizeF());
    else
        upright.setPixelSize(font.pixelSize());
    upright.setStyleHint(QFont::Monospace);
    return upright;
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
    header.update();
    footer.update();
    treeStrip.update();
    emit viewChanged();
}

void AlignmentView::RenderOnce(ViewRenderer::Change change) {
    if (!document) {
        composed = false;
        SyncScrollBars(Geometry());
        return;
    }
    ViewGeometry geometry = Geometry();
    const DisplayOptions rowOptions = RowOptions();
    composed = renderer.Render(*viewport(), *document, rowOptions, geometry, change);
    const bool modelChanged = renderer.ModelChanged();
    if (change >= ViewRenderer::Change::Layout) tree.Follow(document->Model(), document->Rows());
    if (PanelsShown())
        panels.Update(*viewport(), *document, options, geometry, change, modelChanged);
    else
        panels.Clear();
    if (composed && change >= ViewRenderer::Change::Layout && AdjustNameWidth()) {
        geometry = Geometry();
        composed =
            renderer.Render(*viewport(), *document, rowOptions, geometry, ViewRenderer::Change::Layout);
    }
    SyncScrollBars(geometry);
    PlacePanels();
}

// The fixed panels take the viewport's margins; the annotation panel never more than a third of the view.
void AlignmentView::PlacePanels() {
    const int top = panels.IsLaidOut() ? panels.HeaderHeight() : 0;
    const int bottom = panels.IsLaidOut() ? panels.FooterHeight(height() / 3) : 0;
    const int left = TreeShown() ? TreeWidth() : 0;
    const QMargins margins(left, top, 0, bottom);
    if (viewportMargins() != margins) setViewportMargins(margins);
    const QRect area = viewport()->geometry();
    treeStrip.setGeometry(area.left() - left, area.top(), left, area.height());
    treeStrip.setVisible(left > 0);
    header.setGeometry(area.left(), area.top() - top, area.width(), top);
    footer.setGeometry(area.left(), area.bottom() + 1, area.width(), bottom);
    header.setVisible(top > 0);
    footer.setVisible(bottom > 0);
}

ViewGeometry AlignmentView::Geometry() const {
    ViewGeometry geometry;
    geometry.nameWidth = nameWidth;
    geometry.sequenceArea = QSize(std::max(viewport()->width() - nameWidth, 0), viewport()->height());
    geometry.scrollX = renderer.SnapHorizontal(horizontalScrollBar()->value());
    geometry.scrollY = renderer.SnapVertical(verticalScrollBar()->value(), RowOptions().showRuler);
    return geometry;
}

// The name column is as wide as the longest label (or as the user made it), but never takes more than a
// third of the view.
bool AlignmentView::AdjustNameWidth() {
    const int names = std::max(Renderer().GetNameViewSize().width(), panels.NameWidth());
    const int labels = fixedNameWidth > 0 ? fixedNameWidth : names + kNameGap;
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
    // The last position must show the last line whole after snapping, which may move it a line or two up.
    int verticalEnd = WholeCells(contentHeight - rendered.sequenceArea.height(), CellHeight());
    for (int step = 0; known && step < kMaxSnapSteps &&
                       renderer.SnapVertical(verticalEnd, RowOptions().showRuler) < verticalEnd;
         ++step)
        verticalEnd += CellHeight();
    vertical->setRange(0, verticalEnd);
    const ViewGeometry now = Geometry();
    if (known && (now.scrollX != rendered.scrollX || now.scrollY != rendered.scrollY))
        pendingChange = pendingChange ? Costlier(*pendingChange, ViewRenderer::Change::Scroll)
                                      : ViewRenderer::Change::Scroll;
}

void AlignmentView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    if (!document) return PaintEmptyHint(painter);
    if (!composed) return;
    if (const QPixmap* names = Renderer().GetNamePixmap())
        painter.drawPixmap(QPoint(0, 0), *names,
                           QRect(0, 0, std::max(nameWidth - kNameGap, 0), names->height()));
    if (const QPixmap* alignment = Renderer().GetAlignmentPixmap())
        painter.drawPixmap(nameWidth, 0, *alignment);
    painter.setPen(QColor(200, 200, 200));
    painter.drawLine(nameWidth - kNameGap / 2, 0, nameWidth - kNameGap / 2, viewport()->height());
    const std::vector<ShownLine> lines = ShownLines();
    const ViewMarks marks(CellGeometry(CellWidth(), CellHeight()), nameWidth, kNameGap,
                          QFontMetrics(font()).horizontalAdvance(QLatin1Char(' ')));
    painter.setClipRect(QRect(nameWidth, 0, viewport()->width(), viewport()->height()));
    marks.PaintSelection(painter, lines, *document);
    marks.PaintTarget(painter, lines, markedSequence, markedColumn);
    marks.PaintHighlights(painter, lines, ResolveHighlights(document->Model(), options.highlights).highlights,
                          *document);
    painter.setClipping(false);
    marks.PaintCurrentRow(painter, lines, document->CurrentRow(), viewport()->width());
    marks.PaintHiddenMarkers(painter, lines, *document);
}

// Without an alignment the view says how to get one.
void AlignmentView::PaintEmptyHint(QPainter& painter) {
    painter.setPen(kHintColour);
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, EmptyHint());
}

QString AlignmentView::EmptyHint() {
    return tr("Open an alignment with File > Open (Ctrl+O), or drop a file here.");
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

// The panels' mouse events are the view's, at the point they would have above or below the viewport.
bool AlignmentView::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (watched == &treeStrip) {
        if (type != QEvent::MouseButtonPress) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) return false;
        SelectCladeAt(mouse->position().toPoint());
        return true;
    }
    if (watched != &header && watched != &footer) return QAbstractScrollArea::eventFilter(watched, event);
    if (type == QEvent::Leave) {
        leaveEvent(event);
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QWidget& strip = watched == &header ? header : footer;
    const QPointF point = viewport()->mapFrom(this, strip.mapTo(this, mouse->position()));
    QMouseEvent mapped(type, point, mouse->globalPosition(), mouse->button(), mouse->buttons(),
                       mouse->modifiers());
    if (type == QEvent::MouseButtonPress) mousePressEvent(&mapped);
    if (type == QEvent::MouseMove) mouseMoveEvent(&mapped);
    if (type == QEvent::MouseButtonRelease) mouseReleaseEvent(&mapped);
    return true;
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

bool AlignmentView::CentreOn(unsigned sequenceIndex, unsigned column) {
    if (!GoTo(sequenceIndex, column)) return false;
    const QPoint cell = *ResiduePosition(column, sequenceIndex) + QPoint(CellWidth() / 2, CellHeight() / 2);
    const QPoint middle((nameWidth + viewport()->width()) / 2, viewport()->height() / 2);
    const QPoint shift = cell - middle;
    ScrollToPixels(horizontalScrollBar()->value() + shift.x(), verticalScrollBar()->value() + shift.y());
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
int AlignmentView::CurrentOrTopSequence() const {
    if (document && document->CurrentRow() >= 0) return document->CurrentSequence();
    return anchor ? anchor->sequenceIndex : -1;
}

bool AlignmentView::GoToEdge(bool lastSequence, bool lastColumn, bool keepSequence) {
    if (!document || !composed) return false;
    const RowMap& rows = document->Rows();
    const unsigned columns = document->Model().columnCount();
    if (rows.RowCount() == 0 || columns == 0) return false;
    int sequence = rows.SequenceOfRow(lastSequence ? rows.RowCount() - 1 : 0);
    if (keepSequence && CurrentOrTopSequence() >= 0) sequence = CurrentOrTopSequence();
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
