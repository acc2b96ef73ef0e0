#include "OverviewStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <map>

#include "AlignmentView.h"
#include "sqv/UserProperties.h"

namespace {

// Bins of the strip's picture at most; it is scaled to the widget.
constexpr int kMaxBinsAcross = 1024;
constexpr int kMinFrameHeight = 4;

}  // namespace

OverviewStrip::OverviewStrip(AlignmentView& alignmentView, QWidget* parent)
    : QWidget(parent), view(alignmentView) {
    setFixedHeight(kHeight);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("The whole alignment; click to go there"));
    connect(&view, &AlignmentView::viewChanged, this, qOverload<>(&QWidget::update));
}

// Each pixel is the share of residues among the cells it covers: black all residues, white all gaps.
void OverviewStrip::Rebuild() {
    AlignmentDocument* document = view.Document();
    pictureDocument = document;
    picture = QImage();
    if (!document) return;
    pictureRevision = document->Model().revision();
    const RowMap& rows = document->Rows();
    const int columns = int(document->Model().columnCount());
    if (rows.RowCount() == 0 || columns == 0) return;
    const int across = std::min(columns, kMaxBinsAcross);
    const int down = std::min(rows.RowCount(), kHeight);
    std::vector<int> residues(std::size_t(across * down), 0);
    std::vector<int> cells(std::size_t(across * down), 0);
    for (int row = 0; row < rows.RowCount(); ++row) {
        const std::string& aligned =
            document->Model().getSequence(unsigned(rows.SequenceOfRow(row)))->getAligned();
        const int y = int(std::int64_t(row) * down / rows.RowCount());
        for (int column = 0; column < columns && column < int(aligned.size()); ++column) {
            const std::size_t bin = std::size_t(y * across + int(std::int64_t(column) * across / columns));
            ++cells[bin];
            if (!SQC::SequenceConstants::IsGap(aligned[std::size_t(column)])) ++residues[bin];
        }
    }
    picture = QImage(across, down, QImage::Format_RGB32);
    for (int y = 0; y < down; ++y)
        for (int x = 0; x < across; ++x) {
            const std::size_t bin = std::size_t(y * across + x);
            const int shade = cells[bin] == 0 ? 255 : 255 - 200 * residues[bin] / cells[bin];
            picture.setPixel(x, y, qRgb(shade, shade, std::min(shade + 30, 255)));
        }
}

QPoint OverviewStrip::PlaceAt(QPoint point) const {
    AlignmentDocument* document = view.Document();
    if (!document || width() <= 0) return QPoint(-1, -1);
    const int columns = int(document->Model().columnCount());
    const int rows = document->Rows().RowCount();
    const int column =
        std::clamp(int(std::int64_t(point.x()) * columns / width()), 0, std::max(columns - 1, 0));
    const int row = std::clamp(int(std::int64_t(point.y()) * rows / height()), 0, std::max(rows - 1, 0));
    return QPoint(column, row);
}

std::vector<QRect> OverviewStrip::ViewFrames() const {
    std::vector<QRect> frames;
    AlignmentDocument* document = view.Document();
    if (!document) return frames;
    const double columns = std::max<double>(document->Model().columnCount(), 1);
    const double rows = std::max(document->Rows().RowCount(), 1);
    std::map<unsigned, std::pair<QPoint, QPoint>> blocks;  // first column -> (first, last) row and column
    for (const ShownLine& line : view.ShownLines()) {
        auto [it, added] = blocks.try_emplace(line.firstColumn, QPoint(int(line.firstColumn), line.row),
                                              QPoint(int(line.endColumn), line.row + 1));
        if (!added) {
            it->second.first.ry() = std::min(it->second.first.y(), line.row);
            it->second.second.ry() = std::max(it->second.second.y(), line.row + 1);
        }
    }
    for (const auto& [first, corners] : blocks) {
        const QPoint topLeft(int(corners.first.x() * width() / columns),
                             int(corners.first.y() * height() / rows));
        const QPoint bottomRight(int(corners.second.x() * width() / columns) - 1,
                                 int(corners.second.y() * height() / rows) - 1);
        // Thousands of rows leave a view's few under a pixel: keep the frame visible.
        QRect frame = QRect(topLeft, bottomRight).normalized();
        if (frame.height() < kMinFrameHeight) frame.setHeight(kMinFrameHeight);
        frames.push_back(frame);
    }
    return frames;
}

const QImage& OverviewStrip::Picture() {
    AlignmentDocument* document = view.Document();
    if (document != pictureDocument || (document && document->Model().revision() != pictureRevision))
        Rebuild();
    return picture;
}

void OverviewStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!Picture().isNull()) painter.drawImage(rect(), picture);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    painter.setBrush(QColor(220, 0, 0, 40));
    for (const QRect& frame : ViewFrames()) painter.drawRect(frame);
}

void OverviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) JumpTo(event->position().toPoint());
}

void OverviewStrip::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) JumpTo(event->position().toPoint());
}

void OverviewStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

// The view is centred on the place, so that a click puts the frame's middle there and a drag carries it.
void OverviewStrip::JumpTo(QPoint point) {
    AlignmentDocument* document = view.Document();
    const QPoint place = PlaceAt(point);
    if (!document || place.x() < 0) return;
    view.CentreOn(unsigned(document->Rows().SequenceOfRow(place.y())), unsigned(place.x()));
}
