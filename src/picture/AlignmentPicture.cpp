#include "msarender/picture/AlignmentPicture.h"

#include <QFile>
#include <QFontInfo>
#include <QPainter>
#include <algorithm>
#include <climits>

#include "model/AlignmentHelper.h"
#include "msarender/CellGeometry.h"
#include "msarender/picture/AnnotationChoice.h"
#include "msarender/picture/FileOutput.h"
#include "msarender/picture/PngEncoder.h"
#include "msarender/picture/RasterOutput.h"
#include "msarender/picture/RowOrder.h"
#include "msarender/picture/SequenceSelection.h"
#include "msarender/picture/VectorOutput.h"
#include "msarender/tree/Dendrogram.h"
#include "msarender/tree/Newick.h"
#include "msarender/tree/PlannedDendrogram.h"
#include "msarender/tree/TreeBuilding.h"
#include "msarender/tree/TreeOrder.h"

namespace {

const int kLayoutViewColumns = 100;
const int kLayoutViewMaxWidth = 4096;
const int kLayoutViewLines = 4;
// The dendrogram's width, and the white between it and the names, in cells.
const int kTreeCells = 24;
const int kTreeGapCells = 1;

// Render needs a paint device; the picture's font comes with its aspects. One per thread: pictures are
// laid out on several at once, and a device takes one painter at a time.
QImage& LayoutDevice() {
    thread_local QImage device(1, 1, QImage::Format_RGB32);
    return device;
}

std::int64_t TallestBlock(const RenderSequenceData::PicturePlan& plan) {
    std::int64_t tallest = 0;
    for (std::size_t i = 0; i < plan.blockStarts.size(); ++i) {
        if (plan.blockStarts[i] >= plan.lines.size()) break;
        const std::int64_t end =
            i + 1 < plan.blockStarts.size() && plan.blockStarts[i + 1] < plan.lines.size()
                ? plan.lines[plan.blockStarts[i + 1]].top
                : plan.height;
        tallest = std::max(tallest, end - plan.lines[plan.blockStarts[i]].top);
    }
    return tallest;
}

// A page that starts inside a block repeats the block's ruler band, so that its columns stay numbered.
void RepeatRulerBand(const RenderSequenceData::PicturePlan& plan, AlignmentPicture::Page& page) {
    using Line = RenderSequenceData::PicturePlan::Line;
    const auto blockStart = std::find_if(
        plan.blockStarts.rbegin(), plan.blockStarts.rend(),
        [&](std::size_t start) { return start < plan.lines.size() && plan.lines[start].top <= page.top; });
    if (blockStart == plan.blockStarts.rend()) return;
    const Line& first = plan.lines[*blockStart];
    if (first.kind != Line::Kind::RulerBand || first.top == page.top) return;
    page.rulerTop = first.top;
    page.rulerHeight = first.height;
}

// `rows` rows of the plan's width, white, painted by `paint`; null when they cannot be allocated.
QImage WhiteBand(std::int64_t width, int rows, const std::function<void(QPainter&)>& paint) {
    QImage band(int(std::min<std::int64_t>(width, INT_MAX)), rows, QImage::Format_RGB32);
    if (band.isNull()) return band;
    band.fill(Qt::white);
    QPainter painter(&band);
    paint(painter);
    return band;
}

}  // namespace

AlignmentPicture::AlignmentPicture(boost::shared_ptr<SDM::Alignment> model, PictureRequest request)
    : alignment(std::move(model)),
      view(alignment),
      settings(std::move(request.settings)),
      viewGeometry(request.view),
      font(settings.DrawingFont(fontWarning)) {
    renderer.InitializeRendering();
}

AlignmentPicture::~AlignmentPicture() {
    renderer.UninitializeRendering();
}

QString AlignmentPicture::Prepare() {
    if (!fontWarning.isEmpty()) warnings.append(fontWarning);
    if (unsigned(settings.rulerOrigin) > alignment->columnCount() && !settings.rulerByReference)
        warnings.append(
            QStringLiteral("--ruler-origin %1 is beyond the alignment's %2 columns: the ruler shows "
                           "no numbers")
                .arg(settings.rulerOrigin)
                .arg(alignment->columnCount()));
    if (QString error = ApplyModelSettings(); !error.isEmpty()) return error;
    if (QString error = NumberRulerByReference(); !error.isEmpty()) return error;
    SQC::UserPropertiesBase& properties = view.GetUserProperties();
    // The property is the 0-based column numbered 1; the option counts columns from 1.
    properties.SetIntProperty(SQC::UserProperties::RulerDragOffset, settings.rulerOrigin - 1);
    SQC::SetDefaultStructureColours(properties);
    view.Update();
    if (!renderer.Render(&LayoutDevice(), view, Aspects(), false, false))
        return QStringLiteral("nothing to draw: the alignment has no displayed sequences");
    if (viewGeometry) return QString();
    if (QString error = ResolveSelection(); !error.isEmpty()) return error;
    if (QString error = OrderByTree(); !error.isEmpty()) return error;

    std::map<unsigned, std::vector<unsigned>> columnsByRow;
    if (!columns.empty())
        for (unsigned index : sequenceIndexes) columnsByRow[unsigned(rowOfSequence[index])] = columns;
    if (!renderer.PlanPicture(sequenceIndexes, std::move(columnsByRow), settings.includeGaps, plan))
        return QStringLiteral("nothing to draw");
    AddNameGutter(plan, Cells());
    if (QString error = PlanMarks(); !error.isEmpty()) return error;
    PlanDendrogram();
    // Half a cell below each page's last line keeps its names' descenders inside the file.
    pages = PlanPageBreaks(plan, settings.AtScale(settings.pageHeight), Cells().CellHeight() / 2);
    return QString();
}

// Every layout number derives from the cells of the picture's font.
CellGeometry AlignmentPicture::Cells() const {
    return CellGeometry(SQC::FontAttributes(font));
}

QString AlignmentPicture::ApplyModelSettings() {
    bool changed = false;
    if (QString error = ModelSettings(*alignment).Apply(*alignment, settings, changed); !error.isEmpty())
        return error;
    if (settings.byConservation && !ShadedByConservation(*alignment, settings))
        warnings.append(QStringLiteral(
            "--by-conservation: conservation is scored for amino acids only; residues keep their colours"));
    // Rows of one sequence follow the sequences drawn; a bad list is named once the layout is known.
    if (!settings.sequences.isEmpty()) chosenSequences = ResolveSequences(*alignment, settings.sequences);
    AnnotationChoice annotations =
        ChooseAnnotations(*alignment, settings.annotationRows, chosenSequences.indexes);
    if (!settings.includeGaps && !annotations.rows.empty()) {
        // Each row closes up differently: no column of a row of the whole alignment would line up with them.
        warnings.append(QStringLiteral(
            "--no-gaps closes every sequence up on its own, so rows of the whole alignment's columns cannot "
            "line up with them: --annotations is not drawn"));
        annotations.rows.clear();
    }
    renderer.SetAnnotationRows(std::move(annotations.rows));
    warnings += annotations.warnings;
    return QString();
}

RenderSequenceData::RenderAspects AlignmentPicture::Aspects() const {
    const CellGeometry cells = Cells();
    RenderSequenceData::RenderAspects aspects;
    const bool fitToWidth = settings.wrap && settings.residuesPerLine == PictureSettings::kFitToWidth;
    aspects.font = font;
    aspects.wrap = settings.wrap;
    aspects.residuesPerLine = fitToWidth ? 0 : std::max(settings.residuesPerLine, 0);
    // The layout pass composes a view of this size; the picture is planned apart from it, so a view of a few
    // lines is enough and keeps large fonts from composing a huge view.
    const int width = fitToWidth ? int(std::min<std::int64_t>(settings.AtScale(settings.width), INT_MAX))
                                 : std::min(cells.ColumnLeft(kLayoutViewColumns), kLayoutViewMaxWidth);
    aspects.viewRect = QRect(0, 0, std::max(width, cells.CellWidth()), cells.LineTop(kLayoutViewLines));
    aspects.showRuler = settings.showRuler;
    // Without gaps the rows close up differently, so no column number would hold for all of them.
    aspects.showRulerNumbers = settings.showRulerNumbers && settings.includeGaps;
    aspects.showSecondaryStructure = settings.showSecondaryStructure;
    return aspects;
}

QString AlignmentPicture::ResolveSelection() {
    // Each sequence's row from the model's list of displayed sequences: looking each one up would be
    // quadratic.
    rowOfSequence.assign(alignment->size(), -1);
    const std::vector<unsigned>& shown = alignment->displayedIndexes();
    for (unsigned row = 0; row < shown.size(); ++row)
        if (shown[row] < rowOfSequence.size()) rowOfSequence[shown[row]] = int(row);
    if (!settings.sequences.isEmpty()) {
        if (!chosenSequences.error.isEmpty()) return "--sequences: " + chosenSequences.error;
        for (unsigned index : chosenSequences.indexes)
            if (rowOfSequence[index] >= 0) sequenceIndexes.push_back(index);
    } else {
        for (unsigned i = 0; i < alignment->size(); ++i)
            if (rowOfSequence[i] >= 0) sequenceIndexes.push_back(i);
    }
    if (sequenceIndexes.empty()) return QStringLiteral("nothing to draw: every chosen sequence is hidden");
    if (QString error = OrderRows(); !error.isEmpty()) return error;
    if (settings.columns.isEmpty()) return QString();
    const ColumnList chosen = ParseColumns(settings.columns, alignment->columnCount());
    if (!chosen.error.isEmpty()) return "--columns: " + chosen.error;
    columns = chosen.columns;
    return QString();
}

// The model holds the reference the settings name.
int AlignmentPicture::ReferenceIndex() const {
    const boost::shared_ptr<SDM::Sequence> sequence = alignment->getReference();
    for (unsigned index = 0; sequence && index < alignment->size(); ++index)
        if (alignment->getSequence(index) == sequence) return int(index);
    return -1;
}

// Without gaps each row closes up on its own, and the ruler has no numbers to give.
QString AlignmentPicture::NumberRulerByReference() {
    if (!settings.rulerByReference || !settings.includeGaps) return QString();
    if (ReferenceIndex() < 0)
        return QStringLiteral("--ruler-by-reference numbers the residues of the --reference: name one");
    renderer.SetRulerNumbers(RulerNumbersByReference());
    return QString();
}

std::vector<long long> AlignmentPicture::RulerNumbersByReference() const {
    const int reference = ReferenceIndex();
    if (!settings.rulerByReference || !settings.includeGaps || reference < 0) return {};
    return ResidueNumbersByColumn(*alignment->getSequence(unsigned(reference)), alignment->columnCount());
}

// What identity is counted against: the reference, else the consensus of the sequences drawn.
std::string AlignmentPicture::IdentityTarget() const {
    if (const int reference = ReferenceIndex(); reference >= 0)
        return RowOrder::AlignedText(*alignment, unsigned(reference));
    return RowOrder::ConsensusText(*alignment, sequenceIndexes);
}

QString AlignmentPicture::PlanMarks() {
    QString error;
    FigureMarks::Request request = MarksAsked(
        *alignment, settings, [this] { return IdentityTarget(); }, error);
    if (!error.isEmpty()) return error;
    if (!request.residueNumbers && !request.identity && request.highlights.empty()) return QString();
    marks = FigureMarks(*alignment, std::move(request), plan, Cells(), font, warnings);
    return QString();
}

QString AlignmentPicture::OrderRows() {
    if (!settings.sort.isEmpty()) {
        const std::optional<RowOrder::Key> key = RowOrder::KeyNamed(settings.sort);
        if (!key) return "--sort needs " + RowOrder::KeyNames() + ", not '" + settings.sort + "'";
        const std::string target = *key == RowOrder::Key::Identity ? IdentityTarget() : std::string();
        sequenceIndexes = RowOrder::Sorted(*alignment, std::move(sequenceIndexes), *key, target);
    }
    // First, even where `sequences` leaves it out.
    if (const int reference = ReferenceIndex(); reference >= 0 && !settings.referenceInPlace)
        sequenceIndexes = RowOrder::Leading(std::move(sequenceIndexes), unsigned(reference));
    return QString();
}

QSize AlignmentPicture::PageSize(int page) const {
    if (page < 0 || page >= PageCount()) return QSize();
    const Page& p = pages[std::size_t(page)];
    return QSize(int(std::min<std::int64_t>(Width(), INT_MAX)),
                 int(std::min<std::int64_t>(p.OutputHeight(), INT_MAX)));
}

std::int64_t AlignmentPicture::TallestPage() const {
    std::int64_t tallest = 0;
    for (const Page& page : pages) tallest = std::max(tallest, page.OutputHeight());
    return tallest;
}

QString PixelBudgetNote(std::int64_t width, std::int64_t height, std::int64_t maxPixels) {
    const double pixels = double(width) * double(height);
    if (pixels <= double(maxPixels)) return QString();
    return QStringLiteral("the picture would be %1 x %2 pixels (%3 pixels), more than the %4 allowed")
        .arg(width)
        .arg(height)
        .arg(pixels, 0, 'g', 3)
        .arg(double(maxPixels), 0, 'g', 3);
}

// A long name, a huge font or one residue a line can ask for terabytes: refused, with the figures behind it.
QString AlignmentPicture::CheckPixelBudget() const {
    std::int64_t height = 0;
    for (const Page& page : pages) height += page.OutputHeight();
    const QString note = PixelBudgetNote(Width(), height, settings.maxPixels);
    if (note.isEmpty()) return note;
    const CellGeometry cells = Cells();
    return note +
           QStringLiteral(
               ": the name column is %1 pixels wide, the residues %2, in %3 lines of cells %4 x %5 "
               "pixels (--font-size %6 at --scale %7); a smaller --font-size or --scale, a larger "
               "--wrap, --sequences, --columns or --names id make it smaller, --max-pixels allows more")
               .arg(plan.nameWidth)
               .arg(plan.width - plan.nameWidth)
               .arg(plan.lines.size())
               .arg(cells.CellWidth())
               .arg(cells.CellHeight())
               .arg(settings.fontSize)
               .arg(settings.scale);
}

// Pages shorter than a line would each show a part of one: "at most PX" would no longer hold.
QString AlignmentPicture::CheckPageHeight() const {
    if (settings.pageHeight <= 0) return QString();
    using Line = RenderSequenceData::PicturePlan::Line;
    const std::int64_t margin = Cells().CellHeight() / 2;
    std::int64_t tallest = 0;
    std::int64_t tallestBelowBand = 0;  // the tallest line that can start a page under a repeated band
    for (const auto& line : plan.lines) {
        tallest = std::max<std::int64_t>(tallest, line.height);
        if (line.kind != Line::Kind::RulerBand)
            tallestBelowBand = std::max<std::int64_t>(tallestBelowBand, line.height);
    }
    std::int64_t needed = tallest + margin;
    // A block that needs more than one page repeats its ruler band on the next.
    const std::int64_t pageHeight = settings.AtScale(settings.pageHeight);
    if (settings.showRuler && TallestBlock(plan) > pageHeight - margin)
        needed = std::max(needed, Cells().RulerBandHeight() + tallestBelowBand + margin);
    if (pageHeight >= needed) return QString();
    return QStringLiteral(
               "--page-height %1 cannot hold one line of the picture, which takes %2 pixels with the white "
               "below it: give at least %2")
        .arg(settings.pageHeight)
        .arg(settings.AtOneToOne(needed));
}

QString AlignmentPicture::CheckFormatLimits(OutputFormat format) const {
    if (format == OutputFormat::Html) return CheckPageLayout();  // the page never paints the whole picture
    if (QString budget = CheckPixelBudget(); !budget.isEmpty()) return budget;
    if (QString pages = CheckPageHeight(); !pages.isEmpty()) return pages;
    if (IsVectorFormat(format)) return QString();  // shapes and text have no size limit of their own
    const std::int64_t tallest = TallestPage();
    const std::int64_t longest = std::max(Width(), tallest);
    if (format == OutputFormat::Png && longest > kMaxPngSide)
        return QStringLiteral(
                   "the picture is %1 x %2 pixels, more than PNG holds; use --page-height or --wrap")
            .arg(Width())
            .arg(tallest);
    // Other formats are written from one image in memory, which Qt allocates up to 2 GiB.
    const std::int64_t limit = RasterSideLimit(format);
    if (format != OutputFormat::Png &&
        (longest > limit || Width() * tallest * 4 > (std::int64_t(1) << 31) - 1))
        return QStringLiteral(
                   "the picture is %1 x %2 pixels, more than %3 output takes (%4 per side); write a .png, "
                   "or use --page-height or --wrap")
            .arg(Width())
            .arg(tallest)
            .arg(QString::fromLatin1(OutputFormatName(format)).toUpper())
            .arg(limit);
    return QString();
}

QString AlignmentPicture::FormatNote(OutputFormat format) const {
    if (format != OutputFormat::Pdf) return QString();
    const QSize page = VectorPageSize(TallestPage());
    const QString note = PdfPageNote(page.width(), page.height());
    return note.isEmpty() ? note : note + QStringLiteral("; --page-height or --wrap splits it");
}

QImage PaintPictureBand(const RenderSequenceData& renderer, const RenderSequenceData::PicturePlan& plan,
                        std::int64_t top, int rows, std::int64_t linesEnd) {
    return WhiteBand(plan.width, rows,
                     [&](QPainter& painter) { renderer.PaintPicture(plan, painter, top, rows, linesEnd); });
}

QImage AlignmentPicture::PaintBand(const Page& page, int top, int rows) const {
    return WhiteBand(Width(), rows, [&](QPainter& painter) { PaintPageRows(painter, page, top, rows); });
}

// Picture rows [top, top + rows) of every line, the dendrogram and the marks included, as the whole
// picture's width.
QImage AlignmentPicture::PaintLinesBand(const RenderSequenceData::PicturePlan& linesPlan, std::int64_t top,
                                        int rows) const {
    return WhiteBand(Width(), rows,
                     [&](QPainter& painter) { PaintLines(painter, linesPlan, top, rows, 0, INT64_MAX); });
}

// Rows [top, top + rows) of the page, row `top` at the painter's origin: the repeated ruler band, then the
// page's own lines (not the descenders of the page above).
void AlignmentPicture::PaintPageRows(QPainter& painter, const Page& page, std::int64_t top, int rows) const {
    if (top < page.rulerHeight) {
        painter.save();
        painter.translate(treeWidth, double(-top));
        renderer.PaintPicture(plan, painter, page.rulerTop, int(page.rulerHeight),
                              page.rulerTop + page.rulerHeight, page.rulerTop);
        painter.restore();
    }
    const std::int64_t linesFrom = std::max(top, page.rulerHeight);  // the page's row where its lines begin
    const std::int64_t pictureTop = page.top + linesFrom - page.rulerHeight;
    const int pictureRows = rows - int(linesFrom - top);
    painter.save();
    painter.translate(0, double(linesFrom - top));
    PaintLines(painter, plan, pictureTop, pictureRows, page.top, page.top + page.height);
    painter.restore();
}

// Everything drawn of the lines starting in [linesBegin, linesEnd) in picture rows [top, top + rows), row
// `top` at the painter's y = 0: the dendrogram, then the lines, then the marks beside and over them.
void AlignmentPicture::PaintLines(QPainter& painter, const RenderSequenceData::PicturePlan& linesPlan,
                                  std::int64_t top, int rows, std::int64_t linesBegin,
                                  std::int64_t linesEnd) const {
    PaintDendrogram(painter, top, rows, linesBegin, linesEnd);
    painter.save();
    painter.translate(treeWidth, 0);
    renderer.PaintPicture(linesPlan, painter, top, rows, linesEnd, linesBegin);
    marks.Paint(painter, top, rows, linesBegin, linesEnd);
    painter.restore();
}

// The rows follow the tree's leaves; the tree keeps the leaves of the rows drawn.
QString AlignmentPicture::OrderByTree() {
    if (settings.tree.isEmpty()) return QString();
    if (const std::optional<TreeMethod> method = TreeMethodNamed(settings.tree)) {
        tree = BuildTree(*alignment, sequenceIndexes, *method);
    } else {
        NewickResult read = ReadNewickFile(settings.tree);
        if (!read.ok()) return read.error;
        tree = std::move(read.tree);
    }
    TreeRows rows = ::OrderByTree(*alignment, tree, sequenceIndexes);
    if (!rows.warning.isEmpty()) warnings.append(rows.warning);
    sequenceIndexes = std::move(rows.order);
    drawnTree = std::move(rows.tree);
    leafSequences = std::move(rows.leafSequences);
    return QString();
}

// The dendrogram of every block: each leaf at the middle of its row's residue line.
void AlignmentPicture::PlanDendrogram() {
    if (drawnTree.IsEmpty()) return;
    const CellGeometry cells = Cells();
    const int drawnWidth = cells.CellWidth() * kTreeCells;
    treeWidth = drawnWidth + cells.CellWidth() * kTreeGapCells;
    treeLines = PlannedDendrogramLines(plan, drawnTree, leafSequences, cells.CellHeight(), drawnWidth,
                                       settings.cladogram ? TreeStyle::Cladogram : TreeStyle::Phylogram);
}

// The dendrogram's lines in picture rows [top, top + rows), picture row `top` at the painter's y = 0; only
// those of the page's rows [linesBegin, linesEnd).
void AlignmentPicture::PaintDendrogram(QPainter& painter, std::int64_t top, int rows, std::int64_t linesBegin,
                                       std::int64_t linesEnd) const {
    if (rows <= 0) return;
    PaintDendrogramLines(painter, treeLines, top, std::max(top, linesBegin), std::min(top + rows, linesEnd),
                         treeWidth, std::max(1, int(settings.scale)), plan.vectorShapes);
}

QString AlignmentPicture::EncodePage(int page, QIODevice& out, OutputFormat format,
                                     const ProgressReport& progress) {
    if (page < 0 || page >= PageCount())
        return QStringLiteral("the picture has no page %1 (it has %2)").arg(page + 1).arg(PageCount());
    const Page& p = pages[std::size_t(page)];
    if (format == OutputFormat::Html) return EncodeHtml(out);
    if (IsVectorFormat(format)) return EncodeVectorPage(p, out, format);
    plan.vectorShapes = false;  // a vector page written before set it: pixels again
    if (format == OutputFormat::Png) {
        PngEncoding encoding;
        encoding.pixelsPerMetre = PixelsPerMetre();
        return EncodePng(
            out, Width(), p.OutputHeight(), PngBandRows(Width()),
            [&](int top, int rows) {
                QImage band = PaintBand(p, top, rows);
                if (progress) progress({page, PageCount(), top + rows, p.OutputHeight()});
                return band;
            },
            encoding);
    }
    QImage whole = PaintBand(p, 0, int(p.OutputHeight()));
    if (whole.isNull()) return QStringLiteral("not enough memory for a picture of this size; write a .png");
    whole.setDotsPerMeterX(PixelsPerMetre());
    whole.setDotsPerMeterY(PixelsPerMetre());
    return EncodeImage(whole, out, format);
}

QString AlignmentPicture::EncodeVectorPage(const Page& page, QIODevice& out, OutputFormat format) {
    plan.vectorShapes = true;
    const QSize size = VectorPageSize(page.OutputHeight());
    const auto paint = [&](QPainter& painter, int) { PaintVectorPage(painter, page); };
    if (format == OutputFormat::Svg) return EncodeSvg(out, size, paint);
    if (format == OutputFormat::Eps) return EncodeEps(out, size, paint);
    return ::EncodePdf(out, size, 1, paint);
}

QString AlignmentPicture::EncodePdf(QIODevice& out) {
    if (pages.empty()) return QStringLiteral("the picture is not planned");
    plan.vectorShapes = true;
    const QSize size = VectorPageSize(TallestPage());
    return ::EncodePdf(out, size, PageCount(), [&](QPainter& painter, int page) {
        PaintVectorPage(painter, pages.at(std::size_t(page)));
    });
}

// --scale is a density of pixels, which shapes and text have not: vector pages are the picture's size at 1x,
// in 96-dpi pixels.
QSize AlignmentPicture::VectorPageSize(std::int64_t height) const {
    return QSize(int(std::min<std::int64_t>(settings.AtOneToOne(Width()), INT_MAX)),
                 int(std::min<std::int64_t>(settings.AtOneToOne(height), INT_MAX)));
}

void AlignmentPicture::PaintVectorPage(QPainter& painter, const Page& page) const {
    painter.save();
    if (settings.scale > 0) painter.scale(1 / settings.scale, 1 / settings.scale);
    PaintPageRows(painter, page, 0, int(std::min<std::int64_t>(page.OutputHeight(), INT_MAX)));
    painter.restore();
}

// Every page, or none: a picture missing its last pages would pass for a whole one.
QString AlignmentPicture::WriteFiles(const QString& path, OutputFormat format, QStringList& written,
                                     const ProgressReport& progress) {
    const int count = PageCount();
    if (count == 0) return QStringLiteral("the picture is not planned");
    if (format == OutputFormat::Pdf || format == OutputFormat::Html || count == 1) {  // these hold every page
        const QString error = WriteEncoded(path, [&](QIODevice& out) {
            return format == OutputFormat::Pdf ? EncodePdf(out) : EncodePage(0, out, format, progress);
        });
        if (error.isEmpty()) written = QStringList{path};
        return error;
    }
    QStringList paths;
    for (int page = 0; page < count; ++page) paths.append(PagePath(path, page + 1));
    PageFiles files(paths);
    for (int page = 0; page < count; ++page) {
        if (progress) progress({page, count, 0, pages[std::size_t(page)].OutputHeight()});
        const QString error =
            files.Write(page, [&](QIODevice& out) { return EncodePage(page, out, format, progress); });
        if (!error.isEmpty()) return error;
    }
    if (QString error = files.Commit(); !error.isEmpty()) return error;
    written = paths;
    // The pages replace a single picture of the same name, which would otherwise pass for the whole.
    QFile::remove(path);
    return QString();
}

QImage AlignmentPicture::RenderView(QString& error) {
    if (!viewGeometry) {
        error = QStringLiteral("the request asks for the whole picture, not a view");
        return QImage();
    }
    const ViewGeometry& g = *viewGeometry;
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
    if (!viewGeometry) return QString();
    const ViewGeometry& g = *viewGeometry;
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
        AlignmentPicture::Page page{top, 0, margin};
        RepeatRulerBand(plan, page);
        const std::int64_t limit = top + std::max<std::int64_t>(pageHeight - page.rulerHeight, 1);
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
        page.height = end - top;
        pages.push_back(page);
        top = end;
    }
    return pages;
}

PictureFileResult WritePictureFile(boost::shared_ptr<SDM::Alignment> alignment,
                                   const PictureSettings& settings, const QString& path,
                                   std::optional<OutputFormat> format) {
    PictureFileResult result;
    if (!format) format = OutputFormatOfPath(path);
    if (!format) {
        result.error = path + ": unknown image type (use .png, .jpg, .bmp, .ppm, .svg, .pdf, .eps or .html)";
        result.usageError = true;
        return result;
    }
    AlignmentPicture picture(std::move(alignment), PictureRequest{settings, std::nullopt});
    result.error = picture.Prepare();
    result.messages = picture.Warnings();
    if (!result.ok()) return result;
    result.error = picture.CheckFormatLimits(*format);
    result.usageError = !result.ok();
    if (!result.ok()) return result;
    if (const QString note = picture.FormatNote(*format); !note.isEmpty()) result.messages.append(note);
    result.error = picture.WriteFiles(path, *format, result.written);
    return result;
}
