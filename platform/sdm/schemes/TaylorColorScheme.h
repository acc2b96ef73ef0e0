#pragma once

#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

/// Taylor's colour wheel of amino-acid similarity.
class TaylorColorScheme : public TableColorScheme {
public:
    TaylorColorScheme();
    std::string name() const override { return "taylor"; }
};

}  // namespace SDM
