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

private:
    std::string hsc_;
};

}  // namespace SDM
