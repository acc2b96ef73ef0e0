#pragma once

#include <boost/shared_ptr.hpp>
#include <vector>

#include "sdm/ColorScheme.h"
#include "sdm/schemes/ColumnProfile.h"

namespace SDM {

/// Any scheme's colours, shaded by the column (Jalview's "above identity threshold" and "by conservation"):
/// with a threshold, only residues that are their column's most frequent residue (any of them on a tie)
/// in at least that percentage of the rows keep their colours, the rest are drawn uncoloured; by
/// conservation, backgrounds are mixed with white in proportion to what the column's AMAS score (0 to 11)
/// lacks of identity, and columns without a score (too many gaps) are white. Rows are the displayed
/// sequences, only those listed in `chosen` when it lists any.
class ColumnShading : public ColorScheme {
public:
    static constexpr int kNoThreshold = -1;

    ColumnShading(boost::shared_ptr<ColorScheme> base, int thresholdPercent, bool byConservation,
                  std::vector<unsigned> chosen = {});
    std::string name() const override { return base_->name(); }
    void prepare(const Alignment& alignment) override;
    bool dependsOnColumn() const override { return true; }
    ResidueColors colorsAt(char code, unsigned column) const override;

private:
    struct Column {
        unsigned modalCount = 0;  // rows holding the most frequent letter; 0 when below the threshold
        double colourShare = 1;   // how much of the scheme's background stays, 0 to 1
    };
    boost::shared_ptr<ColorScheme> base_;
    int threshold_;
    bool byConservation_;
    std::vector<unsigned> chosen_;
    ColumnProfile profile_;
    std::vector<Column> columns_;
};

}  // namespace SDM
