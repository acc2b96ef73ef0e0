#pragma once

#include "sdm/schemes/TableColorScheme.h"

namespace SDM {

/// one colour per base; U as T; ambiguity codes uncoloured.
class NucleotideColorScheme : public TableColorScheme {
public:
    NucleotideColorScheme();
    std::string name() const override { return "nucleotide"; }
};

}  // namespace SDM
