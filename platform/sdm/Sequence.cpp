#include "sdm/Sequence.h"

#include <algorithm>
#include <atomic>
#include <optional>

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
struct NameRange {
    std::size_t slash;  // where the range begins
    long long start;
    long long end;
};

// "name/12-340": a slash followed by two numbers joined by a dash, at the end.
std::optional<NameRange> RangeAtEnd(const std::string& identifier) {
    const std::size_t slash = identifier.rfind('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::string range = identifier.substr(slash + 1);
    const std::size_t dash = range.find('-');
    const auto digits = [](const std::string& text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string::npos || !digits(range.substr(0, dash)) || !digits(range.substr(dash + 1)))
        return std::nullopt;
    const auto number = [](const std::string& text) { return std::stoll(text.substr(0, 18)); };  // fits
    return NameRange{slash, number(range.substr(0, dash)), number(range.substr(dash + 1))};
}

Sequence::Numbering NumberingOf(const std::optional<NameRange>& range) {
    if (!range) return Sequence::Numbering();
    return Sequence::Numbering{range->start, range->end < range->start ? -1 : 1};
}

bool EndsInRange(const std::string& identifier) {
    return RangeAtEnd(identifier).has_value();
}

unsigned ResiduesIn(const std::string& aligned, std::size_t from, std::size_t to) {
    to = std::min(to, aligned.size());
    return from < to ? CountResidues(aligned.substr(from, to - from)) : 0u;
}

// The identifier with the range of the residues in columns [first, last], counted from its own range where
// it has one (down where that range counts down); no range when the columns hold no residue.
std::string WithShownRange(const std::string& identifier, const std::string& aligned, unsigned first,
                           unsigned last) {
    const long long before = ResiduesIn(aligned, 0, first);
    const long long shown = ResiduesIn(aligned, first, std::size_t(last) + 1);
    const std::optional<NameRange> own = RangeAtEnd(identifier);
    const std::string base = own ? identifier.substr(0, own->slash) : identifier;
    if (shown == 0) return base;
    const Sequence::Numbering numbering = NumberingOf(own);
    const long long from = numbering.start + numbering.step * before;
    return base + "/" + std::to_string(from) + "-" + std::to_string(from + numbering.step * (shown - 1));
}
}  // namespace

std::string IdentifierWithoutRange(const std::string& identifier) {
    const std::optional<NameRange> range = RangeAtEnd(identifier);
    return range ? identifier.substr(0, range->slash) : identifier;
}

Sequence::Numbering Sequence::numbering() const {
    return NumberingOf(RangeAtEnd(getIdentifier()));
}

void Sequence::showName(NameStyle style, bool withRange, unsigned firstColumn, unsigned lastColumn) {
    std::string label = getIdentifier();
    const bool wholeSequence = firstColumn == 0 && std::size_t(lastColumn) + 1 >= aligned_.size();
    if (withRange && !wholeSequence)
        label = WithShownRange(label, aligned_, firstColumn, lastColumn);
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
