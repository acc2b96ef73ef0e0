#include "sdm/Sequence.h"

#include <algorithm>
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

void SeqEntry::setDescription(std::string description) {
    description_ = std::move(description);
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

namespace {
// "name/12-340": a slash followed by two numbers joined by a dash, at the end.
bool EndsInRange(const std::string& identifier) {
    const std::size_t slash = identifier.rfind('/');
    if (slash == std::string::npos) return false;
    const std::string range = identifier.substr(slash + 1);
    const std::size_t dash = range.find('-');
    const auto digits = [](const std::string& text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return dash != std::string::npos && digits(range.substr(0, dash)) && digits(range.substr(dash + 1));
}
}  // namespace

// The identifier with the range of the residues in columns [first, last]; none when they hold no residue.
std::string Sequence::ShownRange(const std::string& identifier, unsigned first, unsigned last) const {
    const auto residuesIn = [this](std::size_t from, std::size_t to) {
        to = std::min(to, aligned_.size());
        return from < to ? CountResidues(aligned_.substr(from, to - from)) : 0u;
    };
    const long long before = residuesIn(0, first);
    const long long shown = residuesIn(first, std::size_t(last) + 1);
    std::string base = identifier;
    long long start = 1;
    long long step = 1;
    if (EndsInRange(identifier)) {
        const std::size_t slash = identifier.rfind('/');
        const std::string range = identifier.substr(slash + 1);
        const std::size_t dash = range.find('-');
        start = std::stoll(range.substr(0, std::min<std::size_t>(dash, 18)));
        step = std::stoll(range.substr(dash + 1, 18)) < start ? -1 : 1;
        base = identifier.substr(0, slash);
    }
    if (shown == 0) return base;
    const long long from = start + step * before;
    return base + "/" + std::to_string(from) + "-" + std::to_string(from + step * (shown - 1));
}

void Sequence::showName(NameStyle style, bool withRange, unsigned firstColumn, unsigned lastColumn) {
    std::string label = getIdentifier();
    const bool wholeSequence = firstColumn == 0 && std::size_t(lastColumn) + 1 >= aligned_.size();
    if (withRange && !wholeSequence)
        label = ShownRange(label, firstColumn, lastColumn);
    else if (withRange && size() > 0 && !EndsInRange(label))
        label += "/1-" + std::to_string(size());
    if (style == NameStyle::Full && !getDescription().empty()) label += " " + getDescription();
    setDefline(label);
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
