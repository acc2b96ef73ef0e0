#pragma once

#include <gtest/gtest.h>

#include "renderer/RenderSequenceDataTestAccess.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

namespace renderertest {

/// A renderer drawing for a widget in the test font, with a window into its internals and the cell
/// geometry of that font.
class RendererFixture : public ::testing::Test {
protected:
    bool RenderWith(testsupport::BuiltAlignment& alignment, const RenderSequenceData::RenderAspects& aspects,
                    bool redraw = false, bool keep = false) {
        return renderer.Render(&device, *alignment.view, aspects, redraw, keep);
    }

    CellGeometry cells = TestCells();
    FakeWidget device{testsupport::MonoFont()};
    RenderSequenceData renderer;
    RenderSequenceDataTestAccess access{renderer};
};

}  // namespace renderertest
