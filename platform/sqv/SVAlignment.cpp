#include "sqv/SVAlignment.h"

namespace SQV {

namespace {
const std::vector<char> kNoCharacters;
const std::string kNoStructure;
}  // namespace

SVAlignment::SVAlignment(boost::shared_ptr<SDM::Alignment> alignment) : alignment_(std::move(alignment)) {}

void SVAlignment::SetModelAlignment(boost::shared_ptr<SDM::Alignment> alignment) {
    alignment_ = std::move(alignment);
    rows_.clear();
    builtStamp_ = 0;
}

std::uint64_t SVAlignment::modelStamp() const {
    return alignment_ ? alignment_->revision() : 0;
}

bool SVAlignment::Update() {
    // Runs on every frame: only the revision comparison when nothing changed.
    if (!alignment_ || modelStamp() == builtStamp_) return false;
    rebuildRows();
    // Building may have refreshed the consensus, which moves the revision once more.
    builtStamp_ = modelStamp();
    return true;
}

void SVAlignment::rebuildRows() {
    rows_.clear();
    const unsigned count = alignment_->size();
    const unsigned columns = alignment_->getSeqAlign().getMaxTotalLength();
    for (unsigned index = 0; index < count; ++index) {
        boost::shared_ptr<SDM::Sequence> sequence = alignment_->getSequence(index);
        if (!sequence || !sequence->isDisplayed()) continue;
        Row row;
        row.sequenceIndex = index;
        const std::string& aligned = sequence->getAligned();
        row.aligned.assign(aligned.begin(), aligned.end());
        if (row.aligned.size() < columns) row.aligned.resize(columns, '-');
        if (auto* aa = dynamic_cast<const SDM::AASequence*>(sequence.get())) {
            for (const auto& [key, structure] : aa->getSecondaryStructure()) {
                if (!structure || structure->Letters().size() != sequence->size()) continue;
                row.structures.emplace(key, PlaceStructure(structure->Letters(), aligned, columns));
            }
        }
        rows_.push_back(std::move(row));
    }
}

std::string SVAlignment::PlaceStructure(const std::string& letters, const std::string& aligned,
                                        unsigned columns) {
    std::string placed(std::max<std::size_t>(columns, aligned.size()), '-');
    std::size_t next = 0;
    for (std::size_t column = 0; column < aligned.size() && next < letters.size(); ++column) {
        if (!SQC::SequenceConstants::IsGap(aligned[column])) placed[column] = letters[next++];
    }
    return placed;
}

const std::vector<char>& SVAlignment::GetAlignedSequence(unsigned row) const {
    return row < rows_.size() ? rows_[row].aligned : kNoCharacters;
}

const std::string& SVAlignment::GetAlignedSS(const std::string& key, unsigned row) const {
    if (row >= rows_.size()) return kNoStructure;
    auto it = rows_[row].structures.find(key);
    return it == rows_[row].structures.end() ? kNoStructure : it->second;
}

}  // namespace SQV
