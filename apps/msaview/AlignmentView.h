#pragma once

#include <QAbstractScrollArea>
#include <QPixmap>
#include <memory>
#include <optional>
#include <vector>

#include "AlignmentDocument.h"
#include "DisplayOptions.h"
#include "HoverDescription.h"
#include "SelectionRectangle.h"
#include "ViewRenderer.h"

/// The scrolling alignment view: the name column on the left, the composed alignment on the right, both
/// painted from the renderer's pixmaps. It tells what is under the mouse, selects residues by dragging,
/// makes a clicked name the current row, and scrolls a residue into view.
class AlignmentView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit AlignmentView(QWidget* parent = nullptr);
    ~AlignmentView() override;

    /// Shows another document (null: none); the view owns it.
    void SetDocument(std::unique_ptr<AlignmentDocument> document);
    AlignmentDocument* Document() const { return document.get(); }

    const DisplayOptions& Options() const { return options; }
    void SetOptions(const DisplayOptions& newOptions);

    const RenderSequenceData& Renderer() const { return renderer.Renderer(); }
    int CellWidth() const { return renderer.CellWidth(); }
    int CellHeight() const { return renderer.CellHeight(); }
    int NameColumnWidth() const { return nameWidth; }
    /// Whether the last Render composed a view.
    bool IsComposed() const { return composed; }

    /// The viewport point of a residue's top-left corner, or nothing when the view does not show it.
    std::optional<QPoint> ResiduePosition(unsigned column, unsigned sequenceIndex) const;
    /// Whether the whole cell of the residue lies inside the viewport.
    bool IsResidueVisible(unsigned column, unsigned sequenceIndex) const;
    /// Scrolls so that the residue is visible (through the renderer's ScrollTo); false when it is not
    /// visible afterwards: a hidden sequence, a column out of range, a view too small.
    bool GoTo(unsigned sequenceIndex, unsigned column);

    void SetCurrentSequence(int sequenceIndex);
    void ClearSelection();
    /// The selected residues as a picture, or null when nothing is selected or it cannot be drawn.
    std::unique_ptr<QPixmap> SelectionImage();
    /// Hides the selected sequences and the current one, keeping at least one row; false when nothing
    /// was hidden.
    bool HideChosenSequences();
    void ShowAllSequences();

    const QString& HoverText() const { return hoverText; }
    /// What lies under a viewport point.
    HoverTarget TargetAt(QPoint viewportPoint) const;

signals:
    void hoverTextChanged(const QString& text);
    void selectionChanged();
    void currentSequenceChanged(int sequenceIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Refresh(ViewRenderer::Change change);
    void RenderOnce(ViewRenderer::Change change);
    ViewGeometry Geometry() const;
    bool AdjustNameWidth();
    void SyncScrollBars(const ViewGeometry& rendered);
    void ScrollToPixels(int x, int y);
    std::optional<ResidueCell> CellAt(QPoint viewportPoint) const;
    void ApplySelection();
    void SetHoverText(const QString& text);
    QPoint ToComposed(QPoint viewportPoint) const { return viewportPoint - QPoint(nameWidth, 0); }

    std::unique_ptr<AlignmentDocument> document;
    ViewRenderer renderer;  // declared after the document: it goes first and never outlives what it draws
    DisplayOptions options;
    int nameWidth = 0;
    bool composed = false;
    bool refreshing = false;
    std::optional<ViewRenderer::Change> pendingChange;  // asked for while a refresh was running
    SelectionRectangle dragRectangle;
    bool dragging = false;
    QString hoverText;
};
