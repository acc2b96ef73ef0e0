#pragma once

#include <QImage>
#include <functional>
#include <vector>

#include "msarender/RenderSequenceData.h"
#include "msarender/picture/FigureMarks.h"
#include "msarender/tree/PhyloTree.h"

class AlignmentDocument;
class QPainter;

/// The rows and the column range a picture shows: the selection's rows (shown ones, in row order) and the
/// columns from its leftmost to its rightmost selected column.
struct PictureRange {
    std::vector<unsigned> sequenceIndexes;
    unsigned firstColumn = 0;
    unsigned lastColumn = 0;

    bool IsEmpty() const { return sequenceIndexes.empty(); }
    static PictureRange OfSelection(AlignmentDocument& document);
    static PictureRange OfAlignment(AlignmentDocument& document);
};

/// A picture of some rows over a column range, drawn as the view draws them: residues in the colour
/// scheme (never the selection tint), names, the ruler numbered as in the view and secondary structure.
/// It is the renderer's whole-sequence picture with every block narrowed to the range and wrapped as the
/// view wraps.
class SelectionPicture {
public:
    /// Plans the picture, `columnsPerBlock` columns to a block (0: one block); IsValid() is false when
    /// the renderer cannot draw it.
    SelectionPicture(const RenderSequenceData& renderer, const PictureRange& range, unsigned columnsPerBlock);

    /// Adds residue numbers, an identity column and highlights as the library's figures draw them; the
    /// picture widens for them.
    void Mark(const SDM::Alignment& alignment, FigureMarks::Request request, const QFont& font);
    /// Draws `tree` (its leaves the sequences `leafSequences`) left of the names beside every block,
    /// `drawnWidth` pixels from its root to its deepest leaf and a cell before the names; the picture widens
    /// for it.
    void AddTree(const PhyloTree& tree, const std::vector<unsigned>& leafSequences, int drawnWidth);

    bool IsValid() const { return valid; }
    const RenderSequenceData::PicturePlan& Plan() const { return plan; }
    QSize Size() const;
    /// Pixels left of the names, for the tree; 0 without one.
    int TreeWidth() const { return treeWidth; }

    /// Called with the rows done and the total after each band; false stops the painting.
    using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;
    /// The picture on white, painted band by band; null when it is too large or stopped.
    QImage Paint(const Progress& progress = Progress()) const;
    /// Rows [top, top + rows) of the picture on white, as an image of its width.
    QImage PaintBand(int top, int rows) const;
    /// The picture as shapes and text for a vector device, painted block by block (whole lines, so that no
    /// text is kept twice) onto a painter whose origin is the picture's top-left; false when stopped.
    bool PaintShapes(QPainter& painter, const Progress& progress = Progress()) const;

private:
    void NarrowToRange(const RenderSequenceData::PicturePlan& whole, unsigned first, unsigned last,
                       unsigned perBlock);

    const RenderSequenceData& renderer;  // not owned; the view keeps it alive while the picture is used
    RenderSequenceData::PicturePlan plan;
    FigureMarks marks;
    std::vector<QLine> treeLines;  // in the picture's coordinates, every block's
    int treeWidth = 0;
    bool valid = false;
};
