#pragma once

#include <map>
#include <vector>

namespace SDM {

/// Selected residues: per sequence index, a set of disjoint column ranges.
class Selection {
public:
    struct Range {
        unsigned first;
        unsigned last;  // inclusive
    };

    /// True when any column of [first, first + count) of the sequence is selected.
    bool isSelected(unsigned first, unsigned count, unsigned sequenceIndex) const;
    /// True when every column of [first, first + count) of the sequence is selected.
    bool isFullySelected(unsigned first, unsigned count, unsigned sequenceIndex) const;
    /// Adds columns [first, last] of the sequence, merging with ranges that touch or overlap.
    void select(unsigned sequenceIndex, unsigned first, unsigned last);
    void deselect(unsigned sequenceIndex, unsigned first, unsigned last);
    void clear() { ranges_.clear(); }
    bool empty() const { return ranges_.empty(); }
    /// The ranges of one sequence in column order; empty when none.
    std::vector<Range> ranges(unsigned sequenceIndex) const;
    /// Every sequence index with a selected column, ascending.
    std::vector<unsigned> sequences() const;

    /// Keep the ranges with their sequences when the alignment inserts or removes one.
    void sequenceInserted(unsigned sequenceIndex);
    void sequenceRemoved(unsigned sequenceIndex);

private:
    std::map<unsigned, std::map<unsigned, unsigned>> ranges_;  // sequence -> first -> last
};

}  // namespace SDM
