#include "FixedPanels.h"

#include <QPainter>
#include <algorithm>

#include "AlignmentDocument.h"
#include "msarender/CellGeometry.h"

namespace {

// Lines of the figure renderer's own composed view, which nothing shows.
constexpr int kComposedLines = 4;

}  // namespace

DisplayOptions FixedPanels::RowsOnly(DisplayOptions options) {
    options.showRuler = false;
    options.annotationRows.clear();
    return options;
}

void FixedPanels::Clear() {
    laidOut = false;
    plan = RenderSequenceData::PicturePlan();
    headerHeight = annotationHeight = names = 0;
    header = footer = Painted();
}

// The figure is planned once per layout: scrolling moves the panels' painting only.
void FixedPanels::Update(QPaintDevice& device, AlignmentDocument& document, const DisplayOptions& options,
                         const ViewGeometry& geometry, ViewRenderer::Change change, bool modelChanged) {
    // New ruler numbers (origin, numbers, by the reference) redraw the fixed ruler as a new layout does.
    const bool rulers = change == ViewRenderer::Change::Rulers;
    if (laidOut && change < ViewRenderer::Change::Layout && !rulers && !modelChanged) return;
    if (modelChanged) figure.ForgetAnnotationRows();
    Clear();
    // Only the plan is used: the figure's own composed view is kept a few lines small.
    ViewGeometry small = geometry;
    small.scrollX = small.scrollY = 0;
    small.sequenceArea.setHeight(std::min(small.sequenceArea.height(), kComposedLines * figure.CellHeight()));
    if (!figure.Render(device, document, options, small, std::max(change, ViewRenderer::Change::Layout)))
        return;
    std::vector<unsigned> shown;
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row) shown.push_back(unsigned(rows.SequenceOfRow(row)));
    if (!figure.Renderer().PlanPicture(shown, {}, true, plan)) return;
    plan.viewLabels = true;
    bool firstAnnotation = true;
    for (const RenderSequenceData::PicturePlan::Line& line : plan.lines) {
        if (line.kind == RenderSequenceData::PicturePlan::Line::Kind::RulerBand && headerHeight == 0) {
            rulerTop = line.top;
            headerHeight = line.height;
        } else if (line.kind == RenderSequenceData::PicturePlan::Line::Kind::Annotation) {
            if (firstAnnotation) annotationTop = line.top;
            firstAnnotation = false;
            annotationHeight = int(line.top + line.height - annotationTop);
        }
    }
    names = figure.Renderer().GetNameViewSize().width();
    laidOut = true;
}

int FixedPanels::FooterHeight(int most) const {
    const CellGeometry cells(figure.CellWidth(), figure.CellHeight());
    return std::min(annotationHeight, cells.LineTop(cells.LinesIn(std::max(most, 0))));
}

void FixedPanels::PaintHeader(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX) const {
    if (headerHeight > 0) PaintLines(painter, size, nameWidth, nameGap, scrollX, rulerTop, false, header);
}

void FixedPanels::PaintFooter(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX) const {
    if (annotationHeight > 0)
        PaintLines(painter, size, nameWidth, nameGap, scrollX, annotationTop, true, footer);
}

// The picture's residues start right of its own name column; the view's start at `nameWidth`.
void FixedPanels::PaintLines(QPainter& painter, QSize size, int nameWidth, int nameGap, int scrollX,
                             std::int64_t top, bool withNames, Painted& painted) const {
    if (!laidOut || size.isEmpty()) return;
    if (painted.image.size() != size || painted.nameWidth != nameWidth || painted.scrollX != scrollX) {
        painted.image = QImage(size, QImage::Format_RGB32);
        painted.image.fill(Qt::white);
        QPainter panel(&painted.image);
        const int areaWidth = size.width() - nameWidth;
        if (areaWidth > 0)
            panel.drawImage(nameWidth, 0,
                            PaintPart(QSize(areaWidth, size.height()), plan.nameWidth + scrollX, top));
        if (withNames && nameWidth > nameGap)
            panel.drawImage(0, 0, PaintPart(QSize(nameWidth - nameGap, size.height()), 0, top));
        painted.nameWidth = nameWidth;
        painted.scrollX = scrollX;
    }
    painter.drawImage(0, 0, painted.image);
}

// A part of the panel on an image of its own, since the picture sets its own clip while it paints.
QImage FixedPanels::PaintPart(QSize size, int pictureX, std::int64_t top) const {
    QImage part(size, QImage::Format_RGB32);
    part.fill(Qt::white);
    QPainter painter(&part);
    painter.translate(-pictureX, 0);
    figure.Renderer().PaintPicture(plan, painter, top, size.height());
    return part;
}

const AnnotationRow* FixedPanels::AnnotationAt(int y) const {
    if (!laidOut || y < 0 || y >= annotationHeight) return nullptr;
    const std::int64_t pictureY = annotationTop + y;
    const std::vector<AnnotationRow>& rows = figure.Renderer().AnnotationRows();
    for (const RenderSequenceData::PicturePlan::Line& line : plan.lines)
        if (line.kind == RenderSequenceData::PicturePlan::Line::Kind::Annotation && pictureY >= line.top &&
            pictureY < line.top + line.height && line.row < rows.size())
            return &rows[line.row];
    return nullptr;
}

PanelStrip::PanelStrip(QWidget* parent, std::function<void(QPainter&, QSize)> paintStrip)
    : QWidget(parent), paint(std::move(paintStrip)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    hide();
}

void PanelStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paint(painter, size());
}
