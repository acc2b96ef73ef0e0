#pragma once

#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

#include "sdm/ColorScheme.h"
#include "sdm/Types.h"

namespace SDM {

/// A new colour scheme by name: "clustal", "zappo", "taylor", "hydrophobicity", "identity", "nucleotide",
/// "plain" (case-insensitive). An empty pointer for an unknown name. Column-dependent schemes ("clustal",
/// "identity") need `prepare` with the alignment before their colours mean anything; until then every
/// residue is drawn as unconserved.
boost::shared_ptr<ColorScheme> MakeColorScheme(const std::string& name);
/// The names MakeColorScheme accepts, in a stable order for help texts.
std::vector<std::string> ColorSchemeNames();
/// "clustal" for amino acids, "nucleotide" for nucleic acids, "plain" otherwise.
std::string DefaultSchemeName(SequenceClass sequenceClass);

}  // namespace SDM
