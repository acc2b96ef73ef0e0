#include "sdm/annotations/ColumnQuality.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>

#include "sdm/annotations/ColumnOccupancy.h"

namespace SDM {

namespace {

// BLOSUM62 over Jalview's symbols; '*' (the last) is scored but never summed over, as Jalview does.
constexpr const char* kSymbols = "ARNDCQEGHILKMFPSTWYVBZX*";
constexpr int kSymbolCount = 24;
constexpr int kSummed = kSymbolCount - 1;
constexpr int kGap = -1;
constexpr double kLowestScore = -4;
constexpr double kOffset = 4;  // Jalview adds 4 to every score so that most are positive
constexpr signed char kBlosum62[kSymbolCount][kSymbolCount] = {
    {4, -1, -2, -2, 0, -1, -1, 0, -2, -1, -1, -1, -1, -2, -1, 1, 0, -3, -2, 0, -2, -1, 0, -4},
    {-1, 5, 0, -2, -3, 1, 0, -2, 0, -3, -2, 2, -1, -3, -2, -1, -1, -3, -2, -3, -1, 0, -1, -4},
    {-2, 0, 6, 1, -3, 0, 0, 0, 1, -3, -3, 0, -2, -3, -2, 1, 0, -4, -2, -3, 3, 0, -1, -4},
    {-2, -2, 1, 6, -3, 0, 2, -1, -1, -3, -4, -1, -3, -3, -1, 0, -1, -4, -3, -3, 4, 1, -1, -4},
    {0, -3, -3, -3, 9, -3, -4, -3, -3, -1, -1, -3, -1, -2, -3, -1, -1, -2, -2, -1, -3, -3, -2, -4},
    {-1, 1, 0, 0, -3, 5, 2, -2, 0, -3, -2, 1, 0, -3, -1, 0, -1, -2, -1, -2, 0, 3, -1, -4},
    {-1, 0, 0, 2, -4, 2, 5, -2, 0, -3, -3, 1, -2, -3, -1, 0, -1, -3, -2, -2, 1, 4, -1, -4},
    {0, -2, 0, -1, -3, -2, -2, 6, -2, -4, -4, -2, -3, -3, -2, 0, -2, -2, -3, -3, -1, -2, -1, -4},
    {-2, 0, 1, -1, -3, 0, 0, -2, 8, -3, -3, -1, -2, -1, -2, -1, -2, -2, 2, -3, 0, 0, -1, -4},
    {-1, -3, -3, -3, -1, -3, -3, -4, -3, 4, 2, -3, 1, 0, -3, -2, -1, -3, -1, 3, -3, -3, -1, -4},
    {-1, -2, -3, -4, -1, -2, -3, -4, -3, 2, 4, -2, 2, 0, -3, -2, -1, -2, -1, 1, -4, -3, -1, -4},
    {-1, 2, 0, -1, -3, 1, 1, -2, -1, -3, -2, 5, -1, -3, -1, 0, -1, -3, -2, -2, 0, 1, -1, -4},
    {-1, -1, -2, -3, -1, 0, -2, -3, -2, 1, 2, -1, 5, 0, -2, -1, -1, -1, -1, 1, -3, -1, -1, -4},
    {-2, -3, -3, -3, -2, -3, -3, -3, -1, 0, 0, -3, 0, 6, -4, -2, -2, 1, 3, -1, -3, -3, -1, -4},
    {-1, -2, -2, -1, -3, -1, -1, -2, -2, -3, -3, -1, -2, -4, 7, -1, -1, -4, -3, -2, -2, -1, -2, -4},
    {1, -1, 1, 0, -1, 0, 0, 0, -1, -2, -2, 0, -1, -2, -1, 4, 1, -3, -2, -2, 0, 0, 0, -4},
    {0, -1, 0, -1, -1, -1, -1, -2, -2, -1, -1, -1, -1, -2, -1, 1, 5, -2, -2, 0, -1, -1, 0, -4},
    {-3, -3, -4, -4, -2, -2, -3, -2, -2, -3, -2, -3, -1, 1, -4, -3, -2, 11, 2, -3, -4, -3, -2, -4},
    {-2, -2, -2, -3, -2, -1, -2, -3, 2, -1, -1, -2, -1, 3, -3, -2, -2, 2, 7, -1, -3, -2, -1, -4},
    {0, -3, -3, -3, -1, -2, -2, -3, -3, 3, 1, -2, 1, -1, -2, -2, 0, -3, -1, 4, -3, -2, -1, -4},
    {-2, -1, 3, 4, -3, 0, 1, -1, 0, -3, -4, 0, -3, -3, -2, 0, -1, -4, -3, -3, 4, 1, -1, -4},
    {-1, 0, 0, 1, -3, 3, 4, -2, 0, -3, -3, 1, -1, -3, -1, 0, -1, -3, -2, -2, 1, 4, -1, -4},
    {0, -1, -1, -1, -2, -1, -1, -1, -1, -1, -1, -1, -1, -1, -2, 0, 0, -2, -1, -1, -1, -1, -1, -4},
    {-4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, -4, 1},
};

// The matrix index of each character: kGap for gaps and letters outside the matrix.
std::array<int, 256> SymbolIndexes() {
    std::array<int, 256> indexes;
    indexes.fill(kGap);
    for (int i = 0; i < kSymbolCount; ++i) {
        const auto symbol = static_cast<unsigned char>(kSymbols[i]);
        indexes[symbol] = i;
        indexes[static_cast<unsigned char>(std::tolower(symbol))] = i;
    }
    return indexes;
}

int SymbolAt(const std::array<int, 256>& indexes, const std::string& row, unsigned column) {
    return HasResidueAt(row, column) ? indexes[static_cast<unsigned char>(row[column])] : kGap;
}

// The score vector of one symbol, offset as Jalview offsets it.
double Score(int summed, int symbol) {
    return kOffset + (symbol == kGap ? kLowestScore : double(kBlosum62[summed][symbol]));
}

// D of one column: how far its rows' score vectors lie from their mean. Also counts the column's gaps.
double Spread(const std::vector<std::string>& rows, unsigned column, const std::array<int, 256>& indexes,
              unsigned& gaps) {
    std::array<unsigned, kSymbolCount> counts{};
    gaps = 0;
    for (const std::string& row : rows) {
        const int symbol = SymbolAt(indexes, row, column);
        if (symbol == kGap)
            ++gaps;
        else
            ++counts[symbol];
    }
    const double size = double(rows.size());
    std::array<double, kSummed> mean{};
    for (int i = 0; i < kSummed; ++i) {
        double sum = kOffset * kSymbolCount + gaps * kLowestScore;
        for (int other = 0; other < kSummed; ++other) sum += counts[other] * double(kBlosum62[i][other]);
        mean[i] = sum / size;
    }
    // Rows holding the same symbol lie at the same distance: one distance per symbol present.
    double spread = 0;
    for (int symbol = kGap; symbol < kSymbolCount; ++symbol) {
        const unsigned holding = symbol == kGap ? gaps : counts[symbol];
        if (holding == 0) continue;
        double squares = 0;
        for (int i = 0; i < kSummed; ++i) squares += std::pow(mean[i] - Score(i, symbol), 2);
        spread += holding * std::sqrt(squares);
    }
    return spread;
}

}  // namespace

std::vector<double> ColumnQuality(const std::vector<std::string>& rows) {
    static const std::array<int, 256> indexes = SymbolIndexes();
    const unsigned columns = ColumnCount(rows);
    std::vector<double> spreads(columns);
    std::vector<unsigned> gaps(columns);
    for (unsigned column = 0; column < columns; ++column)
        spreads[column] = Spread(rows, column, indexes, gaps[column]);
    if (columns == 0) return spreads;
    const double widest = *std::max_element(spreads.begin(), spreads.end());
    const double size = double(rows.size());
    std::vector<double> quality(columns);
    for (unsigned column = 0; column < columns; ++column)
        quality[column] = (widest - spreads[column]) * (size - gaps[column]) / size;
    return quality;
}

}  // namespace SDM
