#pragma once

#include <QImage>
#include <QWidget>

class AlignmentView;

/// A strip of the whole alignment under the view: darker where more residues (fewer gaps) sit, with a
/// frame where the view is. A click centres the view on that place; a drag carries the frame.
class OverviewStrip : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 64;

    explicit OverviewStrip(AlignmentView& view, QWidget* parent = nullptr);

    /// The strip's picture of the document (rebuilt when it or the shown rows change).
    const QImage& Picture();
    /// The column and row a strip point stands for.
    QPoint PlaceAt(QPoint point) const;
    /// The strip rectangles of the view's residue lines, one per block shown.
    std::vector<QRect> ViewFrames() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild();
    void JumpTo(QPoint point);

    AlignmentView& view;  // not owned; the window's central widget outlives the strip
    QImage picture;
    std::uint64_t pictureRevision = 0;
    const void* pictureDocument = nullptr;
};
