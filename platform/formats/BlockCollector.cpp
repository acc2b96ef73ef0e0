#include "formats/BlockCollector.h"

#include "formats/ResidueText.h"

namespace Formats {

ParsedRecord* BlockCollector::find(const std::string& name) {
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &out_.records[it->second];
}

void BlockCollector::endBlock() {
    inBlock_.clear();
    blockFirst_.clear();
    blockWidth_ = 0;
}

bool BlockCollector::checkBlockWidth(const ParsedRecord& record, std::size_t width, long line,
                                     ReadError& error) {
    if (blockFirst_.empty()) {
        blockFirst_ = record.name;
        blockWidth_ = width;
        return true;
    }
    if (width == blockWidth_) return true;
    return Fail(error, line,
                "ragged block: '" + record.name + "' has " + std::to_string(width) +
                    " columns here, expected " + std::to_string(blockWidth_) + " like '" + blockFirst_ + "'");
}

bool BlockCollector::addRow(std::string_view name, std::string_view chunk, long line, ReadError& error) {
    const std::string key(name);
    const auto seen = inBlock_.find(key);
    if (seen != inBlock_.end()) {
        return Fail(error, line,
                    "sequence '" + key + "' appears twice in one block (first at line " +
                        std::to_string(seen->second) + "); expected a blank line between blocks");
    }
    inBlock_[key] = line;
    ParsedRecord* record = find(key);
    if (!record) {
        ParsedRecord fresh;
        fresh.name = key;
        fresh.line = line;
        index_[key] = out_.records.size();
        out_.records.push_back(std::move(fresh));
        record = &out_.records.back();
    }
    const std::size_t before = record->aligned.size();
    if (!AppendResidues(record->aligned, chunk, key, line, error)) return false;
    return checkBlockWidth(*record, record->aligned.size() - before, line, error);
}

}  // namespace Formats
