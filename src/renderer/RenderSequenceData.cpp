// RenderSequenceData: construction, copying, the host's lifecycle calls and size accessors.

#include "msarender/RenderSequenceData.h"

#include "tracks/SSCartoonPainter.h"

RenderSequenceData::RenderSequenceData() : fontAttributes(font) {}

// Member-wise: the stores, the composed pixmaps and the cartoon drawer are shared with `other`, and each
// object keeps them alive for as long as it refers to them.
RenderSequenceData::RenderSequenceData(const RenderSequenceData& other) = default;

RenderSequenceData& RenderSequenceData::operator=(const RenderSequenceData& other) = default;

// Releases the drawer and every pixmap this object still refers to, also when the host skipped
// UninitializeRendering; copies that share them keep theirs.
RenderSequenceData::~RenderSequenceData() {
    cartoonDrawer.reset();
    FreePixmaps();
}

void RenderSequenceData::InitializeRendering() {
    FreePixmaps();
}

void RenderSequenceData::UninitializeRendering() {
    FreePixmaps();
}

void RenderSequenceData::GetSize(int& width, int& height) const {
    width = nameViewSize.width() + sequenceViewSize.width();
    height = sequenceViewSize.height();
}
