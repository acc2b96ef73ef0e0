#pragma once

#include <QImage>
#include <QLine>
#include <QString>
#include <QStringList>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "msarender/CellGeometry.h"
#include "msarender/Export.h"
#include "msarender/RenderSequenceData.h"
#include "msarender/picture/FigureMarks.h"
#include "msarender/picture/HtmlPage.h"
#include "msarender/picture/OutputFormat.h"
#include "msarender/picture/PictureSettings.h"
#include "msarender/picture/SequenceSelection.h"
#include "msarender/tree/PhyloTree.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

class QIODevice;
class QPainter;

/// Where a host's composed view starts and how large it is, in pixels.
struct ViewGeometry {
    int width = 0;
    int height = 0;
    int left = 0;  // horizontal scroll offset
    int top = 0;   // vertical scroll offset
};

/// What to draw: the settings, and either the whole picture (pages of it with a page height) or the
/// composed view of a host at `view`.
struct PictureRequest {
    PictureSettings settings;
    std::optional<ViewGeometry> view;
};

/// The picture of one alignment as a request asks for it: the whole selection as one image of any size, or
/// pages of whole blocks (or whole rows) of one width; or the composed view of a host. Prepare plans it;
/// then its pages are written in any output format, raster pictures band by band.
class MSARENDER_EXPORT AlignmentPicture {
public:
    /// Rows of the picture one page shows.
    /// A page that goes on with a block begun on the page before first repeats that block's ruler band (the
    /// picture's rows [rulerTop, rulerTop + rulerHeight)). Then it holds the picture's lines
    /// [top, top + height), then `margin` rows of white in which only the descenders of its last names are
    /// drawn.
    struct Page {
        std::int64_t top = 0;
        std::int64_t height = 0;
        std::int64_t margin = 0;
        std::int64_t rulerTop = 0;
        std::int64_t rulerHeight = 0;  // 0: no repeated band
        std::int64_t OutputHeight() const { return rulerHeight + height + margin; }
    };
    /// How far writing is: the 0-based page and the count, and the rows painted of that page so far.
    struct Progress {
        int page = 0;
        int pages = 0;
        std::int64_t rowsDone = 0;
        std::int64_t rows = 0;
    };
    /// Told as each page begins and after each band of rows painted.
    using ProgressReport = std::function<void(const Progress& progress)>;
    /// What a pixel of a picture shows: a sequence (its index in the model) and one of its cells.
    struct Cell {
        int sequence = -1;
        int column = -1;  // 0-based alignment column; -1 over the sequence's name
    };

    AlignmentPicture(boost::shared_ptr<SDM::Alignment> alignment, PictureRequest request);
    ~AlignmentPicture();
    AlignmentPicture(const AlignmentPicture&) = delete;
    AlignmentPicture& operator=(const AlignmentPicture&) = delete;

    /// Applies the settings to the model, lays the alignment out and plans the picture; an error message,
    /// or empty.
    QString Prepare();
    int PageCount() const { return int(pages.size()); }
    QSize PageSize(int page) const;
    /// Whether the picture fits the pixel budget of its settings and (or a page of it) the output format; an
    /// error message for the user that says what made it large, or empty.
    QString CheckFormatLimits(OutputFormat format) const;
    /// Advice for a picture that its format holds but readers may not show whole; empty when none.
    QString FormatNote(OutputFormat format) const;
    /// Messages for the user that do not stop the picture (a missing font, a setting with no effect,
    /// annotations not drawn, unmatched pairs).
    const QStringList& Warnings() const { return warnings; }

    /// Paints one page and encodes it onto `out` in `format` (PNG is painted and encoded band by band); an
    /// error message, or empty.
    QString EncodePage(int page, QIODevice& out, OutputFormat format,
                       const ProgressReport& progress = ProgressReport());
    /// Paints every page into one PDF document on `out`, each page as large as the tallest; an error
    /// message, or empty.
    QString EncodePdf(QIODevice& out);
    /// Writes the picture to `path` ("-" = standard output): one file, one PDF of every page, or page files
    /// named by PagePath written all or nothing (which then replace a file named `path`). An existing file
    /// is only ever replaced by a whole one. `written` gets the paths written; an error message, or empty.
    QString WriteFiles(const QString& path, OutputFormat format, QStringList& written,
                       const ProgressReport& progress = ProgressReport());

    /// An error when the planned layout is not one an HTML page shows (whole sequences, one line each).
    QString CheckPageLayout() const;
    /// Writes the planned picture as an interactive HTML page onto `out`; an error message, or empty.
    QString EncodeHtml(QIODevice& out) const;
    /// What the page shows, drawn (see HtmlPageContent); empty lines when it could not be drawn.
    HtmlPageContent PageContent() const;

    /// The sequence and column drawn at pixel (x, y) of a page, as a host's hit test or hover reads them;
    /// nothing over a ruler, an annotation row, white space or a gap the picture closed up.
    std::optional<Cell> CellAt(int page, std::int64_t x, std::int64_t y) const;

    /// The composed view at the request's view geometry.
    QImage RenderView(QString& error);
    /// After RenderView: an error when the view's scroll position lies past the alignment's end.
    QString CheckViewPosition() const;
    /// The tree the settings asked for, read or built, whole (before it was matched to the rows drawn).
    const PhyloTree& Tree() const { return tree; }
    /// What is drawn beside and over the rows (residue numbers, identities, highlights), as planned.
    const FigureMarks& Marks() const { return marks; }
    /// The print density the files record.
    int PixelsPerMetre() const { return settings.PixelsPerMetre(); }

private:
    QString ApplyModelSettings();
    CellGeometry Cells() const;
    QString ResolveSelection();
    int ReferenceIndex() const;
    QString NumberRulerByReference();
    /// The ruler's number of each column when it numbers the reference's residues; empty otherwise.
    std::vector<long long> RulerNumbersByReference() const;
    std::string IdentityTarget() const;
    QString OrderRows();
    QString PlanMarks();
    RenderSequenceData::RenderAspects Aspects() const;
    std::int64_t TallestPage() const;
    QString CheckPixelBudget() const;
    QString CheckPageHeight() const;
    QImage PaintBand(const Page& page, int top, int rows) const;
    void PaintPageRows(QPainter& painter, const Page& page, std::int64_t top, int rows) const;
    QImage PaintLinesBand(const RenderSequenceData::PicturePlan& linesPlan, std::int64_t top, int rows) const;
    void PaintLines(QPainter& painter, const RenderSequenceData::PicturePlan& linesPlan, std::int64_t top,
                    int rows, std::int64_t linesBegin, std::int64_t linesEnd) const;
    QString EncodeVectorPage(const Page& page, QIODevice& out, OutputFormat format);
    int ColumnOfCell(const RenderSequenceData::PicturePlan::Line& line, std::int64_t offset) const;
    QSize VectorPageSize(std::int64_t height) const;
    void PaintVectorPage(QPainter& painter, const Page& page) const;
    QString OrderByTree();
    void PlanDendrogram();
    void PaintDendrogram(QPainter& painter, std::int64_t top, int rows, std::int64_t linesBegin,
                         std::int64_t linesEnd) const;
    std::int64_t Width() const { return plan.width + treeWidth; }

    boost::shared_ptr<SDM::Alignment> alignment;
    SQV::SVAlignment view;
    const PictureSettings settings;
    const std::optional<ViewGeometry> viewGeometry;
    QString fontWarning;  // set with `font`, before it
    const QFont font;
    RenderSequenceData renderer;
    std::vector<int> rowOfSequence;         // -1 for a hidden sequence
    SequenceList chosenSequences;           // the settings' list, resolved; empty without one
    std::vector<unsigned> sequenceIndexes;  // what is drawn, in order
    std::vector<unsigned> columns;          // empty: every column
    RenderSequenceData::PicturePlan plan;
    std::vector<Page> pages;
    FigureMarks marks;  // numbers, identities and highlights beside and over the rows
    QStringList warnings;
    PhyloTree tree;                       // empty without one
    PhyloTree drawnTree;                  // its leaves that name a row drawn, in the rows' order
    std::vector<unsigned> leafSequences;  // the sequence of each leaf of drawnTree
    int treeWidth = 0;                    // the dendrogram's band left of the names, with its gap
    std::vector<QLine> treeLines;         // in the picture's coordinates, every block's
};

/// Rows [top, top + rows) of a planned picture on white, as an opaque image of the picture's width; lines
/// from `linesEnd` on are left out (see RenderSequenceData::PaintPicture). A null image when it cannot be
/// allocated.
MSARENDER_EXPORT QImage PaintPictureBand(const RenderSequenceData& renderer,
                                         const RenderSequenceData::PicturePlan& plan, std::int64_t top,
                                         int rows, std::int64_t linesEnd = INT64_MAX);

/// A figure keeps one cell of white between the longest name and the residues.
MSARENDER_EXPORT void AddNameGutter(RenderSequenceData::PicturePlan& plan, const CellGeometry& cells);

/// Pages of at most `pageHeight` rows of the planned picture, broken before a block where one fits, else
/// before a row; a row taller than a page gets a page of its own. `pageHeight` 0: one page, the whole.
/// Each page also gets `margin` rows of white below its lines, counted within `pageHeight`, and a page
/// that goes on with a block starts with that block's ruler band, also counted.
MSARENDER_EXPORT std::vector<AlignmentPicture::Page> PlanPageBreaks(
    const RenderSequenceData::PicturePlan& plan, std::int64_t pageHeight, std::int64_t margin = 0);

/// "the picture would be W x H pixels (P pixels), more than the B allowed" for a picture beyond a budget of
/// `maxPixels`; empty for one within it.
MSARENDER_EXPORT QString PixelBudgetNote(std::int64_t width, std::int64_t height, std::int64_t maxPixels);

/// What WritePictureFile did: an error (a usage error when the request cannot be drawn in the format as
/// asked), the warnings and notes for the user, and the files written.
struct PictureFileResult {
    QString error;
    bool usageError = false;
    QStringList messages;
    QStringList written;
    bool ok() const { return error.isEmpty(); }
};

/// The whole path from a model to a file in one call: plans the picture of `settings` and writes it to
/// `path` in `format`, or in the format of its suffix.
MSARENDER_EXPORT PictureFileResult WritePictureFile(boost::shared_ptr<SDM::Alignment> alignment,
                                                    const PictureSettings& settings, const QString& path,
                                                    std::optional<OutputFormat> format = std::nullopt);
