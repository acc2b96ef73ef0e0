#pragma once

#include <QImage>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <vector>

#include "CliOptions.h"
#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

/// The picture of one alignment as the command line asked for it: the whole selection as one image of any
/// size, or, with --page-height, pages of whole blocks (or whole rows) of one width; or the composed view of
/// a host (--view).
class QPainter;

class AlignmentPicture {
public:
    /// Rows of the picture one page shows.
    /// A page holds the picture's lines [top, top + height), then `margin` rows of white in which only the
    /// descenders of its last names are drawn.
    struct Page {
        std::int64_t top = 0;
        std::int64_t height = 0;
        std::int64_t margin = 0;
        std::int64_t OutputHeight() const { return height + margin; }
    };

    AlignmentPicture(boost::shared_ptr<SDM::Alignment> alignment, const CliOptions& options);
    ~AlignmentPicture();

    /// Applies the options to the model, lays the alignment out and plans the picture; an error message,
    /// or empty.
    QString Prepare();
    int PageCount() const { return int(pages.size()); }
    QSize PageSize(int page) const;
    /// Paints one page and writes it to `path` in the format of the options or of its extension (PNG is
    /// painted and encoded band by band); an error message, or empty.
    QString WritePage(int page, const QString& path);
    /// Paints one page and encodes it onto `out` in `format`; an error message, or empty.
    QString EncodePage(int page, QIODevice& out, const QByteArray& format);
    /// Paints every page into one PDF document on `out`, each page as large as the tallest; an error
    /// message, or empty.
    QString EncodePdf(QIODevice& out);
    /// Whether the picture (or a page of it) fits the output format; an error message for the user, or empty.
    QString CheckFormatLimits(const QString& path) const;
    /// Messages for the user that do not stop the picture (a missing font, an option with no effect,
    /// annotations not drawn, unmatched pairs).
    const QStringList& Warnings() const { return warnings; }
    /// Advice for a picture that its format holds but readers may not show whole; empty when none.
    QString FormatNote(const QString& path) const;
    /// The composed view at the --view geometry.
    QImage RenderView(QString& error);
    /// After RenderView: a usage error when the view's scroll position lies past the alignment's end.
    QString CheckViewPosition() const;
    /// The print density the files record.
    int PixelsPerMetre() const;

private:
    QString ApplyModelOptions();
    CellGeometry Cells() const;
    QString ResolveSelection();
    void PlanPages();
    RenderSequenceData::RenderAspects Aspects() const;
    QImage PaintBand(const Page& page, int top, int rows) const;
    QString EncodeVectorPage(const Page& page, QIODevice& out, const QByteArray& format);
    void PaintVectorPage(QPainter& painter, const Page& page) const;

    boost::shared_ptr<SDM::Alignment> alignment;
    SQV::SVAlignment view;
    const CliOptions& options;  // not owned; outlives the picture
    RenderSequenceData renderer;
    std::vector<int> rowOfSequence;         // -1 for a hidden sequence
    std::vector<unsigned> sequenceIndexes;  // what is drawn, in order
    std::vector<unsigned> columns;          // empty: every column
    RenderSequenceData::PicturePlan plan;
    std::vector<Page> pages;
    QStringList warnings;
};

/// A figure keeps one cell of white between the longest name and the residues.
void AddNameGutter(RenderSequenceData::PicturePlan& plan, const CellGeometry& cells);

/// Pages of at most `pageHeight` rows of the planned picture, broken before a block where one fits, else
/// before a row; a row taller than a page gets a page of its own. `pageHeight` 0: one page, the whole.
/// Each page also gets `margin` rows of white below its lines, counted within `pageHeight`.
std::vector<AlignmentPicture::Page> PlanPageBreaks(const RenderSequenceData::PicturePlan& plan,
                                                   std::int64_t pageHeight, std::int64_t margin = 0);
