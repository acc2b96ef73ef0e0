#include "CarelessHost.h"

#include <gtest/gtest.h>

#include <QFont>
#include <algorithm>
#include <boost/make_shared.hpp>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "RandomAlignment.h"
#include "renderer/PixmapAllocation.h"
#include "renderer/RenderSequenceDataTestAccess.h"
#include "sqv/UserProperties.h"
#include "support/TestFont.h"

namespace reliability {

namespace {

constexpr std::size_t kMostRenderers = 3;

// A host-sized view: up to 60 columns and 40 grid rows of a 10-point cell.
constexpr int kTypicalWidth = 600;
constexpr int kTypicalHeight = 700;

}  // namespace

void CarelessHost::Coverage::Add(const Coverage& other) {
    renders += other.renders;
    viewsComposed += other.viewsComposed;
    hitTests += other.hitTests;
    rowsHit += other.rowsHit;
    residuesHit += other.residuesHit;
    coordinatesFound += other.coordinatesFound;
    scrollsMoved += other.scrollsMoved;
    exports += other.exports;
    exportsDrawn += other.exportsDrawn;
    savablesDrawn += other.savablesDrawn;
    modelChanges += other.modelChanges;
    viewsRebuilt += other.viewsRebuilt;
    copies += other.copies;
}

std::string CarelessHost::Coverage::Summary() const {
    return std::to_string(renders) + " renders (" + std::to_string(viewsComposed) + " composed a view), " +
           std::to_string(hitTests) + " hit tests (" + std::to_string(rowsHit) + " on a row, " +
           std::to_string(residuesHit) + " on a column), " + std::to_string(coordinatesFound) +
           " residue coordinates found, " + std::to_string(scrollsMoved) + " scrolls that moved, " +
           std::to_string(exports) + " exports (" + std::to_string(exportsDrawn) + " drawn), " +
           std::to_string(savablesDrawn) + " savable pixmaps, " + std::to_string(modelChanges) +
           " model changes (" + std::to_string(viewsRebuilt) + " views rebuilt), " + std::to_string(copies) +
           " copies or assignments";
}

CarelessHost::CarelessHost(std::uint32_t seed) : draw(seed), imageDevice(1, 1, QImage::Format_RGB32) {
    alignment = RandomAlignment::Make(draw);
    renderers.push_back(std::make_unique<RenderSequenceData>());
    widget = std::make_unique<renderertest::FakeWidget>(testsupport::MonoFont());
    if (draw.Chance(0.7)) renderers.front()->InitializeRendering();
}

// Renderers go first: they may refer to any of the views.
CarelessHost::~CarelessHost() {
    for (auto& renderer : renderers)
        if (draw.Chance(0.5)) renderer->UninitializeRendering();
    renderers.clear();
}

void CarelessHost::Run(int steps) {
    using Step = void (CarelessHost::*)();
    static const Step kSteps[] = {
        &CarelessHost::RenderStep,    &CarelessHost::RenderStep,  &CarelessHost::RenderStep,
        &CarelessHost::HitTestStep,   &CarelessHost::HitTestStep, &CarelessHost::CoordinateStep,
        &CarelessHost::ScrollToStep,  &CarelessHost::SavableStep, &CarelessHost::ExportStep,
        &CarelessHost::LifecycleStep, &CarelessHost::CopyStep,    &CarelessHost::ScrollValueStep,
        &CarelessHost::ModelStep,     &CarelessHost::FontStep,
    };
    // Replaying a seed with MSARENDER_CARELESS_VERBOSE set shows which step does what and how long it takes.
    const bool verbose = std::getenv("MSARENDER_CARELESS_VERBOSE") != nullptr;
    for (int step = 0; step < steps && !::testing::Test::HasFatalFailure(); ++step) {
        const std::size_t which = std::size_t(draw.Between(0, static_cast<long long>(std::size(kSteps)) - 1));
        SCOPED_TRACE("step " + std::to_string(step) + ", kind " + std::to_string(which));
        const auto start = std::chrono::steady_clock::now();
        (this->*kSteps[which])();
        if (verbose)
            std::fprintf(stderr, "careless host: step %d, kind %zu, %lld ms\n", step, which,
                         (long long)std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count());
        for (const auto& renderer : renderers) CheckRenderer(*renderer);
    }
}

void CarelessHost::RenderStep() {
    RenderSequenceData& renderer = AnyRenderer();
    QPaintDevice* device = renderIntoWidget ? static_cast<QPaintDevice*>(widget.get()) : &imageDevice;
    const RenderSequenceData::RenderAspects aspects = RandomAspects();
    const bool redraw = draw.Chance(0.3);
    const bool keepLayout = draw.Chance(0.3);
    if (std::getenv("MSARENDER_CARELESS_VERBOSE") != nullptr)
        std::fprintf(
            stderr, "careless host: Render view %d,%d %dx%d wrap %d perLine %d offset %d redraw %d keep %d\n",
            aspects.viewRect.x(), aspects.viewRect.y(), aspects.viewRect.width(), aspects.viewRect.height(),
            aspects.wrap, aspects.residuesPerLine, aspects.horizontalOffset, redraw, keepLayout);
    ++seen.renders;
    if (renderer.Render(device, *alignment.view, aspects, redraw, keepLayout) &&
        renderer.GetAlignmentPixmap())
        ++seen.viewsComposed;
}

void CarelessHost::HitTestStep() {
    RenderSequenceData& renderer = AnyRenderer();
    const RenderSequenceDataTestAccess access(renderer);
    for (int i = 0; i < 8; ++i) {
        const QPoint point = RandomPoint(renderer);
        const int row = renderer.GetRowIndex(point);
        ++seen.hitTests;
        seen.rowsHit += row != -1 ? 1 : 0;
        EXPECT_TRUE(row == -1 || (row >= 0 && unsigned(row) < access.RowCount())) << "GetRowIndex " << row;
        CheckSequenceIndex(renderer.GetSequenceIndex(point), "GetSequenceIndex");
        const std::string key = renderer.GetSsKey(point);
        EXPECT_TRUE(key.empty() || RandomAlignment::StructureKeys().count(key)) << "GetSsKey '" << key << "'";
        const int column = renderer.GetResidueIndex(point);
        seen.residuesHit += column != -1 ? 1 : 0;
        EXPECT_GE(column, -1) << "GetResidueIndex";
        int sequenceIndex = -2;
        int residueIndex = -2;
        renderer.GetResidueLocation(point, sequenceIndex, residueIndex);
        CheckSequenceIndex(sequenceIndex, "GetResidueLocation");
        EXPECT_TRUE(residueIndex == -1 ||
                    (residueIndex >= 0 && unsigned(residueIndex) <= access.MaxTotalLength()))
            << "GetResidueLocation column " << residueIndex;
    }
}

void CarelessHost::CoordinateStep() {
    RenderSequenceData& renderer = AnyRenderer();
    const int cellWidth = renderer.CellFont().GetMaxWidth();
    for (int i = 0; i < 6; ++i) {
        const QPoint at = renderer.GetResidueCoordinate(AnyColumn(), AnySequence());
        if (at == QPoint(-1, -1)) continue;
        ++seen.coordinatesFound;
        EXPECT_GE(at.y(), 0) << "GetResidueCoordinate y";
        EXPECT_GE(at.x(), 0) << "GetResidueCoordinate x";
        EXPECT_LE((long long)at.x(), ((long long)renderer.ResiduesPerBlock() + 1) * cellWidth)
            << "GetResidueCoordinate x beyond the block";
    }
}

void CarelessHost::ScrollToStep() {
    RenderSequenceData& renderer = AnyRenderer();
    const RenderSequenceDataTestAccess access(renderer);
    for (int i = 0; i < 6; ++i) {
        const int untouched = draw.HostileInt(5000);
        int x = untouched;
        int y = draw.HostileInt(5000);
        const int yBefore = y;
        renderer.ScrollTo(AnyColumn(), AnySequence(), x, y);
        seen.scrollsMoved += x != untouched || y != yBefore ? 1 : 0;
        EXPECT_TRUE(x == untouched || x >= 0 || x == access.Aspects().horizontalOffset) << "ScrollTo x " << x;
    }
}

void CarelessHost::SavableStep() {
    const QPixmap savable = AnyRenderer().GetSavablePixmap();
    seen.savablesDrawn += savable.isNull() ? 0 : 1;
    CheckPixmap(&savable, "GetSavablePixmap");
}

void CarelessHost::ExportStep() {
    std::map<unsigned, std::vector<unsigned>> columnsByRow;
    if (draw.Chance(0.5)) {
        for (long long i = draw.Between(0, 4); i > 0; --i)
            columnsByRow[unsigned(draw.HostileInt(8))] = RandomIndexes(120);
    }
    const std::unique_ptr<QPixmap> picture(AnyRenderer().CopyImageData(
        RandomIndexes(9), std::move(columnsByRow), draw.Chance(0.5), draw.Chance(0.5)));
    CheckPixmap(picture.get(), "CopyImageData");
    ++seen.exports;
    seen.exportsDrawn += picture ? 1 : 0;
}

void CarelessHost::LifecycleStep() {
    RenderSequenceData& renderer = AnyRenderer();
    if (draw.Chance(0.5))
        renderer.InitializeRendering();
    else
        renderer.UninitializeRendering();
}

void CarelessHost::CopyStep() {
    const std::size_t from = std::size_t(draw.Between(0, static_cast<long long>(renderers.size()) - 1));
    const std::size_t to = std::size_t(draw.Between(0, static_cast<long long>(renderers.size()) - 1));
    ++seen.copies;
    switch (draw.Between(0, 3)) {
        case 0:
            if (renderers.size() < kMostRenderers)
                renderers.push_back(std::make_unique<RenderSequenceData>(*renderers[from]));
            break;
        case 1:
            *renderers[to] = *renderers[from];  // self-assignment included
            break;
        case 2:
            if (renderers.size() > 1)
                renderers.erase(renderers.begin() + std::ptrdiff_t(from));  // without UninitializeRendering
            break;
        default: {
            RenderSequenceData temporary(*renderers[from]);
            temporary.UninitializeRendering();  // must not release what the source still shows
            break;
        }
    }
}

void CarelessHost::ScrollValueStep() {
    RenderSequenceData& renderer = AnyRenderer();
    const int cellHeight = std::max(renderer.CellFont().GetMaxHeight(), 1);
    renderer.TopScrollValue() =
        draw.Chance(0.5) ? int(draw.Between(-5, 60)) * cellHeight : draw.HostileInt(2000);
    renderer.TopDrawnValue() = draw.Chance(0.5) ? renderer.TopScrollValue() : draw.HostileInt(2000);
    renderer.HorizontalViewScrollValue() = draw.HostileInt(100);
    renderer.VerticalViewScrollValue() = draw.HostileInt(100);
    renderer.LeftScrollValue() = draw.HostileInt(1000);
    renderer.NameRect() = RandomRect(200, kTypicalHeight);
}

void CarelessHost::ModelStep() {
    ++seen.modelChanges;
    ChangeModel();
    RefreshView();
}

void CarelessHost::FontStep() {
    renderIntoWidget = draw.Chance(0.8);
    widget->setProperty("font", testsupport::MonoFont(int(draw.OneOf<long long>({1, 6, 10, 10, 24}))));
    if (draw.Chance(0.5)) alignment.properties().SetBoolProperty(SQC::UserProperties::FontChanged, true);
}

// Edits a host makes between renders: rows lost, added, hidden or rewritten, structure replaced by one of
// the wrong length, the selection and the current row moved.
void CarelessHost::ChangeModel() {
    SDM::Alignment& model = *alignment.model;
    const unsigned index = unsigned(draw.Between(0, model.size() + 1));
    const boost::shared_ptr<SDM::Sequence> sequence = model.getSequence(index);
    switch (draw.Between(0, 6)) {
        case 0:
        case 1:
            model.removeSequence(index);
            break;
        case 2:
            model.insertSequence(
                index, boost::make_shared<SDM::AASequence>(
                           "added", RandomAlignment::RandomRow(draw, std::size_t(draw.Between(0, 80)))));
            break;
        case 3:
            if (sequence) sequence->setDisplayed(!sequence->isDisplayed());
            break;
        case 4:
            if (sequence)
                sequence->setAligned(RandomAlignment::RandomRow(draw, std::size_t(draw.Between(0, 120))));
            break;
        case 5:
            if (auto aa = boost::dynamic_pointer_cast<SDM::AASequence>(sequence))
                aa->setSecondaryStructure("SS", boost::make_shared<SDM::SecondaryStructure>(
                                                    draw.Text(std::size_t(draw.Between(0, 100)), "HSC-")));
            break;
        default:
            model.getSelection().select(index, unsigned(draw.HostileInt(100)),
                                        unsigned(draw.HostileInt(100)));
            model.selectionChanged();
            alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, draw.HostileInt(8));
            break;
    }
}

// Hosts refresh their view, build a new one, or forget to do either before the next call.
void CarelessHost::RefreshView() {
    switch (draw.Between(0, 2)) {
        case 0:
            alignment.view->Update();
            break;
        case 1: {
            auto fresh = std::make_unique<SQV::SVAlignment>(alignment.model);
            fresh->GetUserProperties() = alignment.view->GetUserProperties();
            fresh->Update();
            retiredViews.push_back(std::move(alignment.view));
            ++seen.viewsRebuilt;
            alignment.view = std::move(fresh);
            break;
        }
        default:
            break;
    }
}

RenderSequenceData& CarelessHost::AnyRenderer() {
    return *renderers[std::size_t(draw.Between(0, static_cast<long long>(renderers.size()) - 1))];
}

RenderSequenceData::RenderAspects CarelessHost::RandomAspects() {
    RenderSequenceData::RenderAspects aspects;
    aspects.viewRect = RandomRect(kTypicalWidth, kTypicalHeight);
    aspects.nameRect = RandomRect(200, kTypicalHeight);
    aspects.wrap = draw.Chance(0.6);
    aspects.horizontalOffset = draw.HostileInt(400);
    aspects.layoutChanged = draw.Chance(0.5);
    aspects.residuesPerLine = draw.OneOf<int>({-1, 0, int(draw.Between(1, 70)), INT_MAX, 1 << 30, -5});
    aspects.showRuler = draw.Chance(0.7);
    aspects.showRulerNumbers = draw.Chance(0.7);
    aspects.showSecondaryStructure = draw.Chance(0.6);
    return aspects;
}

QRect CarelessHost::RandomRect(int typicalWidth, int typicalHeight) {
    switch (draw.Between(0, 11)) {
        case 0:
            return QRect();
        case 1:
            return QRect(QPoint(typicalWidth, typicalHeight), QPoint(10, 10));  // inverted
        case 2:
            return QRect(0, 0, INT_MAX / 2, INT_MAX / 2);
        case 3:
            return QRect(-typicalWidth, -typicalHeight, int(draw.Between(-50, typicalWidth)),
                         int(draw.Between(-50, typicalHeight)));
        case 4:
            return QRect(0, 0, int(draw.Between(1, 3)), int(draw.Between(1, 3)));  // smaller than one cell
        default:
            return QRect(int(draw.Between(0, 30)), int(draw.Between(0, 30)),
                         int(draw.Between(1, typicalWidth)), int(draw.Between(1, typicalHeight)));
    }
}

// Mostly on lines the last composition recorded, the rest anywhere around the view or far outside it.
QPoint CarelessHost::RandomPoint(const RenderSequenceData& renderer) {
    const QPixmap* view = renderer.GetAlignmentPixmap();
    const int width = view != nullptr ? view->width() : kTypicalWidth;
    const int height = view != nullptr ? view->height() : kTypicalHeight;
    const auto& lines = renderer.RowLocations();
    if (!lines.empty() && draw.Chance(0.5)) {
        auto line = lines.begin();
        std::advance(line, draw.Between(0, static_cast<long long>(lines.size()) - 1));
        const int cellHeight = std::max(renderer.CellFont().GetMaxHeight(), 1);
        return QPoint(int(draw.Between(-5, width + 5)), line->first + int(draw.Between(0, cellHeight - 1)));
    }
    if (draw.Chance(0.8))
        return QPoint(int(draw.Between(-20, width + 20)), int(draw.Between(-20, height + 20)));
    return QPoint(draw.HostileInt(width), draw.HostileInt(height));
}

// Mostly a column or sequence of the model, otherwise anything.
unsigned CarelessHost::AnyColumn() {
    const unsigned columns = alignment.model->columnCount();
    return columns > 0 && draw.Chance(0.7) ? unsigned(draw.Between(0, columns - 1))
                                           : unsigned(draw.HostileInt(120));
}

unsigned CarelessHost::AnySequence() {
    const unsigned sequences = alignment.model->size();
    return sequences > 0 && draw.Chance(0.7) ? unsigned(draw.Between(0, sequences - 1))
                                             : unsigned(draw.HostileInt(9));
}

std::vector<unsigned> CarelessHost::RandomIndexes(unsigned typical) {
    std::vector<unsigned> indexes;
    for (long long i = draw.Between(0, 6); i > 0; --i)
        indexes.push_back(unsigned(draw.HostileInt(int(typical))));
    return indexes;
}

void CarelessHost::CheckRenderer(const RenderSequenceData& renderer) {
    CheckPixmap(renderer.GetAlignmentPixmap(), "GetAlignmentPixmap");
    CheckPixmap(renderer.GetNamePixmap(), "GetNamePixmap");
    EXPECT_GE(renderer.GetHorizontalScrollValue(), 0);
    EXPECT_GE(renderer.GetVerticalScrollValue(), 0);
    EXPECT_GE(renderer.GetSequenceViewSize().width(), 0);
    EXPECT_GE(renderer.GetSequenceViewSize().height(), 0);
}

// Null, or a picture no larger than the renderer's allocation limits.
void CarelessHost::CheckPixmap(const QPixmap* pixmap, const char* what) {
    if (pixmap == nullptr || pixmap->isNull()) return;
    EXPECT_TRUE(PixmapAllocation::IsAllowed(pixmap->width(), pixmap->height()))
        << what << " is " << pixmap->width() << " x " << pixmap->height();
}

// -1, or a sequence of the current model that has a row.
void CarelessHost::CheckSequenceIndex(int sequenceIndex, const char* what) {
    if (sequenceIndex == -1) return;
    ASSERT_GE(sequenceIndex, 0) << what;
    ASSERT_LT(unsigned(sequenceIndex), alignment.model->size()) << what;
    const boost::shared_ptr<SDM::Sequence> sequence = alignment.model->getSequence(unsigned(sequenceIndex));
    EXPECT_TRUE(sequence && sequence->isDisplayed())
        << what << " names sequence " << sequenceIndex << ", which has no row";
}

}  // namespace reliability
