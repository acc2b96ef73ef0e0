#include "sdm/annotations/RnaPairing.h"

#include <algorithm>
#include <cstring>

namespace SDM {

namespace {

constexpr const char* kOpeners = "(<[{";
constexpr const char* kClosers = ")>]}";

int BracketKind(char c, const char* brackets) {
    const char* found = c != 0 ? std::strchr(brackets, c) : nullptr;
    return found != nullptr ? int(found - brackets) : -1;
}

void MatchBrackets(const std::string& notation, RnaPairing& pairing) {
    std::vector<std::vector<int>> open(std::strlen(kOpeners));
    for (int column = 0; column < int(notation.size()); ++column) {
        const int opener = BracketKind(notation[column], kOpeners);
        if (opener >= 0) {
            open[opener].push_back(column);
            continue;
        }
        const int closer = BracketKind(notation[column], kClosers);
        if (closer < 0) continue;
        if (open[closer].empty()) {
            pairing.unmatched.push_back(unsigned(column));
            continue;
        }
        const int partner = open[closer].back();
        open[closer].pop_back();
        pairing.partner[partner] = column;
        pairing.partner[column] = partner;
    }
    for (const std::vector<int>& columns : open) {
        for (int column : columns) pairing.unmatched.push_back(unsigned(column));
    }
    std::sort(pairing.unmatched.begin(), pairing.unmatched.end());
}

// Opening columns left to right; a pair continues the helix of the previous opening column when their
// closing columns are adjacent among paired columns too.
void NumberHelices(RnaPairing& pairing) {
    const int columns = int(pairing.partner.size());
    int previousOpen = RnaPairing::kUnpaired;
    for (int column = 0; column < columns; ++column) {
        const int partner = pairing.partner[column];
        if (partner == RnaPairing::kUnpaired) continue;
        if (partner < column) {  // a closing column ends any run of openers
            previousOpen = RnaPairing::kUnpaired;
            continue;
        }
        bool stacked = previousOpen != RnaPairing::kUnpaired && partner < pairing.partner[previousOpen];
        for (int between = partner + 1; stacked && between < pairing.partner[previousOpen]; ++between)
            stacked = pairing.partner[between] == RnaPairing::kUnpaired;
        const int helix = stacked ? pairing.helix[previousOpen] : pairing.helixCount++;
        pairing.helix[column] = helix;
        pairing.helix[partner] = helix;
        previousOpen = column;
    }
}

RnaPairing PairWith(const std::string& notation) {
    RnaPairing pairing;
    pairing.partner.assign(notation.size(), RnaPairing::kUnpaired);
    pairing.helix.assign(notation.size(), RnaPairing::kUnpaired);
    MatchBrackets(notation, pairing);
    return pairing;
}

std::string WithAnglesSwapped(std::string notation) {
    for (char& c : notation) c = c == '<' ? '>' : c == '>' ? '<' : c;
    return notation;
}

}  // namespace

RnaPairing PairRnaStructure(const std::string& notation) {
    RnaPairing pairing = PairWith(notation);
    // Some older files write helices as ">>>...<<<": take that reading when it pairs more brackets.
    if (!pairing.unmatched.empty() && notation.find_first_of("<>") != std::string::npos) {
        RnaPairing mirrored = PairWith(WithAnglesSwapped(notation));
        if (mirrored.unmatched.size() < pairing.unmatched.size()) pairing = std::move(mirrored);
    }
    NumberHelices(pairing);
    return pairing;
}

bool IsPairingNotation(const std::string& notation) {
    bool bracket = false;
    for (char c : notation) {
        if (c == 'H' || c == 'E' || c == 'G' || c == 'I') return false;
        bracket = bracket || BracketKind(c, kOpeners) >= 0 || BracketKind(c, kClosers) >= 0;
    }
    return bracket;
}

}  // namespace SDM
