#include "AlignmentPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <climits>

#include "ImageOutput.h"
#include "SequenceSelection.h"
#include "VectorOutput.h"
#include "msarender/CellGeometry.h"
#include "sdm/schemes/ColorSchemes.h"

namespace {

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
    QGuiApplication::setFont(QFont(options.fontFamily, options.fontSize));
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
    PlanPages();
    return QString();
}

QString AlignmentPicture::ApplyModelOptions() {
    if (!options.scheme.isEmpty())
        alignment->setColorScheme(SDM::MakeColorScheme(options.scheme.toStdString()));
    if (!options.hide.isEmpty()) {
        const SequenceList hidden = ResolveSequences(*alignment, options.hide);
        if (!hidden.error.isEmpty()) return "--hide: " + hidden.error;
        for (unsigned index : hidden.indexes) alignment->getSequence(index)->setDisplayed(false);
    }
    alignment->setShowConsensus(options.consensus);
    return QString();
}

RenderSequenceData::RenderAspects AlignmentPicture::Aspects() const {
    const CellGeometry cells(SQC::FontAttributes(QGuiApplication::font()));
    RenderSequenceData::RenderAspects aspects;
    aspects.wrap = options.wrap >= 0;
    aspects.residuesPerLine = std::max(options.wrap, 0);
    const int width = options.wrap == 0 ? options.width : cells.ColumnLeft(100);
    aspects.viewRect = QRect(0, 0, std::max(width, cells.CellWidth()), cells.LineTop(100));
    aspects.showRuler = options.ruler;
    aspects.showRulerNumbers = options.rulerNumbers;
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

void AlignmentPicture::PlanPages() {
    pages = PlanPageBreaks(plan, options.pageHeight);
}

QSize AlignmentPicture::PageSize(int page) const {
    const Page& p = pages.at(std::size_t(page));
    return QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                 int(std::min<std::int64_t>(p.height, INT_MAX)));
}

QString AlignmentPicture::CheckFormatLimits(const QString& path) const {
    const QByteArray format = OutputFormat(options, path);
    if (IsVectorFormat(format)) return QString();  // shapes and text have no size limit of their own
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.height);
    const std::int64_t longest = std::max(plan.width, tallest);
    if (format == "png" && longest > kMaxPngSide)
        return QStringLiteral(
                   "the picture is %1 x %2 pixels, more than PNG holds; use --page-height or --wrap")
            .arg(plan.width)
            .arg(tallest);
    // Other formats are written from one image in memory, which Qt allocates up to 2 GiB.
    const std::int64_t limit = format == "jpeg" ? 65535 : 32767;
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
    // Acrobat and others refuse pages larger than 200 inches, 14,400 points, a side.
    const std::int64_t limit = 14400;
    if (OutputFormat(options, path) != "pdf") return QString();
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.height);
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
    renderer.PaintPicture(plan, painter, page.top + top, rows);
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
    if (format == "png")
        return EncodePng(out, plan.width, p.height, bandRows,
                         [&](int top, int rows) { return PaintBand(p, top, rows); });
    const QImage whole = PaintBand(p, 0, int(p.height));
    if (whole.isNull()) return QStringLiteral("not enough memory for a picture of this size; write a .png");
    return EncodeImage(whole, out, format);
}

QString AlignmentPicture::EncodeVectorPage(const Page& page, QIODevice& out, const QByteArray& format) {
    plan.vectorShapes = true;
    const QSize size = QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                             int(std::min<std::int64_t>(page.height, INT_MAX)));
    const auto paint = [&](QPainter& painter, int) { PaintVectorPage(painter, page); };
    if (format == "svg") return EncodeSvg(out, size, paint);
    if (format == "eps") return EncodeEps(out, size, paint);
    return ::EncodePdf(out, size, 1, paint);
}

QString AlignmentPicture::EncodePdf(QIODevice& out) {
    plan.vectorShapes = true;
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.height);
    const QSize size = QSize(int(std::min<std::int64_t>(plan.width, INT_MAX)),
                             int(std::min<std::int64_t>(tallest, INT_MAX)));
    return ::EncodePdf(out, size, PageCount(), [&](QPainter& painter, int page) {
        PaintVectorPage(painter, pages.at(std::size_t(page)));
    });
}

void AlignmentPicture::PaintVectorPage(QPainter& painter, const Page& page) const {
    renderer.PaintPicture(plan, painter, page.top, int(std::min<std::int64_t>(page.height, INT_MAX)));
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
    const QImage image = renderer.GetSavablePixmap().toImage();
    if (image.isNull()) error = QStringLiteral("the view could not be composed");
    return image;
}

std::vector<AlignmentPicture::Page> PlanPageBreaks(const RenderSequenceData::PicturePlan& plan,
                                                   std::int64_t pageHeight) {
    if (pageHeight <= 0 || plan.height <= pageHeight) return {{0, plan.height}};
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
        pages.push_back({top, end - top});
        top = end;
    }
    return pages;
}
