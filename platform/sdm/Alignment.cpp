#include "sdm/Alignment.h"

#include <algorithm>
#include <boost/make_shared.hpp>
#include <cctype>

#include "sqv/UserProperties.h"

namespace SDM {

namespace {

bool IsGap(char c) {
    return SQC::SequenceConstants::IsGap(c);
}

unsigned char CodeOf(char c) {
    return static_cast<unsigned char>(c);
}

constexpr unsigned kCodeCount = 256;

// Named apart from the "Consensus" annotation row, which counts gaps differently.
const char* const kConsensusSequenceLabel = "Consensus sequence";

}  // namespace

Alignment::Alignment()
    : scheme_(boost::make_shared<PlainColorScheme>()), seqAlign_(*this), revision_(NextRevision()) {}

Alignment::~Alignment() = default;

// ---- Sequences -------------------------------------------------------------------------------------------

unsigned Alignment::size() const {
    return unsigned(sequences_.size()) + (showConsensus_ ? 1u : 0u);
}

boost::shared_ptr<Sequence> Alignment::getSequence(unsigned index) const {
    if (index < sequences_.size()) return sequences_[index];
    if (showConsensus_ && index == sequences_.size()) {
        refreshConsensus();
        return consensus_;
    }
    return boost::shared_ptr<Sequence>();
}

void Alignment::addSequence(boost::shared_ptr<Sequence> sequence) {
    sequences_.push_back(std::move(sequence));
    touch();
}

void Alignment::insertSequence(unsigned index, boost::shared_ptr<Sequence> sequence) {
    index = std::min<unsigned>(index, unsigned(sequences_.size()));
    sequences_.insert(sequences_.begin() + index, std::move(sequence));
    selection_.sequenceInserted(index);
    masks_.sequenceInserted(index);
    shiftResidueStyles(index, true);
    touch();
}

void Alignment::removeSequence(unsigned index) {
    if (index >= sequences_.size()) return;
    sequences_.erase(sequences_.begin() + index);
    selection_.sequenceRemoved(index);
    masks_.sequenceRemoved(index);
    shiftResidueStyles(index, false);
    touch();
}

int Alignment::findSequence(const std::string& defline) const {
    for (std::size_t i = 0; i < sequences_.size(); ++i) {
        if (sequences_[i] && sequences_[i]->getDefline() == defline) return int(i);
    }
    return -1;
}

// ---- Consensus -------------------------------------------------------------------------------------------

void Alignment::setShowConsensus(bool show) {
    if (show == showConsensus_) return;
    if (show && !consensus_)
        consensus_ = boost::make_shared<ConsensusSequence>(kConsensusSequenceLabel, std::string());
    showConsensus_ = show;
    touch();
}

void Alignment::showNames(NameStyle style, bool withRanges, unsigned firstColumn, unsigned lastColumn) {
    for (const auto& sequence : sequences_)
        if (sequence && !sequence->isTransient())
            sequence->showName(style, withRanges, firstColumn, lastColumn);
    touch();
}

void Alignment::getNonTransientIndexes(std::vector<unsigned>& out, bool displayedOnly) const {
    out.clear();
    for (std::size_t i = 0; i < sequences_.size(); ++i) {
        const auto& sequence = sequences_[i];
        if (!sequence || sequence->isTransient()) continue;
        if (displayedOnly && !sequence->isDisplayed()) continue;
        out.push_back(unsigned(i));
    }
}

void Alignment::refreshConsensus() const {
    if (!consensus_)
        consensus_ = boost::make_shared<ConsensusSequence>(kConsensusSequenceLabel, std::string());
    if (revision() == consensusRevision_) return;
    consensus_->setAligned(computeConsensus());
    // The new text moved the revision; remember the moved value so the text is not recomputed again.
    consensusRevision_ = revision();
}

std::string Alignment::computeConsensus() const {
    const unsigned columns = derived().columns;
    std::string text(columns, '-');
    std::vector<const std::string*> texts;
    for (const auto& sequence : sequences_) {
        if (sequence && !sequence->isTransient()) texts.push_back(&sequence->getAligned());
    }
    // Count a band of columns at a time: row-major reads, and a count table that stays in cache.
    constexpr unsigned kBand = 256;
    std::vector<unsigned> counts(kBand * kCodeCount);
    for (unsigned start = 0; start < columns; start += kBand) {
        const unsigned width = std::min(kBand, columns - start);
        std::fill(counts.begin(), counts.begin() + width * kCodeCount, 0u);
        for (const std::string* aligned : texts) {
            const unsigned end = unsigned(std::min<std::size_t>(aligned->size(), start + width));
            for (unsigned column = start; column < end; ++column) {
                ++counts[(column - start) * kCodeCount + CodeOf((*aligned)[column])];
            }
        }
        for (unsigned offset = 0; offset < width; ++offset) {
            const unsigned* column = &counts[offset * kCodeCount];
            unsigned best = 0;
            for (unsigned code = 0; code < kCodeCount; ++code) {
                // Missing data says nothing about the column, like a gap.
                if (column[code] > best && !IsGap(char(code)) &&
                    !SQC::SequenceConstants::IsMissing(char(code))) {
                    best = column[code];
                    text[start + offset] = char(code);
                }
            }
        }
    }
    return text;
}

// ---- Switches --------------------------------------------------------------------------------------------

void Alignment::SetSequenceClass(SequenceClass sequenceClass) {
    sequenceClass_ = sequenceClass;
    touch();
}

void Alignment::SetSecondaryStructureShown(bool shown) {
    secondaryStructureShown_ = shown;
    touch();
}

bool Alignment::IsSecondaryStructureVisible(const std::string& key) const {
    return hiddenStructureKeys_.count(key) == 0;
}

void Alignment::SetSecondaryStructureVisible(const std::string& key, bool visible) {
    if (visible) {
        hiddenStructureKeys_.erase(key);
    } else {
        hiddenStructureKeys_[key] = true;
    }
    touch();
}

// ---- Selection, fixed blocks, masks -----------------------------------------------------------------------

bool Alignment::allSelected(unsigned sequenceIndex, bool includeGaps) const {
    auto sequence = getSequence(sequenceIndex);
    if (!sequence || sequence->size() == 0) return false;
    const std::string& text = sequence->getAligned();
    if (includeGaps) return selection_.isFullySelected(0, unsigned(text.size()), sequenceIndex);
    // Every run of residues must be covered; the gaps between them do not matter.
    std::size_t column = 0;
    while (column < text.size()) {
        if (IsGap(text[column])) {
            ++column;
            continue;
        }
        const std::size_t runStart = column;
        while (column < text.size() && !IsGap(text[column])) ++column;
        if (!selection_.isFullySelected(unsigned(runStart), unsigned(column - runStart), sequenceIndex))
            return false;
    }
    return true;
}

void Alignment::addFixedBlock(unsigned firstColumn, unsigned lastColumn) {
    if (firstColumn > lastColumn) std::swap(firstColumn, lastColumn);
    fixedBlocks_.push_back({firstColumn, lastColumn});
    touch();
}

void Alignment::clearFixedBlocks() {
    fixedBlocks_.clear();
    touch();
}

bool Alignment::isInFixedBlock(unsigned row, unsigned column) const {
    if (fixedBlocks_.empty() || sequenceIndexOfRow(row) < 0) return false;
    return std::any_of(fixedBlocks_.begin(), fixedBlocks_.end(), [column](const Selection::Range& block) {
        return block.first <= column && column <= block.last;
    });
}

void Alignment::addMask(unsigned sequenceIndex, unsigned firstColumn, unsigned lastColumn) {
    masks_.select(sequenceIndex, firstColumn, lastColumn);
    touch();
}

void Alignment::clearMasks() {
    masks_.clear();
    touch();
}

bool Alignment::isMasked(unsigned column, unsigned row) const {
    if (masks_.empty()) return false;
    const int sequenceIndex = sequenceIndexOfRow(row);
    return sequenceIndex >= 0 && masks_.isSelected(column, 1, unsigned(sequenceIndex));
}

int Alignment::sequenceIndexOfRow(unsigned row) const {
    const Derived& facts = derived();
    return row < facts.rowToSequence.size() ? int(facts.rowToSequence[row]) : -1;
}

// ---- Colours and marks ------------------------------------------------------------------------------------

void Alignment::setColorScheme(boost::shared_ptr<ColorScheme> scheme) {
    scheme_ = scheme ? std::move(scheme) : boost::make_shared<PlainColorScheme>();
    touch();
}

void Alignment::setResidueMarks(unsigned sequenceIndex, unsigned column, unsigned filterBits,
                                const MarkColors& colors) {
    ResidueStyle& style = residueStyles_[{sequenceIndex, column}];
    style.filterBits = filterBits;
    style.colors = colors;
    touch();
}

void Alignment::setResidueFontStyle(unsigned sequenceIndex, unsigned column, FontStyle style) {
    residueStyles_[{sequenceIndex, column}].fontStyle = style;
    touch();
}

void Alignment::clearResidueMarks() {
    residueStyles_.clear();
    touch();
}

void Alignment::shiftResidueStyles(unsigned sequenceIndex, bool inserted) {
    std::map<std::pair<unsigned, unsigned>, ResidueStyle> shifted;
    for (const auto& [position, style] : residueStyles_) {
        unsigned sequence = position.first;
        if (!inserted && sequence == sequenceIndex) continue;
        if (sequence >= sequenceIndex) sequence = inserted ? sequence + 1 : sequence - 1;
        shifted[{sequence, position.second}] = style;
    }
    residueStyles_.swap(shifted);
}

// ---- Aligned residues ------------------------------------------------------------------------------------

bool Alignment::align(std::vector<std::vector<Residue>>& out,
                      const std::vector<unsigned>& sequenceIndexes) const {
    prepareScheme();
    out.resize(sequenceIndexes.size());
    for (std::size_t i = 0; i < sequenceIndexes.size(); ++i) {
        auto sequence = getSequence(sequenceIndexes[i]);
        if (!sequence) {
            out[i].clear();
            continue;
        }
        if (scheme_->dependsOnColumn()) {
            alignRowByColumn(out[i], sequence->getAligned());
        } else {
            alignRow(out[i], sequence->getAligned());
        }
        if (reference_ && sequence != reference_ && !sequence->isTransient())
            markIdenticalResidues(out[i], sequence->getAligned());
        applyResidueStyles(out[i], sequenceIndexes[i]);
    }
    return true;
}

void Alignment::setReference(boost::shared_ptr<Sequence> reference, char identicalCode) {
    if (reference == reference_ && identicalCode == identicalCode_) return;
    reference_ = std::move(reference);
    identicalCode_ = identicalCode;
    touch();
}

void Alignment::markIdenticalResidues(std::vector<Residue>& out, const std::string& text) const {
    const std::string& reference = reference_->getAligned();
    const std::size_t end = std::min({out.size(), text.size(), reference.size()});
    for (std::size_t column = 0; column < end; ++column) {
        const char code = text[column];
        if (IsGap(code) || std::toupper(static_cast<unsigned char>(code)) !=
                               std::toupper(static_cast<unsigned char>(reference[column])))
            continue;
        out[column] = Residue(identicalCode_);
    }
}

void Alignment::prepareScheme() const {
    if (showConsensus_) refreshConsensus();  // the scheme must see the final consensus text
    const std::uint64_t current = revision();
    if (current == schemePreparedRevision_ && preparedScheme_ == scheme_.get()) return;
    scheme_->prepare(*this);
    codeTable_.clear();
    columnTable_.clear();
    if (scheme_->dependsOnColumn()) {
        buildColumnTables();
    } else {
        buildCodeTable();
    }
    schemePreparedRevision_ = current;
    preparedScheme_ = scheme_.get();
}

void Alignment::buildCodeTable() const {
    codeTable_.reserve(kCodeCount);
    for (unsigned code = 0; code < kCodeCount; ++code) {
        ResidueColors colors = scheme_->colorsFor(char(code), 0);
        codeTable_.emplace_back(char(code), colors.background, colors.text);
    }
}

std::vector<char> Alignment::usedCodes() const {
    std::vector<bool> used(kCodeCount, false);
    auto markUsed = [&used](const boost::shared_ptr<Sequence>& sequence) {
        if (!sequence) return;
        for (char c : sequence->getAligned()) used[CodeOf(c)] = true;
    };
    for (const auto& sequence : sequences_) markUsed(sequence);
    if (showConsensus_) markUsed(consensus_);
    std::vector<char> codes;
    for (unsigned code = 0; code < kCodeCount; ++code) {
        if (used[code]) codes.push_back(char(code));
    }
    return codes;
}

void Alignment::buildColumnTables() const {
    // Only the codes that occur get a slot: columns x used codes stays small.
    const std::vector<char> codes = usedCodes();
    usedCodeSlot_.assign(kCodeCount, 0);
    for (std::size_t slot = 0; slot < codes.size(); ++slot)
        usedCodeSlot_[CodeOf(codes[slot])] = std::uint8_t(slot);
    usedCodeCount_ = unsigned(codes.size());
    const unsigned columns = derived().columns;
    columnTable_.reserve(std::size_t(columns) * usedCodeCount_);
    for (unsigned column = 0; column < columns; ++column) {
        for (char code : codes) {
            ResidueColors colors = scheme_->colorsFor(code, column);
            columnTable_.emplace_back(code, colors.background, colors.text);
        }
    }
}

void Alignment::alignRow(std::vector<Residue>& out, const std::string& text) const {
    const std::size_t length = text.size();
    out.resize(length);
    const Residue* table = codeTable_.data();
    const char* codes = text.data();
    Residue* target = out.data();
    for (std::size_t column = 0; column < length; ++column) target[column] = table[CodeOf(codes[column])];
}

void Alignment::alignRowByColumn(std::vector<Residue>& out, const std::string& text) const {
    const std::size_t length = text.size();
    out.resize(length);
    const std::size_t stride = usedCodeCount_;
    const bool tableCoversRow = stride != 0 && length * stride <= columnTable_.size();
    for (std::size_t column = 0; column < length; ++column) {
        const char code = text[column];
        if (tableCoversRow) {
            out[column] = columnTable_[column * stride + usedCodeSlot_[CodeOf(code)]];
        } else {
            // Only when the tables are out of step with the text; slow but correct.
            ResidueColors colors = scheme_->colorsFor(code, unsigned(column));
            out[column] = Residue(code, colors.background, colors.text);
        }
    }
}

void Alignment::applyResidueStyles(std::vector<Residue>& out, unsigned sequenceIndex) const {
    for (auto it = residueStyles_.lower_bound({sequenceIndex, 0u});
         it != residueStyles_.end() && it->first.first == sequenceIndex; ++it) {
        const unsigned column = it->first.second;
        if (column >= out.size()) break;
        Residue& residue = out[column];
        residue.setColorFilter(it->second.filterBits);
        residue.setMarkColors(it->second.colors);
        residue.setFontStyle(it->second.fontStyle);
    }
}

// ---- Geometry and revision
// ---------------------------------------------------------------------------------

unsigned Alignment::columnCount() const {
    return derived().columns;
}

const std::vector<unsigned>& Alignment::displayedIndexes() const {
    return derived().rowToSequence;
}

const Alignment::Derived& Alignment::derived() const {
    const std::uint64_t current = revision();
    if (derived_.revision == current) return derived_;
    derived_.rowToSequence.clear();
    derived_.columns = 0;
    for (std::size_t i = 0; i < sequences_.size(); ++i) {
        const auto& sequence = sequences_[i];
        if (!sequence) continue;
        derived_.columns = std::max(derived_.columns, unsigned(sequence->getAligned().size()));
        if (sequence->isDisplayed()) derived_.rowToSequence.push_back(unsigned(i));
    }
    if (showConsensus_ && consensus_ && consensus_->isDisplayed()) {
        derived_.rowToSequence.push_back(unsigned(sequences_.size()));
    }
    derived_.revision = current;
    return derived_;
}

std::uint64_t Alignment::revision() const {
    const std::uint64_t now = CurrentRevision();
    if (now == revisionCheckedAt_) return cachedRevision_;
    std::uint64_t latest = revision_;
    for (const auto& sequence : sequences_) {
        if (sequence) latest = std::max(latest, sequence->stamp());
    }
    if (showConsensus_ && consensus_) latest = std::max(latest, consensus_->stamp());
    cachedRevision_ = latest;
    revisionCheckedAt_ = now;
    return cachedRevision_;
}

void Alignment::touch() {
    revision_ = NextRevision();
}

}  // namespace SDM
