#include "AlignmentPicture.h"

#include <QGuiApplication>
#include <algorithm>

#include "SequenceSelection.h"
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
    if (QString error = ResolveSelection(); !error.isEmpty()) return error;
    return PlanPages();
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
    const SQC::FontAttributes cell(QGuiApplication::font());
    RenderSequenceData::RenderAspects aspects;
    aspects.wrap = options.wrap >= 0;
    aspects.residuesPerLine = std::max(options.wrap, 0);
    const int width = options.wrap == 0 ? options.width : 100 * cell.GetMaxWidth();
    aspects.viewRect = QRect(0, 0, std::max(width, cell.GetMaxWidth()), 100 * cell.GetMaxHeight());
    aspects.showRuler = options.ruler;
    aspects.showRulerNumbers = options.rulerNumbers;
    aspects.showSecondaryStructure = options.secondaryStructure;
    return aspects;
}

QString AlignmentPicture::ResolveSelection() {
    if (!options.sequences.isEmpty()) {
        const SequenceList chosen = ResolveSequences(*alignment, options.sequences);
        if (!chosen.error.isEmpty()) return "--sequences: " + chosen.error;
        sequenceIndexes = chosen.indexes;
    } else {
        for (unsigned i = 0; i < alignment->size(); ++i)
            if (RowOfSequence(i) >= 0) sequenceIndexes.push_back(i);
    }
    sequenceIndexes.erase(std::remove_if(sequenceIndexes.begin(), sequenceIndexes.end(),
                                         [this](unsigned i) { return RowOfSequence(i) < 0; }),
                          sequenceIndexes.end());
    if (sequenceIndexes.empty()) return QStringLiteral("nothing to draw: every chosen sequence is hidden");
    if (options.columns.isEmpty()) return QString();
    const ColumnList chosen = ParseColumns(options.columns, alignment->columnCount());
    if (!chosen.error.isEmpty()) return "--columns: " + chosen.error;
    columns = chosen.columns;
    return QString();
}

int AlignmentPicture::RowOfSequence(unsigned sequenceIndex) const {
    int row = 0;
    for (unsigned i = 0; i < alignment->size(); ++i) {
        const boost::shared_ptr<SDM::Sequence> sequence = alignment->getSequence(i);
        if (!sequence || !sequence->isDisplayed()) continue;
        if (i == sequenceIndex) return row;
        ++row;
    }
    return -1;
}

// Grid rows one sequence takes in the export: its residue line and, for whole sequences, its visible
// secondary-structure lines.
int AlignmentPicture::LinesOfSequence(unsigned sequenceIndex) const {
    int lines = 1;
    if (!options.secondaryStructure || !columns.empty() || !alignment->IsSecondaryStructureShown())
        return lines;
    const auto aa = boost::dynamic_pointer_cast<SDM::AASequence>(alignment->getSequence(sequenceIndex));
    if (!aa) return lines;
    const unsigned row = unsigned(RowOfSequence(sequenceIndex));
    for (const auto& [key, structure] : aa->getSecondaryStructure())
        if (structure && alignment->IsSecondaryStructureVisible(key) && !view.GetAlignedSS(key, row).empty())
            ++lines;
    return lines;
}

unsigned AlignmentPicture::ExportBlocks() const {
    if (options.wrap < 0) return 1;
    const unsigned perBlock = std::max(renderer.ResiduesPerBlock(), 1u);
    const unsigned count = columns.empty() ? alignment->columnCount() : unsigned(columns.size());
    return std::max(1u, (count + perBlock - 1) / perBlock);
}

QString AlignmentPicture::PlanPages() {
    const SQC::FontAttributes& cell = renderer.CellFont();
    const long long h = cell.GetMaxHeight();
    const unsigned count = columns.empty() ? alignment->columnCount() : unsigned(columns.size());
    const unsigned perLine = options.wrap < 0 ? count : std::min(count, renderer.ResiduesPerBlock());
    if (static_cast<long long>(perLine) * cell.GetMaxWidth() > kMaxSide)
        return QStringLiteral("the picture would be wider than %1 pixels; wrap it with --wrap N")
            .arg(kMaxSide);

    // Keep the page within the renderer's pixel budget too; the name column is estimated generously.
    const long long width = (static_cast<long long>(perLine) + 60) * cell.GetMaxWidth();
    const long long maxHeight = std::min<long long>(kMaxSide, kMaxPixels / width);
    const long long blocks = ExportBlocks();
    const long long band = options.ruler ? 2 : 0;
    pages.clear();
    long long lines = 0;
    for (unsigned index : sequenceIndexes) {
        const long long own = LinesOfSequence(index);
        if (blocks * (own + band) * h > maxHeight)
            return QStringLiteral("one sequence is taller than %1 pixels; use a larger --wrap")
                .arg(maxHeight);
        if (pages.empty() || blocks * (lines + own + band) * h > maxHeight) {
            pages.emplace_back();
            lines = 0;
        }
        pages.back().push_back(index);
        lines += own;
    }
    return QString();
}

QImage AlignmentPicture::RenderPage(int page, QString& error) {
    std::vector<unsigned> chosen = pages.at(size_t(page));
    std::map<unsigned, std::vector<unsigned>> columnsByRow;
    if (!columns.empty())
        for (unsigned index : chosen) columnsByRow[unsigned(RowOfSequence(index))] = columns;
    std::unique_ptr<QPixmap> picture(
        renderer.CopyImageData(std::move(chosen), std::move(columnsByRow), false, options.includeGaps));
    if (!picture || picture->isNull()) {
        error = QStringLiteral("the image could not be drawn (too large for memory?)");
        return QImage();
    }
    return picture->toImage();
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
