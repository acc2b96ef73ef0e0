#pragma once

#include <map>
#include <string>
#include <vector>

#include "formats/AlignmentReader.h"

namespace Formats {

/// One sequence as a parser found it, before it becomes a model object.
struct ParsedRecord {
    std::string name;
    std::string description;  // the rest of the title line, kept apart from the name
    std::string aligned;      // gapped text, one character per column
    long line = 0;            // where the sequence starts, for errors
    /// Structure key -> DSSP letters, one per column (Stockholm #=GR rows).
    std::map<std::string, std::string> structures;
    std::map<std::string, long> structureLines;
};

/// What every parser produces: the records in file order, and what was read past (line and message).
struct ParsedAlignment {
    std::vector<ParsedRecord> records;
    std::vector<ReadError> warnings;
};

}  // namespace Formats
