#include "AlignmentPicture.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "AnnotationChoice.h"
#include "ImageOutput.h"
#include "SequenceSelection.h"
#include "VectorOutput.h"
#include "msarender/CellGeometry.h"
#include "sdm/schemes/ColorSchemes.h"

namespace {

const int kLayoutViewColumns = 100;
const int kLayoutViewMaxWidth = 4096;
const int kLayoutViewLines = 4;

// Render needs a paint device; only non-widget devices are used here, so the application font applies.
QImage& LayoutDevice() {
    static QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

}  // namespace

AlignmentPicture::AlignmentPicture(boost::shared_ptr<SDM::Alignment> model, const CliOptions& opts)
    : alignment(std::move(model)), view(alignment), options(opts) {
    renderer.InitializeRendering();
}

AlignmentPicture::~AlignmentPicture() {
    renderer.UninitializeRendering();
}

QString AlignmentPicture::Prepare() {
    const QFont font = PictureFont(options);
    QGuiApplication::setFont(font);
    const QString used = QFontInfo(font).family();
    if (used.compare(options.fontFamily, Qt::CaseInsensitive) != 0)
        warnings.append(
            QStringLiteral("no font named '%1'; drawing with '%2'").arg(options.fontFamily, used));
    if (unsigned(options.rulerOrigin) > alignment->columnCount())
        warnings.append(
            QStringLiteral("--ruler-origin %1 is beyond the alignment's %2 columns: the ruler shows "
                           "no numbers")
                .arg(options.rulerOrigin)
                .arg(alignment->columnCount()));
    if (QString error = ApplyModelOptions(); !error.isEmpty()) return error;
    SQC::UserPropertiesBase& properties = view.GetUserProperties();
    // The property is the 0-based column numbered 1; the option counts columns from 1.
    properties.SetIntProperty(SQC::UserProperties::RulerDragOffset, options.rulerOrigin - 1);
    SQC::SetDefaultStructureColours(properties);
    view.Update();
    if (!renderer.Render(&LayoutDevice(), view, Aspects(), false, false))
        return QStringLiteral("nothing to draw: the alignment has no displayed sequences");
    if (options.view) return QString();
    if (QString error = ResolveSelection(); !error.isEmpty()) return error;

    std::map<unsigned, std::vector<unsigned>> columnsByRow;
    if (!columns.empty())
        for (unsigned index : sequenceIndexes) columnsByRow[unsigned(rowOfSequence[index])] = columns;
    if (!renderer.PlanPicture(sequenceIndexes, std::move(columnsByRow), options.includeGaps, plan))
        return QStringLiteral("nothing to draw");
    AddNameGutter(plan, Cells());
    PlanPages();
    return QString();
}

// The cells of the font Prepare made the application's: every layout number derives from them.
CellGeometry AlignmentPicture::Cells() const {
    return CellGeometry(SQC::FontAttributes(QGuiApplication::font()));
}

QString AlignmentPicture::ApplyModelOptions() {
    alignment->showNames(options.names, options.ranges);
    if (!options.scheme.isEmpty())
        alignment->setColorScheme(SDM::MakeColorScheme(options.scheme.toStdString()));
    if (!options.hide.isEmpty()) {
        const SequenceList hidden = ResolveSequences(*alignment, options.hide);
        if (!hidden.error.isEmpty()) return "--hide: " + hidden.error;
        for (unsigned index : hidden.indexes) alignment->getSequence(index)->setDisplayed(false);
    }
    alignment->setShowConsensus(options.consensus);
    AnnotationChoice annotations = ChooseAnnotations(*alignment, options.annotations);
    renderer.SetAnnotationRows(std::move(annotations.rows));
    warnings += annotations.warnings;
    return QString();
}

RenderSequenceData::RenderAspects AlignmentPicture::Aspects() const {
    const CellGeometry cells = Cells();
    RenderSequenceData::RenderAspects aspects;
    aspects.wrap = options.wrap >= 0;
    aspects.residuesPerLine = std::max(options.wrap, 0);
    // The layout pass composes a view of this size; the picture is planned apart from it, so a view of a few
    // lines is enough and keeps large fonts from composing a huge view.
    const int width = options.wrap == 0 ? options.width
                                        : std::min(cells.ColumnLeft(kLayoutViewColumns), kLayoutViewMaxWidth);
    aspects.viewRect = QRect(0, 0, std::max(width, cells.CellWidth()), cells.LineTop(kLayoutViewLines));
    aspects.showRuler = options.ruler;
    // Without gaps the rows close up differently, so no column number would hold for all of them.
    aspects.showRulerNumbers = options.rulerNumbers && options.includeGaps;
    aspects.showSecondaryStructure = options.secondaryStructure;
    return aspects;
}

QString AlignmentPicture::ResolveSelection() {
    // Each sequence's row from the model's list of displayed sequences: looking each one up would be
    // quadratic.
    rowOfSequence.assign(alignment->size(), -1);
    const std::vector<unsigned>& shown = alignment->displayedIndexes();
    for (unsigned row = 0; row < shown.size(); ++row)
        if (shown[row] < rowOfSequence.size()) rowOfSequence[shown[row]] = int(row);
    if (!options.sequences.isEmpty()) {
        const SequenceList chosen = ResolveSequences(*alignment, options.sequences);
        if (!chosen.error.isEmpty()) return "--sequences: " + chosen.error;
        for (unsigned index : chosen.indexes)
            if (rowOfSequence[index] >= 0) sequenceIndexes.push_back(index);
    } else {
        for (unsigned i = 0; i < alignment->size(); ++i)
            if (rowOfSequence[i] >= 0) sequenceIndexes.push_back(i);
    }
    if (sequenceIndexes.empty()) return QStringLiteral("nothing to draw: every chosen sequence is hidden");
    if (options.columns.isEmpty()) return QString();
    const ColumnList chosen = ParseColumns(options.columns, alignment->columnCount());
    if (!chosen.error.isEmpty()) return "--columns: " + chosen.error;
    columns = chosen.columns;
    return QString();
}

// Half a cell below each page's last line keeps its names' descenders inside the file.
void AlignmentPicture::PlanPages() {
    const CellGeometry cells = Cells();
    pages = PlanPageBreaks(plan, options.pageHeight, cells.CellHeight() / 2);
}

QSize AlignmentPicture::PageSize(int page) const {
    const Page& p = pages.at(std::size_t(page));
    return QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                 int(std::min<std::int64_t>(p.OutputHeight(), INT_MAX)));
}

QString AlignmentPicture::CheckFormatLimits(const QString& path) const {
    const QByteArray format = OutputFormat(options, path);
    if (IsVectorFormat(format)) return QString();  // shapes and text have no size limit of their own
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.OutputHeight());
    const std::int64_t longest = std::max(plan.width, tallest);
    if (format == "png" && longest > kMaxPngSide)
        return QStringLiteral(
                   "the picture is %1 x %2 pixels, more than PNG holds; use --page-height or --wrap")
            .arg(plan.width)
            .arg(tallest);
    // Other formats are written from one image in memory, which Qt allocates up to 2 GiB.
    const std::int64_t limit = RasterSideLimit(format);
    if (format != "png" && (longest > limit || plan.width * tallest * 4 > (std::int64_t(1) << 31) - 1))
        return QStringLiteral(
                   "the picture is %1 x %2 pixels, more than %3 output takes (%4 per side); write a .png, "
                   "or use --page-height or --wrap")
            .arg(plan.width)
            .arg(tallest)
            .arg(QString::fromLatin1(format).toUpper())
            .arg(limit);
    return QString();
}

QString AlignmentPicture::FormatNote(const QString& path) const {
    const std::int64_t limit = kPdfPageLimitPoints;
    if (OutputFormat(options, path) != "pdf") return QString();
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.OutputHeight());
    const double points = 72.0 / VectorResolution();
    if (std::max(plan.width, tallest) * points <= limit) return QString();
    return QStringLiteral(
               "the PDF page is %1 x %2 points, more than many readers show (%3 a side); "
               "--page-height or --wrap splits it")
        .arg(qRound64(plan.width * points))
        .arg(qRound64(tallest * points))
        .arg(limit);
}

QImage AlignmentPicture::PaintBand(const Page& page, int top, int rows) const {
    QImage band(int(plan.width), rows, QImage::Format_RGB32);
    if (band.isNull()) return band;
    band.fill(Qt::white);
    QPainter painter(&band);
    renderer.PaintPicture(plan, painter, page.top + top, rows, page.top + page.height);
    return band;
}

QString AlignmentPicture::WritePage(int page, const QString& path) {
    const QByteArray format = OutputFormat(options, path);
    if (format == "pdf") return WriteEncoded(path, [&](QIODevice& out) { return EncodePdf(out); });
    return WriteEncoded(path, [&](QIODevice& out) { return EncodePage(page, out, format); });
}

QString AlignmentPicture::EncodePage(int page, QIODevice& out, const QByteArray& format) {
    const Page& p = pages.at(std::size_t(page));
    if (IsVectorFormat(format)) return EncodeVectorPage(p, out, format);
    // Bands of about 8 MiB: large enough that painting and encoding overlap well, small enough that memory
    // does not grow with the picture.
    const int bandRows = int(std::clamp<std::int64_t>((std::int64_t(8) << 20) / (plan.width * 4), 16, 1024));
    if (format == "png") {
        PngEncoding encoding;
        encoding.pixelsPerMetre = PixelsPerMetre();
        return EncodePng(
            out, plan.width, p.OutputHeight(), bandRows,
            [&](int top, int rows) { return PaintBand(p, top, rows); }, encoding);
    }
    QImage whole = PaintBand(p, 0, int(p.OutputHeight()));
    if (whole.isNull()) return QStringLiteral("not enough memory for a picture of this size; write a .png");
    whole.setDotsPerMeterX(PixelsPerMetre());
    whole.setDotsPerMeterY(PixelsPerMetre());
    return EncodeImage(whole, out, format);
}

QString AlignmentPicture::EncodeVectorPage(const Page& page, QIODevice& out, const QByteArray& format) {
    plan.vectorShapes = true;
    const QSize size = QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                             int(std::min<std::int64_t>(page.OutputHeight(), INT_MAX)));
    const auto paint = [&](QPainter& painter, int) { PaintVectorPage(painter, page); };
    if (format == "svg") return EncodeSvg(out, size, paint);
    if (format == "eps") return EncodeEps(out, size, paint);
    return ::EncodePdf(out, size, 1, paint);
}

QString AlignmentPicture::EncodePdf(QIODevice& out) {
    plan.vectorShapes = true;
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.OutputHeight());
    const QSize size = QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                             int(std::min<std::int64_t>(tallest, INT_MAX)));
    return ::EncodePdf(out, size, PageCount(), [&](QPainter& painter, int page) {
        PaintVectorPage(painter, pages.at(std::size_t(page)));
    });
}

void AlignmentPicture::PaintVectorPage(QPainter& painter, const Page& page) const {
    renderer.PaintPicture(plan, painter, page.top, int(std::min<std::int64_t>(page.OutputHeight(), INT_MAX)),
                          page.top + page.height);
}

// A picture drawn at --scale N prints at the size of the plain one on a 96 dpi screen.
int AlignmentPicture::PixelsPerMetre() const {
    constexpr double kScreenDotsPerInch = 96;
    constexpr double kMetresPerInch = 0.0254;
    return int(std::lround(kScreenDotsPerInch * options.scale / kMetresPerInch));
}

QImage AlignmentPicture::RenderView(QString& error) {
    const ViewGeometry& g = *options.view;
    RenderSequenceData::RenderAspects aspects = Aspects();
    aspects.viewRect = QRect(0, 0, g.width, g.height);
    aspects.horizontalOffset = g.left;
    renderer.TopScrollValue() = g.top;
    renderer.TopDrawnValue() = g.top;
    if (!renderer.Render(&LayoutDevice(), view, aspects, false, false)) {
        error = QStringLiteral("the view is too small for one cell of the font");
        return QImage();
    }
    const QImage composed = renderer.GetSavablePixmap().toImage();
    if (composed.isNull()) {
        error = QStringLiteral("the view could not be composed");
        return composed;
    }
    // Exactly the window asked for: the composed lines may reach past it or stop short of it.
    QImage image(g.width, g.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, composed);
    return image;
}

QString AlignmentPicture::CheckViewPosition() const {
    const ViewGeometry& g = *options.view;
    const int contentWidth = renderer.GetHorizontalScrollValue();
    const int contentHeight = renderer.GetVerticalScrollValue();
    if (g.left < std::max(contentWidth, 1) && g.top < std::max(contentHeight, 1)) return QString();
    return QStringLiteral(
               "--view +%1+%2 is past the end of the alignment, whose residues cover %3 x %4 pixels")
        .arg(g.left)
        .arg(g.top)
        .arg(contentWidth)
        .arg(contentHeight);
}

void AddNameGutter(RenderSequenceData::PicturePlan& plan, const CellGeometry& cells) {
    if (!plan.namesShown) return;
    plan.nameWidth += cells.CellWidth();
    plan.width += cells.CellWidth();
}

std::vector<AlignmentPicture::Page> PlanPageBreaks(const RenderSequenceData::PicturePlan& plan,
                                                   std::int64_t pageHeight, std::int64_t margin) {
    if (pageHeight <= 0 || plan.height + margin <= pageHeight) return {{0, plan.height, margin}};
    pageHeight = std::max<std::int64_t>(pageHeight - margin, 1);
    std::vector<std::int64_t> blockTops;
    for (std::size_t start : plan.blockStarts)
        if (start < plan.lines.size()) blockTops.push_back(plan.lines[start].top);
    std::vector<AlignmentPicture::Page> pages;
    std::int64_t top = 0;
    while (top < plan.height) {
        const std::int64_t limit = top + pageHeight;
        std::int64_t end = plan.height <= limit ? plan.height : top;
        // The last block start within the page, else the last row start within it.
        for (std::int64_t blockTop : blockTops)
            if (blockTop > top && blockTop <= limit && end < plan.height) end = std::max(end, blockTop);
        if (end == top)
            for (const auto& line : plan.lines)
                if (line.top > top && line.top <= limit) end = std::max(end, line.top);
        if (end == top) {  // one item taller than a page: it gets a page of its own
            const auto next = std::find_if(plan.lines.begin(), plan.lines.end(),
                                           [top](const auto& line) { return line.top > top; });
            end = next == plan.lines.end() ? plan.height : next->top;
        }
        pages.push_back({top, end - top, margin});
        top = end;
    }
    return pages;
}
