#pragma once

#include <string>

namespace SDM {

/// One secondary-structure assignment of a sequence: one letter per residue (not per column),
/// 'H' helix, 'S' sheet, 'C' coil.
class SecondaryStructure {
public:
    explicit SecondaryStructure(std::string hsc) : hsc_(std::move(hsc)) {}
    virtual ~SecondaryStructure() = default;
    /// Writes one structure letter per residue.
    void GetHSCStructure(std::string& out) const { out = hsc_; }
    const std::string& Letters() const { return hsc_; }

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
};

}  // namespace SDM
