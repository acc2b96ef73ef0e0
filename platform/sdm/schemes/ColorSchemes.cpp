#include "sdm/schemes/ColorSchemes.h"

#include <algorithm>
#include <boost/make_shared.hpp>
#include <cctype>
#include <functional>

#include "sdm/schemes/ClustalColorScheme.h"
#include "sdm/schemes/HydrophobicityColorScheme.h"
#include "sdm/schemes/IdentityColorScheme.h"
#include "sdm/schemes/NucleotideColorScheme.h"
#include "sdm/schemes/TaylorColorScheme.h"
#include "sdm/schemes/ZappoColorScheme.h"

namespace SDM {

namespace {
struct SchemeEntry {
    const char* name;
    std::function<boost::shared_ptr<ColorScheme>()> make;
};

template <class Scheme>
boost::shared_ptr<ColorScheme> Make() {
    return boost::make_shared<Scheme>();
}

const std::vector<SchemeEntry>& Schemes() {
    static const std::vector<SchemeEntry> schemes = {
        {"clustal", Make<ClustalColorScheme>},   {"zappo", Make<ZappoColorScheme>},
        {"taylor", Make<TaylorColorScheme>},     {"hydrophobicity", Make<HydrophobicityColorScheme>},
        {"identity", Make<IdentityColorScheme>}, {"nucleotide", Make<NucleotideColorScheme>},
        {"plain", Make<PlainColorScheme>},
    };
    return schemes;
}
}  // namespace

boost::shared_ptr<ColorScheme> MakeColorScheme(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const SchemeEntry& entry : Schemes()) {
        if (lower == entry.name) return entry.make();
    }
    return {};
}

std::vector<std::string> ColorSchemeNames() {
    std::vector<std::string> names;
    for (const SchemeEntry& entry : Schemes()) names.push_back(entry.name);
    return names;
}

std::string DefaultSchemeName(SequenceClass sequenceClass) {
    switch (sequenceClass) {
        case AminoAcid:
            return "clustal";
        case NucleicAcid:
            return "nucleotide";
        default:
            return "plain";
    }
}

}  // namespace SDM
