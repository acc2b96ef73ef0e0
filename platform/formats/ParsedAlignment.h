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

/// A line of text per column that belongs to the whole alignment (Stockholm #=GC), or a kind of
/// annotation the readers do not keep (its tag and first line), so that it can be named.
struct ParsedAnnotation {
    std::string tag;
    std::string text;
    long line = 0;
};

/// What every parser produces: the records in file order, the column annotations, and what was read past
/// (line and message).
struct ParsedAlignment {
    std::vector<ParsedRecord> records;
    std::vector<ReadError> warnings;
    std::vector<ParsedAnnotation> columnAnnotations;  // in order of first appearance
    std::vector<ParsedAnnotation> skippedAnnotations;
};

}  // namespace Formats
