#include "msarender/AnnotationRowFactory.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>
#include <string_view>

#include "sdm/Alignment.h"
#include "sdm/ColorScheme.h"
#include "sdm/SecondaryStructure.h"
#include "sdm/annotations/ColumnConsensus.h"
#include "sdm/annotations/ColumnConservation.h"
#include "sdm/annotations/ColumnInformation.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/annotations/ColumnQuality.h"
#include "sdm/annotations/RnaPairing.h"
#include "sqv/UserProperties.h"

namespace {

constexpr std::uint32_t kConsensusColour = 0xFF9A9A9Au;     // neutral grey, as identity bars usually are
constexpr std::uint32_t kConservationColour = 0xFFC8A000u;  // Jalview-like ochre
constexpr std::uint32_t kOccupancyColour = 0xFF6F8FBFu;
// Light, distinct hues for helices; the bracket symbols are drawn in black over them.
constexpr std::uint32_t kHelixColours[] = {0xFFF4A6A6u, 0xFFA6CFF4u, 0xFFB5E6A2u, 0xFFF4D58Au,
                                           0xFFD3B0F0u, 0xFF9FE6DAu, 0xFFF2B98Cu, 0xFFCFCFCFu};

std::uint32_t Argb(const Common::Color& colour) {
    return 0xFF000000u | (std::uint32_t(colour.Red()) << 16) | (std::uint32_t(colour.Green()) << 8) |
           colour.Blue();
}

// A logo letter in the scheme's colour of that residue there; letters on white take their text colour.
std::uint32_t LetterColour(const SDM::ColorScheme* scheme, char letter, unsigned column) {
    if (scheme == nullptr) return 0xFF000000u;
    const SDM::ResidueColors colours = scheme->colorsFor(letter, column);
    const std::uint32_t background = Argb(colours.background);
    return background == 0xFFFFFFFFu ? Argb(colours.text) : background;
}

// Jalview's quality colours: dark red for the worst column to yellow for the best, in eleven steps, so that
// a picture keeps to few colours.
std::uint32_t QualityColour(double share) {
    share = std::round(share * 10) / 10;
    const auto channel = [](double value) {
        return std::uint32_t(std::lround(std::clamp(value, 0.0, 1.0) * 255));
    };
    return 0xFF000000u | (channel(0.3 + 0.7 * share) << 16) | (channel(0.9 * share) << 8);
}

// The stack of one column, bottom to top: the least frequent first, ties in alphabet order.
std::vector<LogoLetter> LogoStack(const std::vector<double>& counts, const std::string& letters, double scale,
                                  const SDM::ColorScheme* scheme, unsigned column) {
    std::vector<LogoLetter> stack;
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (counts[i] > 0)
            stack.push_back({letters[i], float(counts[i] * scale), LetterColour(scheme, letters[i], column)});
    std::stable_sort(stack.begin(), stack.end(),
                     [](const LogoLetter& a, const LogoLetter& b) { return a.height < b.height; });
    return stack;
}

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

AnnotationRow AnnotationRowFactory::Quality(const std::vector<std::string>& texts) {
    AnnotationRow row;
    row.label = "Quality";
    const std::vector<double> quality = SDM::ColumnQuality(texts);
    const double best = quality.empty() ? 0 : *std::max_element(quality.begin(), quality.end());
    for (double value : quality) {
        const double share = best > 0 ? value / best : 0;
        row.heights.push_back(float(share));
        row.colours.push_back(QualityColour(share));
    }
    return row;
}

std::vector<AnnotationRow> AnnotationRowFactory::Logo(const std::vector<std::string>& texts, bool aminoAcids,
                                                      const SDM::ColorScheme* scheme, bool byFrequency,
                                                      unsigned lines) {
    SDM::ColumnProfile profile;
    profile.build(texts);
    auto logo = std::make_shared<SequenceLogo>();
    logo->lines = std::max(lines, 1u);
    logo->axisMaximum = byFrequency ? 1 : SDM::MaximumBits(aminoAcids);
    logo->axisStep = byFrequency ? 0.5 : 1;
    std::string letters = SDM::LogoLetters(aminoAcids);
    unsigned thymines = 0;
    unsigned uracils = 0;
    for (unsigned column = 0; column < profile.columns(); ++column) {
        thymines += profile.letters(column)['T' - 'A'];
        uracils += profile.letters(column)['U' - 'A'];
    }
    if (!aminoAcids && thymines > uracils) letters.back() = 'T';  // DNA: the fourth letter is written T
    const std::vector<double> bits =
        byFrequency ? std::vector<double>() : SDM::ColumnInformation(profile, aminoAcids);
    for (unsigned column = 0; column < profile.columns(); ++column) {
        const std::vector<double> counts = SDM::LogoCounts(profile.letters(column), aminoAcids);
        const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
        // Heights as shares of the logo: of the rows, or of the column's bits split by frequency.
        const double scale = total <= 0    ? 0
                             : byFrequency ? 1.0 / double(texts.size())
                                           : bits[column] / logo->axisMaximum / total;
        logo->columns.push_back(LogoStack(counts, letters, scale, scheme, column));
        logo->widths.push_back(float(total));
    }
    const float fullest =
        logo->widths.empty() ? 0 : *std::max_element(logo->widths.begin(), logo->widths.end());
    for (float& width : logo->widths) width = fullest > 0 ? width / fullest : 0;
    std::vector<AnnotationRow> rows(logo->lines);
    for (unsigned line = 0; line < logo->lines; ++line) {
        rows[line].logo = logo;
        rows[line].logoLine = line;
    }
    rows[0].label = "Logo";
    if (rows.size() > 1) rows[1].label = byFrequency ? "(share)" : "(bits)";
    return rows;
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
