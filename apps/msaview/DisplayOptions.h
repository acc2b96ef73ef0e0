#pragma once

#include <QString>

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
    /// A name that SDM::MakeColorScheme accepts; empty keeps the reader's default scheme.
    QString colorScheme;
};
