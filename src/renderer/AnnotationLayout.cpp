// RenderSequenceData's annotation rows: the host's list and the grid rows they take in every block.

#include "msarender/CellGeometry.h"
#include "msarender/RenderSequenceData.h"

void RenderSequenceData::SetAnnotationRows(std::vector<AnnotationRow> rows, AnnotationPlace place) {
    annotationRows = std::move(rows);
    annotationPlace = place;
    annotationsChanged = true;
}

unsigned RenderSequenceData::AnnotationsAbove() const {
    return annotationPlace == AnnotationPlace::AboveSequences ? AnnotationLineCount() : 0;
}

// Grid row inside a block, counted as GridRowOfRow counts: without the ruler the band is not counted.
int RenderSequenceData::GridRowOfAnnotation(unsigned index) const {
    const int band = aspects.showRuler ? int(kRulerBandRows) : 0;
    if (annotationPlace == AnnotationPlace::AboveSequences) return band + int(index);
    return band + int(rowCount + ssRowCount + index);
}
