#include "sdm/Selection.h"

#include <algorithm>
#include <cstdint>

namespace SDM {

namespace {
using RangeMap = std::map<unsigned, unsigned>;

// The range with the greatest start not above `column`, or end().
RangeMap::const_iterator RangeAtOrBefore(const RangeMap& ranges, unsigned column) {
    auto it = ranges.upper_bound(column);
    if (it == ranges.begin()) return ranges.end();
    return std::prev(it);
}

// Last column of [first, first + count), clamped so that huge counts do not wrap.
unsigned LastColumn(unsigned first, unsigned count) {
    std::uint64_t last = std::uint64_t(first) + count - 1;
    return unsigned(std::min<std::uint64_t>(last, UINT32_MAX));
}
}  // namespace

bool Selection::isSelected(unsigned first, unsigned count, unsigned sequenceIndex) const {
    if (count == 0) return false;
    auto seq = ranges_.find(sequenceIndex);
    if (seq == ranges_.end()) return false;
    // Ranges are disjoint and sorted, so the last one starting at or before the end reaches furthest.
    auto it = RangeAtOrBefore(seq->second, LastColumn(first, count));
    return it != seq->second.end() && it->second >= first;
}

bool Selection::isFullySelected(unsigned first, unsigned count, unsigned sequenceIndex) const {
    if (count == 0) return false;
    auto seq = ranges_.find(sequenceIndex);
    if (seq == ranges_.end()) return false;
    // Touching ranges are merged, so a covered span lies inside one range.
    auto it = RangeAtOrBefore(seq->second, first);
    return it != seq->second.end() && it->second >= LastColumn(first, count);
}

void Selection::select(unsigned sequenceIndex, unsigned first, unsigned last) {
    if (first > last) std::swap(first, last);
    RangeMap& ranges = ranges_[sequenceIndex];
    std::uint64_t newFirst = first;
    std::uint64_t newLast = last;
    // Swallow every range that overlaps or touches [first, last].
    auto it = ranges.upper_bound(last == UINT32_MAX ? last : last + 1);
    while (it != ranges.begin()) {
        auto prev = std::prev(it);
        if (std::uint64_t(prev->second) + 1 < newFirst) break;
        newFirst = std::min<std::uint64_t>(newFirst, prev->first);
        newLast = std::max<std::uint64_t>(newLast, prev->second);
        it = ranges.erase(prev);
    }
    ranges[unsigned(newFirst)] = unsigned(newLast);
}

void Selection::deselect(unsigned sequenceIndex, unsigned first, unsigned last) {
    if (first > last) std::swap(first, last);
    auto seq = ranges_.find(sequenceIndex);
    if (seq == ranges_.end()) return;
    RangeMap& ranges = seq->second;
    RangeMap kept;
    for (const auto& [start, end] : ranges) {
        if (end < first || start > last) {
            kept.emplace(start, end);
            continue;
        }
        if (start < first) kept.emplace(start, first - 1);
        if (end > last) kept.emplace(last + 1, end);
    }
    if (kept.empty()) {
        ranges_.erase(seq);
    } else {
        ranges.swap(kept);
    }
}

std::vector<Selection::Range> Selection::ranges(unsigned sequenceIndex) const {
    std::vector<Range> out;
    auto seq = ranges_.find(sequenceIndex);
    if (seq == ranges_.end()) return out;
    for (const auto& [start, end] : seq->second) out.push_back({start, end});
    return out;
}

std::vector<unsigned> Selection::sequences() const {
    std::vector<unsigned> out;
    for (const auto& entry : ranges_) {
        if (!entry.second.empty()) out.push_back(entry.first);
    }
    return out;
}

void Selection::sequenceInserted(unsigned sequenceIndex) {
    std::map<unsigned, RangeMap> shifted;
    for (auto& [seq, ranges] : ranges_) shifted[seq >= sequenceIndex ? seq + 1 : seq] = std::move(ranges);
    ranges_.swap(shifted);
}

void Selection::sequenceRemoved(unsigned sequenceIndex) {
    std::map<unsigned, RangeMap> shifted;
    for (auto& [seq, ranges] : ranges_) {
        if (seq == sequenceIndex) continue;
        shifted[seq > sequenceIndex ? seq - 1 : seq] = std::move(ranges);
    }
    ranges_.swap(shifted);
}

}  // namespace SDM
