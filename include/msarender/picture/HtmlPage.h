#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "msarender/Export.h"

/// What an interactive page of an alignment shows, drawn by the picture library: the names column and the
/// track strips (ruler, annotation rows, secondary-structure lines) as pixels, and the residue lines as one
/// glyph index per cell into an atlas of every distinct cell the alignment has. The page's script composes a
/// view from them the way the renderer composes one, so its pixels are those of the command's --view.
struct HtmlPageContent {
    /// A row shown: its residue line's top in the layout, the identifier and description for hover,
    /// find by name and copy.
    struct Sequence {
        std::int64_t top = 0;
        QString name;
        QString description;
        long long firstResidue = 1;  // the number of its first residue, and the step to the next one
        int residueStep = 1;
        std::vector<long long> residuesBefore;  // its residues left of each run of columns (see runStarts)
    };
    /// A line drawn as pixels: pieces of at most kPieceSide pixels wide, left to right.
    struct Strip {
        std::int64_t top = 0;
        int height = 0;
        std::vector<QImage> pieces;
    };
    /// Lines and strips that start where the view may be scrolled to: rows, annotation lines, bands, the
    /// label lines above highlighted rows.
    struct Line {
        std::int64_t top = 0;
        int height = 0;
    };
    /// A residue line: the sequence (index into `sequences`) and the columns [first, end) it shows, all of
    /// them unless the layout is wrapped.
    struct RowLine {
        std::int64_t top = 0;
        int sequence = 0;
        int first = 0;
        int end = 0;
    };
    /// A block of lines (one for the whole alignment unless wrapped): its top and its columns [first, end).
    struct Block {
        std::int64_t top = 0;
        int first = 0;
        int end = 0;
    };
    static constexpr int kPieceSide = 8192;

    QString title;
    int cellWidth = 0;
    int cellHeight = 0;
    int nameWidth = 0;   // the fixed column left of the residues: the tree, the names, their numbers
    int rightWidth = 0;  // the fixed column right of them: line-end numbers, identities; 0 for none
    int columns = 0;     // the alignment's, or those chosen
    /// Where each run of consecutive alignment columns starts among the page's: {0}, unless columns were
    /// chosen. A residue's number counts on from its sequence's residuesBefore of the run.
    std::vector<int> runStarts{0};
    int lineColumns = 0;        // of the widest block: the residue area's width in cells
    int firstColumnNumber = 1;  // the ruler's number of column 0
    /// The ruler's number of each column when it does not count from firstColumnNumber (it numbers a
    /// reference's residues); RenderSequenceData::kNoRulerNumber where it gives a column none. Empty
    /// otherwise.
    std::vector<long long> columnNumbers;
    std::int64_t height = 0;  // of the whole layout
    std::vector<Line> lines;  // top to bottom; a row's line holds its secondary-structure lines
    std::vector<Sequence> sequences;
    std::vector<RowLine> rowLines;  // top to bottom
    std::vector<Block> blocks;      // top to bottom
    std::vector<Strip> strips;
    std::vector<QImage> namePieces;   // the names column, pieces of kPieceSide rows top to bottom
    std::vector<QImage> rightPieces;  // the right-hand column likewise; none when rightWidth is 0
    /// When the blocks are alike (wrapped, no per-line numbers), the fixed columns show the same beside each:
    /// their pieces then hold one block's rows, repeated every columnPeriod rows. 0: the whole height.
    std::int64_t columnPeriod = 0;
    QImage glyphs;  // the distinct cells, kGlyphsPerRow a row
    static constexpr int kGlyphsPerRow = 64;
    QByteArray glyphResidues;  // the residue each glyph shows
    int bytesPerCell = 1;      // 1, or 2 (little endian) beyond 256 glyphs
    QByteArray cells;          // glyph index of each cell, row after row
};

/// Writes `content` as one self-contained HTML page onto `out`: the script, the styles and the data inside,
/// nothing fetched. Text from the alignment is data the script inserts as text. An error message, or empty.
MSARENDER_EXPORT QString EncodeHtmlPage(const HtmlPageContent& content, QIODevice& out);
