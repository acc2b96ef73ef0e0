#include "sdm/schemes/ClustalColorScheme.h"

#include <cctype>
#include <cstring>

#include "sdm/schemes/ColumnProfile.h"
#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

namespace {

// Column facts, after Clustal X's colprot.par. A fact holds when more than `percent` of the column's rows
// (gaps included) carry one of `letters`. Group facts are named by a symbol; each upper-case letter is
// also a fact: more than 85% of that residue.
struct GroupFact {
    char symbol;
    int percent;
    const char* letters;
};

const GroupFact kGroups[] = {
    {'%', 60, "WLVIMAFCYHP"}, {'#', 80, "WLVIMAFCYHP"}, {'-', 50, "ED"}, {'+', 60, "KR"}, {'g', 50, "G"},
    {'n', 50, "N"},           {'q', 50, "QE"},          {'p', 50, "P"},  {'t', 50, "TS"},
};
constexpr int kResiduePercent = 85;
constexpr std::uint64_t kAlways = ~std::uint64_t(0);

/// Bit of a fact symbol: the groups first, then one bit per upper-case letter.
std::uint64_t FactBit(char symbol) {
    for (std::size_t i = 0; i < std::size(kGroups); ++i) {
        if (kGroups[i].symbol == symbol) return std::uint64_t(1) << i;
    }
    if (symbol >= 'A' && symbol <= 'Z') return std::uint64_t(1) << (std::size(kGroups) + (symbol - 'A'));
    return 0;
}

std::uint64_t FactBits(const char* symbols) {
    if (!symbols) return kAlways;
    std::uint64_t bits = 0;
    for (const char* s = symbols; *s; ++s) bits |= FactBit(*s);
    return bits;
}

bool MoreThan(unsigned count, unsigned rows, int percent) {
    return 100u * count > unsigned(percent) * rows;
}

std::uint64_t ColumnFacts(const ColumnProfile& profile, unsigned column) {
    std::uint64_t facts = 0;
    for (const GroupFact& group : kGroups) {
        unsigned count = 0;
        for (const char* letter = group.letters; *letter; ++letter) count += profile.count(column, *letter);
        if (MoreThan(count, profile.rows(), group.percent)) facts |= FactBit(group.symbol);
    }
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (MoreThan(profile.count(column, letter), profile.rows(), kResiduePercent))
            facts |= FactBit(letter);
    }
    return facts;
}

int LetterIndex(char code) {
    const int upper = std::toupper(static_cast<unsigned char>(code));
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
}

}  // namespace

ClustalColorScheme::ClustalColorScheme() {
    const Common::Color blue(0x19, 0x80, 0xE6), red(0xE6, 0x33, 0x19), magenta(0xCC, 0x4D, 0xCC),
        green(0x19, 0xCC, 0x19), cyan(0x19, 0xB3, 0xB3), pink(0xE6, 0x80, 0x80), orange(0xE6, 0x99, 0x4D),
        yellow(0xCC, 0xCC, 0x00);
    const char* hydrophobicColumn = "%#ACFHILMVWYPp";
    addRule("G", orange, nullptr);
    addRule("P", yellow, nullptr);
    addRule("C", pink, "C");  // a conserved cysteine beats the hydrophobic rule
    addRule("WLVIMF", blue, hydrophobicColumn);
    addRule("A", blue, "%#ACFHILMVWYPpTSG");
    addRule("C", blue, "%#AFHILMVWYSPp");
    addRule("HY", cyan, hydrophobicColumn);
    addRule("KR", red, "+KRQ");
    addRule("E", magenta, "-DEqQ");
    addRule("D", magenta, "-DEnN");
    addRule("T", green, "tST%#");
    addRule("S", green, "tST#");
    addRule("N", green, "nND");
    addRule("Q", green, "qQE+KR");
}

void ClustalColorScheme::addRule(const char* letters, const Common::Color& background,
                                 const char* conditions) {
    for (const char* letter = letters; *letter; ++letter) {
        rules_[*letter - 'A'].push_back(Rule{background, FactBits(conditions)});
    }
}

void ClustalColorScheme::prepare(const Alignment& alignment) {
    ColumnProfile profile;
    profile.build(alignment);
    columnFacts_.assign(profile.columns(), 0);
    for (unsigned column = 0; column < profile.columns(); ++column)
        columnFacts_[column] = ColumnFacts(profile, column);
}

ResidueColors ClustalColorScheme::colorsAt(char code, unsigned column) const {
    const int letter = LetterIndex(code);
    if (letter < 0) return Uncolored();
    const std::uint64_t facts = column < columnFacts_.size() ? columnFacts_[column] : 0;
    for (const Rule& rule : rules_[letter]) {
        if (rule.conditions == kAlways || (facts & rule.conditions) != 0) {
            return ResidueColors{rule.background, Common::Color(0, 0, 0)};
        }
    }
    return Uncolored();
}

}  // namespace SDM
