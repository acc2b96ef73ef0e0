#pragma once

#include <boost/shared_ptr.hpp>
#include <string>

#include "formats/AlignmentReader.h"
#include "formats/ParsedAlignment.h"
#include "sdm/Alignment.h"
#include "sdm/Types.h"

namespace Formats {

/// Turns parsed records into a model alignment: decides the sequence class, makes AASequence or NASequence
/// rows, attaches secondary structure (amino acids only) and sets the class's default colour scheme.
class ModelBuilder {
public:
    /// Null with `error` filled when the records do not make an alignment.
    static boost::shared_ptr<SDM::Alignment> Build(const ParsedAlignment& parsed, ReadError& error);

    /// NucleicAcid when nearly all letters are A, C, G, T, U or N; AminoAcid for other letters;
    /// UnknownClass when there are no letters at all.
    static SDM::SequenceClass Classify(const ParsedAlignment& parsed);
    /// DSSP letters at the residue columns of `aligned` mapped to H (H, G, I), S (E, B) and C (anything
    /// else); one letter per residue, so gap columns are dropped.
    static std::string ResidueStructure(const std::string& aligned, const std::string& dssp);
};

}  // namespace Formats
