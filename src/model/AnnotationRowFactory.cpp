#include "msarender/AnnotationRowFactory.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "sdm/Alignment.h"
#include "sdm/SecondaryStructure.h"
#include "sdm/annotations/ColumnConsensus.h"
#include "sdm/annotations/ColumnConservation.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/annotations/RnaPairing.h"
#include "sqv/UserProperties.h"

namespace {

constexpr std::uint32_t kConsensusColour = 0xFF9A9A9Au;     // neutral grey, as identity bars usually are
constexpr std::uint32_t kConservationColour = 0xFFC8A000u;  // Jalview-like ochre
constexpr std::uint32_t kOccupancyColour = 0xFF6F8FBFu;
// Light, distinct hues for helices; the bracket symbols are drawn in black over them.
constexpr std::uint32_t kHelixColours[] = {0xFFF4A6A6u, 0xFFA6CFF4u, 0xFFB5E6A2u, 0xFFF4D58Au,
                                           0xFFD3B0F0u, 0xFF9FE6DAu, 0xFFF2B98Cu, 0xFFCFCFCFu};

bool LooksLikeDssp(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == 'H' || c == 'E' || c == 'G'; }) &&
           !SDM::IsPairingNotation(text);
}

// SS_cons and SS_cons_<name>, in any case: the tags that hold structure. Other lines (seq_cons, RF,
// PP_cons...) are text whatever letters they hold: a consensus sequence is full of H, E and G.
bool IsStructureTag(const std::string& tag) {
    std::string lower(tag);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return lower == "ss_cons" || lower.rfind("ss_cons_", 0) == 0;
}

}  // namespace

AnnotationRow AnnotationRowFactory::Consensus(const SDM::Alignment& alignment, double maxGapShare) {
    return Consensus(SDM::AlignedTexts(alignment), maxGapShare);
}

AnnotationRow AnnotationRowFactory::Conservation(const SDM::Alignment& alignment) {
    return Conservation(SDM::AlignedTexts(alignment));
}

AnnotationRow AnnotationRowFactory::Occupancy(const SDM::Alignment& alignment) {
    return Occupancy(SDM::AlignedTexts(alignment));
}

AnnotationRow AnnotationRowFactory::Consensus(const std::vector<std::string>& texts, double maxGapShare) {
    AnnotationRow row;
    row.label = "Consensus";
    row.barColour = kConsensusColour;
    for (const SDM::ConsensusColumn& column : SDM::ColumnConsensus(texts, maxGapShare)) {
        row.symbols.push_back(column.residue != 0 ? column.residue : ' ');
        row.heights.push_back(column.residue != 0 ? float(column.percent / 100.0) : 0.0f);
    }
    return row;
}

AnnotationRow AnnotationRowFactory::Conservation(const std::vector<std::string>& texts) {
    AnnotationRow row;
    row.label = "Conservation";
    row.barColour = kConservationColour;
    for (int score : SDM::ColumnConservation(texts)) {
        row.symbols.push_back(SDM::ConservationSymbol(score));
        row.heights.push_back(score > 0 ? float(score) / float(SDM::ConservationScore::kIdentity) : 0.0f);
    }
    return row;
}

AnnotationRow AnnotationRowFactory::Occupancy(const std::vector<std::string>& texts) {
    AnnotationRow row;
    row.label = "Occupancy";
    row.barColour = kOccupancyColour;
    for (unsigned count : SDM::ColumnOccupancy(texts))
        row.heights.push_back(texts.empty() ? 0.0f : float(count) / float(texts.size()));
    return row;
}

AnnotationRow AnnotationRowFactory::FromColumnAnnotation(const SDM::ColumnAnnotation& annotation,
                                                         std::vector<std::string>& warnings) {
    if (!IsStructureTag(annotation.tag)) return Text(annotation.tag, annotation.text);
    if (SDM::IsPairingNotation(annotation.text)) {
        std::vector<std::string> found;
        AnnotationRow row = Pairing(annotation.tag, annotation.text, found);
        for (const std::string& warning : found)
            warnings.push_back("line " + std::to_string(annotation.line) + ": " + warning);
        return row;
    }
    if (LooksLikeDssp(annotation.text)) return Cartoon(annotation.tag, annotation.text);
    return Text(annotation.tag, annotation.text);
}

AnnotationRow AnnotationRowFactory::Pairing(const std::string& label, const std::string& notation,
                                            std::vector<std::string>& warnings) {
    const SDM::RnaPairing pairing = SDM::PairRnaStructure(notation);
    AnnotationRow row = Text(label, notation);
    row.heights.assign(notation.size(), 0.0f);
    row.colours.assign(notation.size(), 0);
    for (std::size_t column = 0; column < notation.size(); ++column) {
        if (pairing.helix[column] == SDM::RnaPairing::kUnpaired) {
            if (std::string_view("()<>[]{}").find(notation[column]) == std::string_view::npos)
                row.symbols[column] = ' ';  // loop and spacer marks: only brackets are drawn
            continue;
        }
        row.heights[column] = 1.0f;
        row.colours[column] = HelixColour(pairing.helix[column]);
    }
    if (!pairing.unmatched.empty()) {
        std::string columns;
        for (unsigned column : pairing.unmatched)
            columns += (columns.empty() ? "" : ", ") + std::to_string(column + 1);
        warnings.push_back(label + ": " + std::to_string(pairing.unmatched.size()) +
                           " bracket(s) without a partner at column(s) " + columns + "; drawn unpaired");
    }
    return row;
}

AnnotationRow AnnotationRowFactory::Cartoon(const std::string& label, const std::string& dssp) {
    AnnotationRow row;
    row.label = label;
    row.cartoon = true;
    for (char letter : dssp)
        row.symbols.push_back(
            SQC::SequenceConstants::IsGap(letter) ? '-' : SDM::SecondaryStructure::ModelLetter(letter));
    return row;
}

AnnotationRow AnnotationRowFactory::Text(const std::string& label, const std::string& text) {
    AnnotationRow row;
    row.label = label;
    row.symbols = text;
    std::replace_if(
        row.symbols.begin(), row.symbols.end(), [](char c) { return SQC::SequenceConstants::IsGap(c); }, ' ');
    return row;
}

std::uint32_t AnnotationRowFactory::HelixColour(int helix) {
    constexpr int count = int(sizeof(kHelixColours) / sizeof(kHelixColours[0]));
    return kHelixColours[((helix % count) + count) % count];
}
