#pragma once

#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RandomDraw.h"
#include "msarender/RenderSequenceData.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

namespace reliability {

/// Drives renderers the way a careless host would: random aspects and scroll values, every public call in
/// any order, copies and assignments, and an alignment that changes (and loses rows) between calls. After
/// every step it checks that each answer is in range; gtest failures name the step.
///
/// The host does keep its promise on lifetime: every view it ever rendered stays alive, because renderers
/// remember the last one they were given.
class CarelessHost {
public:
    /// How often the run reached the paths worth reaching, so that a test can show it did.
    struct Coverage {
        long renders = 0;
        long viewsComposed = 0;  // Render returned true with an alignment pixmap
        long hitTests = 0;
        long rowsHit = 0;
        long residuesHit = 0;
        long coordinatesFound = 0;
        long scrollsMoved = 0;
        long exports = 0;
        long exportsDrawn = 0;
        long savablesDrawn = 0;
        long modelChanges = 0;
        long viewsRebuilt = 0;
        long copies = 0;
        void Add(const Coverage& other);
        std::string Summary() const;
    };

    explicit CarelessHost(std::uint32_t seed);
    ~CarelessHost();

    /// Runs `steps` random calls.
    void Run(int steps);
    const Coverage& Seen() const { return seen; }

private:
    void RenderStep();
    void HitTestStep();
    void CoordinateStep();
    void ScrollToStep();
    void SavableStep();
    void ExportStep();
    void LifecycleStep();
    void CopyStep();
    void ScrollValueStep();
    void ModelStep();
    void FontStep();

    void ChangeModel();
    void RefreshView();
    RenderSequenceData& AnyRenderer();
    RenderSequenceData::RenderAspects RandomAspects();
    QRect RandomRect(int typicalWidth, int typicalHeight);
    QPoint RandomPoint(const RenderSequenceData& renderer);
    std::vector<unsigned> RandomIndexes(unsigned typical);
    unsigned AnyColumn();
    unsigned AnySequence();

    void CheckRenderer(const RenderSequenceData& renderer);
    void CheckPixmap(const QPixmap* pixmap, const char* what);
    void CheckSequenceIndex(int sequenceIndex, const char* what);

    RandomDraw draw;
    testsupport::BuiltAlignment alignment;
    std::vector<std::unique_ptr<SQV::SVAlignment>> retiredViews;  // renderers may still refer to them
    std::vector<std::unique_ptr<RenderSequenceData>> renderers;
    std::unique_ptr<renderertest::FakeWidget> widget;
    QImage imageDevice;
    bool renderIntoWidget = true;
    Coverage seen;
};

}  // namespace reliability
