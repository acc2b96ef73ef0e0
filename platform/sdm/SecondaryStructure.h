#pragma once

#include <string>

namespace SDM {

/// One secondary-structure assignment of a sequence: one letter per residue (not per column),
/// 'H' helix, 'S' sheet, 'C' coil; and, when read from a file, the letters as the file wrote them (DSSP's E,
/// G, T...), one per residue too.
class SecondaryStructure {
public:
    explicit SecondaryStructure(std::string hsc, std::string fileLetters = std::string())
        : hsc_(std::move(hsc)), fileLetters_(std::move(fileLetters)) {}
    virtual ~SecondaryStructure() = default;
    /// Writes one structure letter per residue.
    void GetHSCStructure(std::string& out) const { out = hsc_; }
    const std::string& Letters() const { return hsc_; }
    /// The file's own letter of residue `index` (0-based), or 0 when there is none.
    char FileLetter(std::size_t index) const { return index < fileLetters_.size() ? fileLetters_[index] : 0; }

    /// The model letter of a DSSP letter: H for H, G and I; S for E and B; C for anything else.
    static char ModelLetter(char dssp) {
        switch (dssp) {
            case 'H':
            case 'G':
            case 'I':
                return 'H';
            case 'E':
            case 'B':
                return 'S';
            default:
                return 'C';
        }
    }

private:
    std::string hsc_;
    std::string fileLetters_;
};

}  // namespace SDM
