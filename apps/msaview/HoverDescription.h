#pragma once

#include <QString>
#include <string>

#include "DisplayOptions.h"
#include "msarender/AnnotationRow.h"

class AlignmentDocument;

/// What the hit tests found under the mouse.
struct HoverTarget {
    int sequenceIndex = -1;
    int row = -1;
    int column = -1;    // alignment column; may be the position just past the last one
    std::string ssKey;  // set on a secondary-structure line
    /// The annotation row under the point, or null; it belongs to the renderer, which outlives the target.
    const AnnotationRow* annotation = nullptr;
    bool inNames = false;
};

/// The status-bar text for a hover target, e.g. "HBB_HUMAN | column 23 | residue V 15" (the residue's
/// letter and its number in the sequence's own coordinates: from the start of a "/start-end" range ending
/// its name, else from 1) and, while residues are compared with a reference, "| 87% identical to REF"
/// (RowOrder::Identity), "... | gap", "... | SS: helix (H)" on a
/// secondary-structure line ("SS: paired with column 40 (()" on an RNA's), "Occupancy | column 23 | 87%" on
/// an annotation row (its symbol and bar height where it has them), "column 23" on the ruler; empty over
/// nothing. Columns are numbered as the ruler numbers them.
QString DescribeHover(AlignmentDocument& document, const HoverTarget& target, const DisplayOptions& options);

/// "helix", "sheet", "gap" or "coil" for a secondary-structure letter.
QString StructureName(char letter);
