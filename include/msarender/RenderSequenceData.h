#pragma once

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "msarender/AnnotationRow.h"
#include "msarender/Export.h"
#include "msarender/FontAttributes.h"
#include "sdm/Residue.h"

class QPaintDevice;
class QPainter;
class CellGeometry;
class SSCartoonPainter;
class RulerNumbering;
struct ResidueRenderData;

namespace Corvane {
class AlignmentHelper;
}
namespace SQV {
class SVAlignment;
}
namespace SDM {
class NASequence;
}

/// Renders a multiple sequence alignment for one scrolling view.
///
/// The host calls InitializeRendering() when its view comes up, Render() whenever the alignment, view size,
/// font or switches change and whenever it scrolls, then paints GetNamePixmap() and GetAlignmentPixmap().
/// Hit tests, ScrollTo and CopyImageData answer from the last Render. The renderer does not own the
/// SQV::SVAlignment: the host keeps it alive for as long as it calls those operations.
///
/// Copies share the cached pixmaps and the cartoon drawer with their source; every object keeps what it
/// refers to alive, so releasing through one copy never invalidates another.
///
/// Where the class is implemented, by responsibility:
/// - src/renderer/RenderSequenceData.cpp: construction, copying, InitializeRendering/UninitializeRendering;
/// - src/renderer/RenderLayout.cpp: Render, its layout pass and block pass;
/// - src/renderer/PixmapStore.cpp: shaping and emptying the residue, cartoon and ruler stores;
/// - src/renderer/ResidueBlockRendering.cpp: the residue strips of a block, cell by cell from the glyph
/// cache;
/// - src/tracks/RulerTrack.cpp and src/tracks/SSCartoonTrack.cpp: ruler bands and secondary-structure lines;
/// - src/renderer/ViewComposition.cpp: the composed view, the name column, row locations, GetSavablePixmap;
/// - src/renderer/HitTesting.cpp: the hit tests and ScrollTo;
/// - src/renderer/ImageExport.cpp: CopyImageData and the planned picture;
/// - src/renderer/VectorCells.cpp: residue cells as rectangles and text, for vector devices.
/// Pixel arithmetic lives in msarender/CellGeometry.h.
class MSARENDER_EXPORT RenderSequenceData {
public:
    /// The view rectangle, name rectangle and display switches of one Render call.
    struct MSARENDER_EXPORT RenderAspects {
        /// `residuesPerLine` that fits every wrapped line to the view and ignores the horizontal offset.
        static constexpr int kFitToWidth = -1;

        QRect viewRect;
        QRect nameRect;
        bool wrap = true;
        int horizontalOffset = 0;
        bool layoutChanged = false;
        int residuesPerLine = 0;
        bool showRuler = true;
        bool showRulerNumbers = true;
        bool showSecondaryStructure = false;
        /// The residue font of a layout pass; without one, the device's (a widget's font, else the
        /// application's). A picture brings its own, so that pictures of different fonts never meet.
        std::optional<QFont> font;
    };

    /// What composition recorded about one grid row of the composed view.
    struct RowLocation {
        /// Values of `kind`.
        static constexpr int kBandOrResidueLine = 0;
        static constexpr int kSecondaryStructureLine = 3;
        static constexpr int kAnnotationLine = 4;

        int kind = kBandOrResidueLine;
        int row = -1;  // -1 for a ruler band
        unsigned firstColumn = 0;
        unsigned endColumn = 0;
        bool isRuler = false;
        std::string ssKey;
        int annotation = -1;  // index of the annotation row on a kAnnotationLine
    };

    RenderSequenceData();
    RenderSequenceData(const RenderSequenceData& other);
    RenderSequenceData& operator=(const RenderSequenceData& other);
    ~RenderSequenceData();

    void InitializeRendering();
    void UninitializeRendering();

    bool Render(QPaintDevice* device, SQV::SVAlignment& alignment, const RenderAspects& aspects,
                bool redrawResidues, bool keepLayout);

    // Accessors.
    QPixmap* GetAlignmentPixmap() const { return alignmentPixmap.get(); }
    QPixmap* GetNamePixmap() const { return namePixmap.get(); }
    int GetResidueBlockHeight() const { return residueBlockHeight; }
    int GetResidueBlockWidth() const { return residueBlockWidth; }
    int GetHorizontalScrollValue() const { return horizontalScrollValue; }
    int GetVerticalScrollValue() const { return verticalScrollValue; }
    QSize GetSequenceViewSize() const { return sequenceViewSize; }
    QSize GetNameViewSize() const { return nameViewSize; }
    void GetSize(int& width, int& height) const;
    QRect& NameRect() { return aspects.nameRect; }
    int& HorizontalViewScrollValue() { return horizontalViewScrollValue; }
    int& VerticalViewScrollValue() { return verticalViewScrollValue; }
    int& TopScrollValue() { return topScrollValue; }
    int& LeftScrollValue() { return leftScrollValue; }
    int& TopDrawnValue() { return topDrawnValue; }

    /// The name column and the alignment view side by side; null before the first composition.
    QPixmap GetSavablePixmap();

    // Hit testing and scrolling, in pixels of the composed alignment view.
    int GetRowIndex(QPoint point) const;
    int GetSequenceIndex(QPoint point) const;
    std::string GetSsKey(QPoint point) const;
    int GetResidueIndex(QPoint point) const;
    void GetResidueLocation(QPoint point, int& sequenceIndex, int& residueIndex) const;
    QPoint GetResidueCoordinate(unsigned column, unsigned sequenceIndex) const;
    void ScrollTo(unsigned column, unsigned sequenceIndex, int& x, int& y) const;

    /// Rows of the whole alignment (consensus, conservation, a file's column annotations...) drawn once per
    /// block below the sequences, or above them under the ruler band: in the view, its hit tests and
    /// scrolling, and in pictures of whole sequences. The next Render lays the view out again. An empty
    /// list gives the plain layout back.
    void SetAnnotationRows(std::vector<AnnotationRow> rows,
                           AnnotationPlace place = AnnotationPlace::BelowSequences);
    const std::vector<AnnotationRow>& AnnotationRows() const { return annotationRows; }
    /// A ruler number of each column (index = 0-based column) instead of counting from the ruler origin,
    /// such as one sequence's residue numbers: a column left at kNoRulerNumber, or past the list's end, has
    /// no tick and no label. An empty list gives the origin's numbers back. Cached bands are drawn again.
    static constexpr long long kNoRulerNumber = std::numeric_limits<long long>::min();
    void SetRulerNumbers(std::vector<long long> numbers);
    AnnotationPlace AnnotationRowPlace() const { return annotationPlace; }
    /// The annotation row (index into AnnotationRows()) under a point of the composed view; -1 for any
    /// other line. GetResidueIndex gives the column of the same point.
    int GetAnnotationIndex(QPoint point) const;
    /// As ScrollTo, for the cell of annotation row `index` at `column` (in the block showing the column).
    void ScrollToAnnotation(unsigned column, unsigned index, int& x, int& y) const;

    /// A new picture of whole sequences (in the given order) or of chosen columns per row; the caller owns
    /// it. Null when nothing is selected or the image cannot be allocated. It is the planned picture below,
    /// painted whole onto one pixmap.
    QPixmap* CopyImageData(std::vector<unsigned> sequenceIndexes,
                           std::map<unsigned, std::vector<unsigned>> columnsByRow, bool unused,
                           bool includeGaps);

    /// The picture CopyImageData draws, planned before anything is drawn: its size and where every line goes.
    /// A host paints it onto any QPainter, whole or one horizontal band at a time: raster bands for images
    /// of any height, or a vector device. The plan refers to the renderer and to the host's alignment, which
    /// must outlive it and stay unchanged while it is painted.
    ///
    /// "Save as SVG/PDF" in a host: plan the selection, set `vectorShapes`, and paint the whole picture onto
    /// the device, for example
    ///     RenderSequenceData::PicturePlan plan;
    ///     if (renderer.PlanPicture(indexes, {}, true, plan)) {
    ///         plan.vectorShapes = true;
    ///         QPdfWriter pdf(path);  // or QSvgGenerator, or any QPaintDevice that writes a document
    ///         pdf.setResolution(screenDpi);  // the plan is measured in the screen's pixels
    ///         pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(plan.width, plan.height) / screenDpi,
    ///                                                 QPageSize::Inch, {}, QPageSize::ExactMatch),
    ///                                       QPageLayout::Portrait, QMarginsF()));
    ///         QPainter painter(&pdf);
    ///         painter.fillRect(QRect(0, 0, int(plan.width), int(plan.height)), Qt::white);
    ///         renderer.PaintPicture(plan, painter, 0, int(plan.height));
    ///     }
    /// The picture library writes SVG, PDF and EPS this way (src/picture/VectorOutput.cpp).
    struct PicturePlan {
        /// One item of the picture: a ruler band, or a row (its residue line with the name, then its
        /// secondary-structure lines).
        struct Line {
            enum class Kind { RulerBand, Row, Annotation };
            Kind kind = Kind::Row;
            std::int64_t top = 0;  // y in the picture
            int height = 0;
            unsigned row = 0;    // of a Row; the annotation row's index for an Annotation
            unsigned first = 0;  // the block's first column, or first position of a row's column list
            unsigned end = 0;    // one past its last
            unsigned count = 0;  // columns of the block
        };

        std::int64_t width = 0;
        std::int64_t height = 0;
        int nameWidth = 0;
        bool byColumns = false;  // chosen columns per row rather than whole sequences
        bool namesShown = true;  // false for the columns of one row: residues from x = 0
        bool includeGaps = true;
        std::vector<Line> lines;               // top to bottom
        std::vector<std::size_t> blockStarts;  // index of each block's first line
        std::map<unsigned, std::vector<unsigned>> columnsByRow;
        /// The chosen columns when all rows share them: the ruler numbers them as in the alignment and marks
        /// each break, and annotation rows follow them. Empty otherwise (positions are numbered from 1).
        std::vector<unsigned> rulerColumns;
        std::shared_ptr<const Corvane::AlignmentHelper> helper;  // the rows the plan was made for
        /// Paint for a vector device (SVG, PDF, PostScript): every cell background a filled rectangle (a
        /// run of equal neighbours one rectangle), every letter, name and ruler number text, ruler ticks
        /// lines and secondary-structure cartoons shapes. Off (the default) cells, ruler bands and cartoons
        /// are copied as pixels, as for every raster picture.
        bool vectorShapes = false;
        /// Names, ruler numbers and annotation symbols with the font's own anti-aliasing, as the composed
        /// view draws them, rather than in the picture's shades: for pages that compose views from a plan.
        bool viewLabels = false;
    };
    /// Plans the picture of CopyImageData's arguments; false (and an empty plan) when it would be null. With
    /// `columnsByRow`, unlike CopyImageData, its rows follow `sequenceIndexes` where that lists them (a
    /// sorted or tree-ordered picture of chosen columns), the others after it in ascending order.
    bool PlanPicture(std::vector<unsigned> sequenceIndexes,
                     std::map<unsigned, std::vector<unsigned>> columnsByRow, bool includeGaps,
                     PicturePlan& plan) const;
    /// Paints the rows [top, top + height) of the planned picture onto `painter`, with picture row `top` at
    /// the painter's y = 0. Lines that cross the band's edges are clipped to it, so bands painted one after
    /// another give the same pixels as the whole. The background is the caller's (CopyImageData: white).
    /// Lines that start at or below `linesEnd` are left out: a page ends there, and the band below it may
    /// show only the descenders of the page's last names. With `vectorShapes` a band also leaves out every
    /// line that ends above it, descenders and all: a vector document keeps clipped text, which would turn
    /// up again on the next page. Break vector pages between lines (best at block starts). Lines that start
    /// above `linesBegin` are left out too: a page begins there, and the page above shows their descenders.
    void PaintPicture(const PicturePlan& plan, QPainter& painter, std::int64_t top, int height,
                      std::int64_t linesEnd = INT64_MAX, std::int64_t linesBegin = 0) const;

    /// Bytes of residue strips the renderer may keep for scrolling back; beyond it the least recently shown
    /// strips are dropped (and drawn again when shown). 0 restores the default: a few views' worth.
    void SetStripCacheBudget(std::int64_t bytes) { stripBudgetBytes = std::max<std::int64_t>(bytes, 0); }
    /// Bytes of residue strips cached now.
    std::int64_t StripCacheBytes() const { return stripBytes; }

    /// Where a view scrolled to content y starts: the top of the line holding y, or, when y falls on a row's
    /// secondary-structure line, the top of that row's residue line, which the view then starts with.
    int ViewTopFor(int y) const;

    /// Read-only views of the layout, for hosts that draw their own decorations and for tests.
    unsigned ResiduesPerBlock() const { return unsigned(residuesPerBlock); }
    unsigned BlockCount() const { return blockCount; }
    unsigned BlocksToRender() const { return blocksToRender; }
    unsigned RowsPerBlock() const { return rowsPerBlock; }
    unsigned TopResidueIndex() const { return topResidueIndex; }
    int FirstRow() const { return firstRow; }
    int LastRow() const { return lastRow; }
    int LastBlockRows() const { return lastBlockRows; }
    const SQC::FontAttributes& CellFont() const { return fontAttributes; }
    const std::map<int, RowLocation>& RowLocations() const { return rowLocations; }

protected:
    struct PixmapSlot {
        std::shared_ptr<QPixmap> pixmap;  // null when nothing is cached
        bool selected = false;            // selection state the residue strip was drawn with
        unsigned firstColumn = 0;  // columns a cached strip or band shows: a shifted range is repainted
        unsigned columnCount = 0;
        std::uint64_t lastShown = 0;  // block pass that last drew or kept the strip, for eviction
    };
    using SlotVector = std::vector<PixmapSlot>;

    void InitializePixmapBlocks(const Corvane::AlignmentHelper& helper);
    bool RenderResidueBlock(const Corvane::AlignmentHelper& helper, unsigned first, unsigned end,
                            unsigned block, int firstDrawnRow, int lastDrawnRow);
    bool RenderResidueBases(const Corvane::AlignmentHelper& helper, unsigned row, unsigned block,
                            unsigned first, unsigned count);
    void GetRenderData(const Corvane::AlignmentHelper& helper, ResidueRenderData& data, unsigned row,
                       unsigned column, bool ignoreSelection) const;
    void RenderRulerBase(const Corvane::AlignmentHelper& helper, unsigned firstColumn, unsigned blockIndex);
    void RenderSSCartoonBase(unsigned row, unsigned blockIndex, const std::string& key,
                             const std::string& ssString);
    void RenderPairingLineBase(unsigned row, unsigned blockIndex, const std::string& key, unsigned first,
                               unsigned count);
    void MakeAlignmentPixmap(const Corvane::AlignmentHelper& helper, unsigned firstBlock);

private:
    bool RunLayoutPass(const Corvane::AlignmentHelper& helper, QPaintDevice* device, bool fontChanged);
    void ForgetComposedView();
    bool RunBlockPass(const Corvane::AlignmentHelper& helper);
    void GetSequenceAndResidueStarters(int& sequenceStarter, int& residueStarter) const;
    int CalculateTopResidueIndex();
    void FindRowPosition(int& position) const;
    void FreePixmaps();
    void FreeRulerRows();
    void PurgeResiduePixmaps();
    // Steps of the layout and block passes.
    void ComputeBlockShape(const Corvane::AlignmentHelper& helper, int visibleColumns);
    void CreateCartoonDrawer(const Corvane::AlignmentHelper& helper);
    void CollectSecondaryStructure(const Corvane::AlignmentHelper& helper);
    void CollectPairingLines(const SDM::NASequence& rna, unsigned row, const Corvane::AlignmentHelper& helper,
                             std::map<std::string, std::string>& strings);
    void ComputeVisibleBlocks(unsigned visibleRows);
    void ComputeScrollExtents();
    void FindVisibleRows(const CellGeometry& cells);
    bool BlocksTallerThanView(const CellGeometry& cells) const;
    void FindVisibleRowsOfTallBlocks(const CellGeometry& cells, unsigned topBlock);
    std::int64_t StripBudget() const;
    void EvictStrips();
    struct CartoonPlace {
        std::string key;
        unsigned block = 0;
        unsigned row = 0;
    };
    void DropCartoonsNotShown(const std::vector<CartoonPlace>& places);
    PixmapSlot* StructureLineSlot(unsigned row, unsigned blockIndex, const std::string& key);
    const AnnotationRow* PairingLine(unsigned row, const std::string& key) const;
    void PaintPairingLine(QPainter& painter, unsigned row, const std::string& key, unsigned firstColumn,
                          unsigned count, bool includeGaps, int x, int y) const;
    void RenderVisibleBlocks(const Corvane::AlignmentHelper& helper);
    void RenderSecondaryStructureLines(unsigned row, unsigned block, unsigned first, unsigned count);
    bool KeepsResidueStrip(const PixmapSlot& slot, bool involved, unsigned first, unsigned count) const;
    QImage PaintCells(const Corvane::AlignmentHelper& helper, unsigned row,
                      const std::vector<unsigned>& columns, bool ignoreSelection) const;

    void CopySequenceNamePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned row,
                                int baselineY) const;
    void CopyResiduePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                           const std::string& residues, unsigned row, int x, int y, unsigned firstColumn,
                           unsigned endColumn, bool includeGaps, bool vectorShapes = false) const;
    void CopyResiduePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter,
                           const std::string& alignedSequence, unsigned row, int x, int y,
                           std::vector<unsigned> columns, unsigned firstPosition, unsigned endPosition,
                           bool includeGaps, bool vectorShapes = false) const;
    RulerNumbering RulerNumberingOf(const Corvane::AlignmentHelper& helper) const;
    void CopyRulerPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned count, int x,
                         int y, unsigned firstColumn, int breaks = 0, bool vectorShapes = false) const;
    static bool CartoonsFit(const PicturePlan& plan);
    static bool AnnotationsFit(const PicturePlan& plan);
    void PaintChosenColumnsRuler(const PicturePlan& plan, const PicturePlan::Line& line, QPainter& painter,
                                 int y) const;
    void PaintChosenColumnsCartoons(const PicturePlan& plan, const PicturePlan::Line& line, QPainter& painter,
                                    int x, int y) const;
    void CopySSCartoonPixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, int row, int x,
                             int& y, unsigned firstColumn, unsigned count, bool includeGaps,
                             bool vectorShapes = false) const;
    void CopySSCartoonNamePixmap(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned row,
                                 int baselineY, const std::string& key, bool includeGaps) const;

    // View composition steps: plan the composed lines first, then size, paint and record them.
    struct ComposedLine;
    std::vector<ComposedLine> PlanComposedLines(const Corvane::AlignmentHelper& helper, unsigned firstBlock,
                                                bool freshView) const;
    void PlanBlockRows(const Corvane::AlignmentHelper& helper, unsigned block, unsigned firstColumn,
                       bool firstBlock, bool lastBlock, bool freshView, int& y,
                       std::vector<ComposedLine>& lines) const;
    QSize ComposedViewSize(int contentHeight) const;
    int LongestLabelWidth(const Corvane::AlignmentHelper& helper);
    int WidestLabel(const std::vector<ComposedLine>& lines) const;
    void DropLinesBelowView(const CellGeometry& cells, std::vector<ComposedLine>& lines) const;
    void PaintComposedLines(const std::vector<ComposedLine>& lines);
    void RecordRowLocations(const std::vector<ComposedLine>& lines);
    void DrawExportCells(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned row,
                         const std::vector<unsigned>& columns, bool ignoreSelection, int x, int y,
                         bool vectorShapes) const;
    void DrawVectorCells(const Corvane::AlignmentHelper& helper, QPainter& painter, unsigned row,
                         const std::vector<unsigned>& columns, bool ignoreSelection, int x, int y) const;

    // Hit-testing and scrolling steps.
    const RowLocation* LocationAt(QPoint point) const;
    const RowLocation* FindResidueEntry(unsigned row, unsigned column, int& top) const;
    bool ResidueLineShown(unsigned row, unsigned block, int& top) const;
    int GridRowOfRow(unsigned row) const;
    bool ColumnShownHorizontally(unsigned column) const;
    int HorizontalScrollFor(unsigned column) const;
    long long VerticalTopFor(unsigned row, unsigned block, long long currentTop, int viewHeight) const;
    long long VerticalTopForLine(int gridRow, unsigned block, long long currentTop, int viewHeight) const;
    long long CurrentViewTop(const CellGeometry& cells) const;
    int ViewHeightForScrolling(const CellGeometry& cells) const;
    bool AnnotationLineShown(unsigned index, unsigned block, int& top) const;

    // Annotation rows: their grid rows in a block and their lines in the view and in pictures.
    unsigned AnnotationLineCount() const { return unsigned(annotationRows.size()); }
    unsigned AnnotationsAbove() const;
    int GridRowOfAnnotation(unsigned index) const;
    void PlanAnnotationLines(unsigned firstColumn, unsigned firstIndex, bool freshView, int& y,
                             std::vector<ComposedLine>& lines) const;
    int WidestAnnotationLabel() const;
    bool TopBandVisible(const CellGeometry& cells) const;
    unsigned FirstAnnotationShown(bool firstBlock) const;
    void PaintAnnotationPictureLine(const PicturePlan& plan, const PicturePlan::Line& line, QPainter& painter,
                                    int y) const;

    // Picture steps.
    void PlanPictureSize(PicturePlan& plan, std::size_t rowCount, unsigned columnCount, unsigned blocks,
                         unsigned perBlock, std::int64_t lineCount) const;
    std::int64_t StructureLinesOf(const PicturePlan& plan, const std::vector<unsigned>& rows) const;
    unsigned StructureLinesOfRow(unsigned row) const;
    void PlanPictureAnnotations(PicturePlan& plan, unsigned first, unsigned end, unsigned count,
                                std::int64_t& y) const;
    void PlanPictureBlock(PicturePlan& plan, const std::vector<unsigned>& rows, unsigned first, unsigned end,
                          unsigned count, std::int64_t& y) const;
    void PaintPictureLine(const PicturePlan& plan, const PicturePlan::Line& line, QPainter& painter,
                          int y) const;
    std::vector<std::pair<std::string, std::string>> CartoonLinesOfRow(unsigned row, unsigned firstColumn,
                                                                       unsigned count,
                                                                       bool includeGaps) const;

    // Written by the host through the reference accessors.
    int topScrollValue = 0;
    int leftScrollValue = 0;
    int topDrawnValue = 0;
    int verticalViewScrollValue = 0;

    // Set by the host between Render calls.
    std::vector<AnnotationRow> annotationRows;
    AnnotationPlace annotationPlace = AnnotationPlace::BelowSequences;
    bool annotationsChanged = false;  // forces the next Render through a layout pass
    std::shared_ptr<const std::vector<long long>> rulerNumbers;  // null: counted from the ruler origin

    // Written by every Render call.
    SQV::SVAlignment* svAlignment = nullptr;  // not owned; the host keeps it alive
    RenderAspects aspects;
    bool redrawResidues = false;
    int currentSequenceIndex = -1;

    // Written by the layout pass.
    QFont font;
    SQC::FontAttributes fontAttributes;  // the cell; refers to `font`, declared before it
    unsigned rowCount = 0;
    unsigned maxTotalLength = 0;
    unsigned ssRowCount = 0;
    int residuesPerBlock = 0;
    unsigned blockCount = 0;
    unsigned rowsPerBlock = 0;
    unsigned blocksToRender = 0;
    int lastBlockRows = -1;
    bool layoutFresh = false;
    int horizontalScrollValue = 0;
    int verticalScrollValue = 0;
    int residueBlockHeight = 0;
    int residueBlockWidth = 0;
    std::vector<unsigned> ssRowsPerRow;
    std::vector<std::map<std::string, std::string>> ssStringsPerRow;
    // A nucleic-acid row's structure lines in pairing notation, by (row, key): their brackets, coloured by
    // helix over all columns, for the strips of any block to paint their part of.
    std::map<std::pair<unsigned, std::string>, AnnotationRow> pairingLines;
    std::vector<std::vector<SDM::Residue>> residueTable;
    std::shared_ptr<SSCartoonPainter> cartoonDrawer;  // survives layout passes without a font change

    // Written by the block pass.
    unsigned topResidueIndex = 0;
    int horizontalViewScrollValue = 0;
    int firstRow = -1;
    int lastRow = -1;
    std::uint64_t blockPassCount = 0;

    // The pixmap store: shaped by the layout pass, filled by the block pass.
    std::map<unsigned, SlotVector> residueBlocks;
    std::map<std::string, std::map<unsigned, SlotVector>> cartoonBlocks;
    SlotVector rulerBlocks;
    std::vector<CartoonPlace> shownCartoons;  // cartoon lines drawn by the last block pass
    std::int64_t stripBytes = 0;              // of the residue strips in residueBlocks
    std::int64_t stripBudgetBytes = 0;        // 0: the default of StripBudget()

    // Written by composition; read by hit testing and scrolling.
    std::shared_ptr<QPixmap> alignmentPixmap;
    std::shared_ptr<QPixmap> namePixmap;
    QSize sequenceViewSize{0, 0};
    QSize nameViewSize{0, 0};
    std::map<int, RowLocation> rowLocations;
    int longestLabelWidth = -1;  // of every row's label; measured again after a layout pass or redraw

    friend class RenderSequenceDataTestAccess;  // tests inspect the stores through this
};
