#pragma once

#include <QString>
#include <string>

#include "DisplayOptions.h"

class AlignmentDocument;

/// What the hit tests found under the mouse.
struct HoverTarget {
    int sequenceIndex = -1;
    int row = -1;
    int column = -1;    // alignment column; may be the position just past the last one
    std::string ssKey;  // set on a secondary-structure line
    bool inNames = false;
};

/// The status-bar text for a hover target, e.g. "HBB_HUMAN | column 23 | residue V 15" (the residue's
/// letter and its position in the ungapped sequence), "... | gap", "... | SS: helix (H)" on a
/// secondary-structure line, "column 23" on the ruler; empty over nothing. Columns are numbered as the
/// ruler numbers them.
QString DescribeHover(AlignmentDocument& document, const HoverTarget& target, const DisplayOptions& options);

/// "helix", "sheet", "gap" or "coil" for a secondary-structure letter.
QString StructureName(char letter);
