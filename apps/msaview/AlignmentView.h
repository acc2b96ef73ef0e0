#pragma once

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "AlignmentDocument.h"
#include "DisplayOptions.h"
#include "FixedPanels.h"
#include "HoverDescription.h"
#include "SelectionPicture.h"
#include "SelectionRectangle.h"
#include "TreePanel.h"
#include "ViewMarks.h"
#include "ViewRenderer.h"

class QPainter;

/// The scrolling alignment view: the name column on the left, the composed alignment on the right, both
/// painted from the renderer's pixmaps with the view's marks on top. It tells what is under the mouse,
/// selects residues, columns (on the ruler) and sequences (on their names) by clicking and dragging,
/// makes a clicked row current, scrolls a residue into view and zooms with Ctrl+wheel.
class AlignmentView : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr int kMinPointSize = 4;
    static constexpr int kMaxPointSize = 48;
    /// The colour of the hint an empty view shows.
    static constexpr QRgb kHintColour = 0xFF707070;

    explicit AlignmentView(QWidget* parent = nullptr);
    ~AlignmentView() override;

    /// Shows another document (null: none), with other options when given; the view owns it.
    void SetDocument(std::unique_ptr<AlignmentDocument> document,
                     std::optional<DisplayOptions> newOptions = std::nullopt);
    AlignmentDocument* Document() const { return document.get(); }

    const DisplayOptions& Options() const { return options; }
    void SetOptions(const DisplayOptions& newOptions);

    const RenderSequenceData& Renderer() const { return renderer.Renderer(); }
    int CellWidth() const { return renderer.CellWidth(); }
    int CellHeight() const { return renderer.CellHeight(); }
    int NameColumnWidth() const { return nameWidth; }
    /// Fixes the name column's width (the user dragged its edge); 0 goes back to fitting the names.
    void SetNameColumnWidth(int width);
    /// Whether the last Render composed a view.
    bool IsComposed() const { return composed; }

    /// The viewport point of a residue's top-left corner, or nothing when the view does not show it.
    std::optional<QPoint> ResiduePosition(unsigned column, unsigned sequenceIndex) const;
    /// Whether the whole cell of the residue lies inside the viewport.
    bool IsResidueVisible(unsigned column, unsigned sequenceIndex) const;
    /// Scrolls so that the residue is visible (through the renderer's ScrollTo); false when it is not
    /// visible afterwards: a hidden sequence, a column out of range, a view too small.
    bool GoTo(unsigned sequenceIndex, unsigned column);
    /// Scrolls so that the residue is as near the middle of the alignment area as the content allows;
    /// false as for GoTo.
    bool CentreOn(unsigned sequenceIndex, unsigned column);
    /// Marks a residue with a frame (Go to, Find); -1 clears the mark.
    void MarkResidue(int sequenceIndex, int column);
    /// The residue lines the viewport shows, top to bottom.
    std::vector<ShownLine> ShownLines() const;

    /// The upright, regular face of a font's family at its size: what residues are drawn in.
    static QFont ResidueFont(const QFont& font);
    /// Steps the residue font up or down, within kMinPointSize..kMaxPointSize; false at a limit.
    bool Zoom(int steps);

    void SetCurrentSequence(int sequenceIndex);
    void ClearSelection();
    /// Selects every shown sequence end to end.
    void SelectAll();
    /// Replaces the selection by these (sequence, first column, last column) runs and tells observers.
    void SelectRuns(const std::vector<std::array<unsigned, 3>>& runs);
    /// A picture of rows over columns, wrapped as the view wraps; invalid when it cannot be drawn.
    SelectionPicture PictureOf(const PictureRange& range) const;
    /// The selected residues as a picture, or null when nothing is selected or it cannot be drawn.
    std::unique_ptr<QPixmap> SelectionImage();
    /// Hides the selected sequences and the current one, keeping at least one row; false when nothing
    /// was hidden. They leave the selection, and the current row when it was one of them.
    bool HideChosenSequences();
    void ShowAllSequences();

    /// Orders of the rows the view offers.
    enum class RowSort { ByName, ByIdentity, AsInTheFile, ByTree };
    /// Puts the rows in that order; by identity to the current row, else to the row at the top of the
    /// view; by the tree set, else by a neighbour-joining tree of the rows built for it. The selection and
    /// the current row follow their sequences.
    void SortRows(RowSort sort);
    /// Draws residues identical to this sequence's in their column as dots (or blank, by the options) in
    /// the other rows; -1, or a sequence the model made (the consensus), compares with none.
    void SetReference(int sequenceIndex);
    /// The highlight (as --highlight takes it) of the selection: its residues in their own numbers when it
    /// lies in one sequence, else its columns; the next colour in turn and `label`. Empty: nothing selected.
    QString SelectionHighlight(const QString& label) const;
    /// The sequence the others are compared with, or -1.
    int Reference() const;
    /// The current sequence, else the one at the top of the view, else -1.
    int CurrentOrTopSequence() const;
    /// Puts the rows in the tree's leaf order and draws it left of the names while they stay in that order
    /// (beside every block when wrapped); the warning names the sequences and leaves that do not match, or
    /// is empty.
    QString SetTree(PhyloTree tree);
    /// Whether the tree stands left of the names now.
    bool TreeShown() const { return tree.RowsInTreeOrder(); }
    const QWidget& TreeStrip() const { return treeStrip; }

    /// What the view says while no alignment is open.
    static QString EmptyHint();

    /// What lies under a viewport point; above the viewport is the fixed ruler, below it the fixed
    /// annotation panel, while they are shown.
    HoverTarget TargetAt(QPoint viewportPoint) const;
    /// Whether the ruler and the annotation rows stand fixed above and below the rows (unwrapped views).
    bool PanelsShown() const { return document && FixedPanels::Apply(options); }
    /// The fixed ruler band above the rows and the annotation panel below them (hidden when not shown).
    const QWidget& Header() const { return header; }
    const QWidget& Footer() const { return footer; }

signals:
    void hoverTextChanged(const QString& text);
    void selectionChanged();
    void currentSequenceChanged(int sequenceIndex);
    /// After every refresh: the scroll position or the layout may have moved.
    void viewChanged();
    /// The sequences have other indexes: whatever kept them (Find's matches) is out of date.
    void rowsReordered();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Blank pixels between the name column and the alignment.
    static constexpr int kNameGap = 6;
    // The tree's width, in residue cells.
    static constexpr int kTreeCells = 16;

    /// What a press with the left button started.
    enum class Drag { None, Residues, Columns, Names, NameEdge };
    /// A residue and where the viewport showed it, to put it back there after a resize.
    struct Anchor {
        int sequenceIndex = -1;
        unsigned column = 0;
        QPoint at;
    };

    void Refresh(ViewRenderer::Change change);
    /// The reference is named by its place among the model's sequences, which a new row order changes.
    void RenumberReference();
    DisplayOptions RowOptions() const { return PanelsShown() ? FixedPanels::RowsOnly(options) : options; }
    void PlacePanels();
    int TreeWidth() const { return kTreeCells * CellWidth(); }
    void SelectCladeAt(QPoint stripPoint);
    int PanelColumnAt(int x) const;
    void PaintEmptyHint(QPainter& painter);
    void RenderOnce(ViewRenderer::Change change);
    ViewGeometry Geometry() const;
    bool AdjustNameWidth();
    void SyncScrollBars(const ViewGeometry& rendered);
    void ScrollToPixels(int x, int y);
    void Resized();
    std::optional<Anchor> TopLeftResidue() const;
    void RestoreAnchor(const Anchor& anchor);
    bool GoToEdge(bool lastSequence, bool lastColumn, bool keepSequence);

    std::optional<ResidueCell> CellAt(QPoint viewportPoint) const;
    int ColumnAt(QPoint viewportPoint) const;
    const AnnotationRow* AnnotationRowAt(QPoint composedPoint) const;
    int RulerColumnAt(QPoint viewportPoint) const;
    void AddSequenceToSelection(int row);
    bool OnNameEdge(QPoint viewportPoint) const;
    void StartDrag(Drag kind, QPoint point, Qt::KeyboardModifiers modifiers);
    void ContinueDrag(QPoint point);
    void AutoScroll();
    void ApplySelection();
    void RefreshHover();
    void SetHoverText(const QString& text);
    QPoint ToComposed(QPoint viewportPoint) const { return viewportPoint - QPoint(nameWidth, 0); }

    std::unique_ptr<AlignmentDocument> document;
    ViewRenderer renderer;  // declared after the document: it goes first and never outlives what it draws
    DisplayOptions options;
    int nameWidth = 0;
    int fixedNameWidth = 0;  // 0: the name column fits the names
    bool composed = false;
    bool refreshing = false;
    std::optional<ViewRenderer::Change> pendingChange;  // asked for while a refresh was running
    std::optional<Anchor> anchor;                       // of the last composed view
    SelectionRectangle dragRectangle;
    Drag drag = Drag::None;
    QPoint lastDragPoint;
    FixedPanels panels;
    TreePanel tree;
    PanelStrip treeStrip{this, [this](QPainter& painter, QSize size) {
                             tree.Paint(painter, size.width(), ShownLines(), CellHeight());
                         }};
    PanelStrip header{this, [this](QPainter& painter, QSize size) {
                          panels.PaintHeader(painter, size, nameWidth, kNameGap, Geometry().scrollX);
                      }};
    PanelStrip footer{this, [this](QPainter& painter, QSize size) {
                          panels.PaintFooter(painter, size, nameWidth, kNameGap, Geometry().scrollX);
                      }};
    QTimer autoScrollTimer;
    std::optional<QPoint> mousePoint;  // over the viewport, for hover text after scrolling
    QString hoverText;
    int markedSequence = -1;
    int markedColumn = -1;
};
