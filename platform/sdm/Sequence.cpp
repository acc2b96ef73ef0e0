#include "sdm/Sequence.h"

#include <atomic>

#include "sqv/UserProperties.h"

namespace SDM {

namespace {
std::atomic<std::uint64_t> revisionCounter{0};

unsigned CountResidues(const std::string& aligned) {
    unsigned count = 0;
    for (char c : aligned) {
        if (!SQC::SequenceConstants::IsGap(c)) ++count;
    }
    return count;
}
}  // namespace

std::uint64_t NextRevision() {
    return ++revisionCounter;
}
std::uint64_t CurrentRevision() {
    return revisionCounter.load(std::memory_order_relaxed);
}

void SeqEntry::touch() {
    stamp_ = NextRevision();
}

void SeqEntry::setDefline(const std::string& defline) {
    defline_ = defline;
    touch();
}

void SeqEntry::setDisplayed(bool displayed) {
    if (displayed_ == displayed) return;
    displayed_ = displayed;
    touch();
}

void SeqEntry::setIndented(bool indented) {
    if (indented_ == indented) return;
    indented_ = indented;
    touch();
}

Sequence::Sequence(std::string defline, std::string aligned)
    : SeqEntry(std::move(defline)), aligned_(std::move(aligned)), residueCount_(CountResidues(aligned_)) {
    touch();
}

void Sequence::setAligned(std::string aligned) {
    aligned_ = std::move(aligned);
    residueCount_ = CountResidues(aligned_);
    touch();
}

std::string Sequence::getResidues() const {
    std::string residues;
    residues.reserve(residueCount_);
    for (char c : aligned_) {
        if (!SQC::SequenceConstants::IsGap(c)) residues.push_back(c);
    }
    return residues;
}

const boost::shared_ptr<SecondaryStructure>& AASequence::getSecondaryStructure(const std::string& key) const {
    static const boost::shared_ptr<SecondaryStructure> none;
    auto it = structures_.find(key);
    return it == structures_.end() ? none : it->second;
}

void AASequence::setSecondaryStructure(const std::string& key,
                                       boost::shared_ptr<SecondaryStructure> structure) {
    structures_[key] = std::move(structure);
    touch();
}

void AASequence::removeSecondaryStructure(const std::string& key) {
    if (structures_.erase(key) != 0) touch();
}

void NASequence::setPairingStructure(const std::string& key, std::string aligned) {
    pairings_[key] = std::move(aligned);
    touch();
}

}  // namespace SDM
