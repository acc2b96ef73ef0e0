#include "sdm/schemes/ColumnShading.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnConservation.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/schemes/TableColorScheme.h"
#include "sqv/UserProperties.h"

namespace SDM {

namespace {

std::uint8_t TowardsWhite(std::uint8_t channel, double share) {
    return std::uint8_t(255 - (255 - channel) * share + 0.5);
}

}  // namespace

ColumnShading::ColumnShading(boost::shared_ptr<ColorScheme> base, int thresholdPercent, bool byConservation,
                             std::vector<unsigned> chosen)
    : base_(std::move(base)),
      threshold_(thresholdPercent),
      byConservation_(byConservation),
      chosen_(std::move(chosen)) {}

void ColumnShading::prepare(const Alignment& alignment) {
    base_->prepare(alignment);
    const std::vector<std::string> rows = ShownTexts(alignment, chosen_);
    profile_.build(rows);
    columns_.assign(profile_.columns(), Column{});
    const std::vector<int> scores = byConservation_ ? ColumnConservation(rows) : std::vector<int>();
    for (unsigned column = 0; column < profile_.columns(); ++column) {
        Column& shading = columns_[column];
        if (threshold_ != kNoThreshold) {
            const ColumnProfile::LetterCounts& letters = profile_.letters(column);
            const unsigned modal = *std::max_element(letters.begin(), letters.end());
            // Percent of all rows, gaps included, as the consensus row counts it.
            if (modal > 0 && 100.0 * modal >= double(threshold_) * rows.size()) shading.modalCount = modal;
        }
        if (byConservation_)
            shading.colourShare =
                scores[column] < 0 ? 0 : double(scores[column]) / double(ConservationScore::kIdentity);
    }
}

ResidueColors ColumnShading::colorsAt(char code, unsigned column) const {
    ResidueColors colours = base_->colorsAt(code, column);
    if (SQC::SequenceConstants::IsGap(code) || column >= columns_.size()) return colours;
    const Column& shading = columns_[column];
    if (threshold_ != kNoThreshold) {
        const unsigned upper = unsigned(std::toupper(static_cast<unsigned char>(code)));
        const bool modal = shading.modalCount > 0 && upper >= 'A' && upper <= 'Z' &&
                           profile_.letters(column)[upper - 'A'] == shading.modalCount;
        if (!modal) return Uncolored();
    }
    if (byConservation_ && shading.colourShare < 1) {
        const Common::Color& background = colours.background;
        colours.background = Common::Color(TowardsWhite(background.Red(), shading.colourShare),
                                           TowardsWhite(background.Green(), shading.colourShare),
                                           TowardsWhite(background.Blue(), shading.colourShare));
        colours.text = ContrastingText(colours.background);
    }
    return colours;
}

}  // namespace SDM
