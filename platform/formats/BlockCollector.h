#pragma once

#include <map>
#include <string>
#include <string_view>

#include "formats/AlignmentReader.h"
#include "formats/ParsedAlignment.h"

namespace Formats {

/// Gathers the rows of interleaved-block formats (Clustal, Stockholm): a name's chunks are appended in file
/// order, sequences keep the order of their first appearance, and every row of one block must be as wide as
/// the block's first row.
class BlockCollector {
public:
    explicit BlockCollector(ParsedAlignment& out) : out_(out) {}

    /// Adds one row chunk; fails for a bad character, a ragged block or a name seen twice in one block.
    bool addRow(std::string_view name, std::string_view chunk, long line, ReadError& error);
    /// Ends the current block (a blank line in the file).
    void endBlock();
    /// The record for `name`, or null when the name has no sequence row yet.
    ParsedRecord* find(const std::string& name);

private:
    bool checkBlockWidth(const ParsedRecord& record, std::size_t width, long line, ReadError& error);

    ParsedAlignment& out_;                      // not owned; the caller's result
    std::map<std::string, std::size_t> index_;  // name -> record index
    std::map<std::string, long> inBlock_;       // names of the current block -> their line
    std::string blockFirst_;
    std::size_t blockWidth_ = 0;
};

}  // namespace Formats
