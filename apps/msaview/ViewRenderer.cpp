#include "ViewRenderer.h"

#include <algorithm>
#include <cstdint>

#include "AlignmentDocument.h"
#include "msarender/CellGeometry.h"
#include "msarender/picture/AnnotationChoice.h"
#include "msarender/picture/FigureMarks.h"
#include "sqv/UserProperties.h"

ViewRenderer::ViewRenderer() : renderer(std::make_unique<RenderSequenceData>()) {
    renderer->InitializeRendering();
}

ViewRenderer::~ViewRenderer() {
    renderer->UninitializeRendering();
}

void ViewRenderer::Restart() {
    renderer->UninitializeRendering();
    renderer = std::make_unique<RenderSequenceData>();
    renderer->InitializeRendering();
    hasLayout = false;
    appliedAnnotationRows.reset();
}

namespace {

// The view marks the selection itself, with a light tint and a frame over the scheme's colours; the
// renderer's own highlight (dark blue, bold names) would hide the scheme under a large selection. The
// selection is set aside while the renderer composes, and put back, with the model's revision untouched.
class SelectionSetAside {
public:
    explicit SelectionSetAside(SDM::Alignment& model) : selection(model.getSelection()) {
        std::swap(selection, kept);
    }
    ~SelectionSetAside() { std::swap(selection, kept); }
    SelectionSetAside(const SelectionSetAside&) = delete;
    SelectionSetAside& operator=(const SelectionSetAside&) = delete;

private:
    SDM::Selection& selection;  // not owned; the model's, which outlives the composition
    SDM::Selection kept;
};

}  // namespace

bool ViewRenderer::Render(QPaintDevice& device, AlignmentDocument& document, const DisplayOptions& options,
                          const ViewGeometry& geometry, Change change) {
    const SelectionSetAside unselected(document.Model());
    // The model's colours first: the logo's letters take them.
    modelChanged = document.ApplyOptions(options);
    const bool rowsChanged = ApplyAnnotationRows(document, options.annotationRows, modelChanged);
    ApplyRulerNumbers(document, options);
    if (modelChanged || rowsChanged || !hasLayout) change = std::max(change, Change::Layout);
    SQC::UserPropertiesBase& properties = document.Properties();
    if (change == Change::Font) properties.SetBoolProperty(SQC::UserProperties::FontChanged, true);

    const RenderSequenceData::RenderAspects aspects =
        MakeAspects(options, geometry, change >= Change::Layout);
    renderer->TopScrollValue() = geometry.scrollY;
    renderer->TopDrawnValue() = geometry.scrollY;
    // The strips never show the selection (see SelectionSetAside): a new one only needs the view's marks.
    const bool keepLayout = change <= Change::Selection;

    // The view marks the current row itself: the renderer's mark (an underline through the descenders)
    // would also freeze its composed view, so the renderer never hears of the current row.
    properties.SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
    hasLayout = renderer->Render(&device, document.View(), aspects, /*redrawResidues*/ false, keepLayout);
    return hasLayout;
}

// The ruler numbers the reference's residues while asked and there is one; its numbers are worked out
// again only when the reference, its name (its /start-end) or the file changes: the cached bands are then
// drawn again.
void ViewRenderer::ApplyRulerNumbers(AlignmentDocument& document, const DisplayOptions& options) {
    const boost::shared_ptr<SDM::Sequence> reference = document.Model().getReference();
    const unsigned columns = document.Model().columnCount();
    const std::string numbering = options.rulerByReference && reference
                                      ? reference->getDefline() + '/' + std::to_string(columns) + '/' +
                                            std::to_string(std::uintptr_t(reference.get()))
                                      : std::string();
    if (numbering == rulerNumbering) return;
    rulerNumbering = numbering;
    renderer->SetRulerNumbers(numbering.empty() ? std::vector<long long>()
                                                : ResidueNumbersByColumn(*reference, columns));
}

// Names the file lacks make no row; the command's warnings about them are of no use here.
// The rows describe the sequences shown: made again when the user hides or shows some.
bool ViewRenderer::ApplyAnnotationRows(const AlignmentDocument& document, const QStringList& names,
                                       bool modelChanged) {
    const std::vector<unsigned>& shown = document.Model().displayedIndexes();
    if (appliedAnnotationRows == names && (names.isEmpty() || (appliedForRows == shown && !modelChanged)))
        return false;
    renderer->SetAnnotationRows(ChooseAnnotations(document.Model(), names).rows);
    appliedAnnotationRows = names;
    appliedForRows = shown;
    return true;
}

RenderSequenceData::RenderAspects ViewRenderer::MakeAspects(const DisplayOptions& options,
                                                            const ViewGeometry& geometry,
                                                            bool layoutChanged) {
    RenderSequenceData::RenderAspects aspects;
    aspects.viewRect = QRect(QPoint(0, 0), geometry.sequenceArea);
    aspects.nameRect = QRect(0, 0, geometry.nameWidth, geometry.sequenceArea.height());
    aspects.wrap = options.wrap;
    aspects.horizontalOffset = geometry.scrollX;
    aspects.layoutChanged = layoutChanged;
    aspects.residuesPerLine =
        options.residuesPerLine > 0 ? options.residuesPerLine : DisplayOptions::kFitToWidth;
    aspects.showRuler = options.showRuler;
    aspects.showRulerNumbers = options.showRulerNumbers;
    aspects.showSecondaryStructure = options.showSecondaryStructure;
    return aspects;
}

int ViewRenderer::CellWidth() const {
    return std::max(renderer->CellFont().GetMaxWidth(), 1);
}

int ViewRenderer::CellHeight() const {
    return std::max(renderer->CellFont().GetMaxHeight(), 1);
}

int ViewRenderer::SnapVertical(int y, bool showRuler) const {
    const CellGeometry cells(CellWidth(), CellHeight());
    int gridRow = cells.LinesIn(y);
    // The lower line of a ruler band snaps to the band's top.
    if (showRuler && cells.GridRowInBlock(y, renderer->RowsPerBlock()) == kRulerBandRows - 1) --gridRow;
    // A secondary-structure line snaps to its row's residue line, where the renderer starts the view.
    return renderer->ViewTopFor(cells.LineTop(gridRow));
}

int ViewRenderer::SnapHorizontal(int x) const {
    const CellGeometry cells(CellWidth(), CellHeight());
    return cells.ColumnLeft(cells.ColumnsIn(x));
}
