#pragma once

#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

/// Kyte-Doolittle hydropathy, shaded from blue (hydrophilic) to red (hydrophobic).
class HydrophobicityColorScheme : public TableColorScheme {
public:
    HydrophobicityColorScheme();
    std::string name() const override { return "hydrophobicity"; }
};

}  // namespace SDM
