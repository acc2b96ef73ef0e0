#include "sdm/schemes/ColumnProfile.h"

#include <algorithm>
#include <cctype>

#include "sdm/Alignment.h"

namespace SDM {

namespace {
int LetterIndex(char c) {
    const int upper = std::toupper(static_cast<unsigned char>(c));
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
}
}  // namespace

void ColumnProfile::build(const Alignment& alignment) {
    counts_.assign(alignment.columnCount(), {});
    rows_ = 0;
    for (unsigned i = 0; i < alignment.size(); ++i) {
        const boost::shared_ptr<Sequence> sequence = alignment.getSequence(i);
        if (!sequence || sequence->isTransient()) continue;
        addRow(sequence->getAligned());
    }
}

void ColumnProfile::build(const std::vector<std::string>& rows) {
    std::size_t columns = 0;
    for (const std::string& row : rows) columns = std::max(columns, row.size());
    counts_.assign(columns, {});
    rows_ = 0;
    for (const std::string& row : rows) addRow(row);
}

void ColumnProfile::addRow(const std::string& aligned) {
    ++rows_;
    const std::size_t width = std::min(aligned.size(), counts_.size());
    for (std::size_t column = 0; column < width; ++column) {
        const int letter = LetterIndex(aligned[column]);
        if (letter >= 0) ++counts_[column][letter];
    }
}

unsigned ColumnProfile::count(unsigned column, char letter) const {
    const int index = LetterIndex(letter);
    if (column >= counts_.size() || index < 0) return 0;
    return counts_[column][index];
}

char ColumnProfile::mostFrequent(unsigned column) const {
    if (column >= counts_.size()) return 0;
    const auto& counts = counts_[column];
    int best = -1;
    for (int i = 0; i < 26; ++i) {
        if (counts[i] > 0 && (best < 0 || counts[i] > counts[best])) best = i;
    }
    return best < 0 ? 0 : char('A' + best);
}

}  // namespace SDM
