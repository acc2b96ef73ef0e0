#pragma once

#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

/// residue properties (Zappo): aliphatic, aromatic, charged, polar, special.
class ZappoColorScheme : public TableColorScheme {
public:
    ZappoColorScheme();
    std::string name() const override { return "zappo"; }
};

}  // namespace SDM
