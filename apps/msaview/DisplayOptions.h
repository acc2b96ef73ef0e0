#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>

#include "msarender/RenderSequenceData.h"

/// The viewer's display switches, as the View menu sets them.
struct DisplayOptions {
    static constexpr int kFitToWidth = RenderSequenceData::RenderAspects::kFitToWidth;

    bool wrap = true;
    /// Columns per wrapped line: kFitToWidth, or a fixed positive count.
    int residuesPerLine = kFitToWidth;
    bool showRuler = true;
    bool showRulerNumbers = true;
    /// The 1-based column that the ruler numbers 1.
    int rulerOrigin = 1;
    bool showSecondaryStructure = true;
    bool showConsensus = false;
    /// Names as whole title lines (identifier and description) rather than identifiers only.
    bool fullNames = false;
    /// A name that SDM::MakeColorScheme accepts; empty keeps the reader's default scheme.
    QString colorScheme;
    /// Annotation rows by the names ChooseAnnotations takes (consensus, conservation, occupancy, a #=GC
    /// tag, ss), in the order drawn. Names the open file lacks are kept for the next file.
    QStringList annotationRows;

    /// The ruler's number of a 0-based column: 1 at the origin, 0 and below before it.
    int ColumnNumber(int column) const { return column + 2 - std::max(rulerOrigin, 1); }
    /// The 0-based column of a ruler number.
    int ColumnOfNumber(int number) const { return number - 2 + std::max(rulerOrigin, 1); }
};
