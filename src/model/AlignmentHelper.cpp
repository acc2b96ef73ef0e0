#include "model/AlignmentHelper.h"

#include <algorithm>

namespace Corvane {

namespace {

constexpr unsigned kNoRow = 0xFFFFFFFFu;

// Length in characters: UTF-8 continuation bytes do not count.
std::size_t CharacterCount(const std::string& text) {
    return std::size_t(std::count_if(text.begin(), text.end(),
                                     [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A structure counts only with exactly one letter per residue.
bool HasUsableStructure(const SDM::AASequence& sequence, const std::string& key) {
    const auto& structure = sequence.getSecondaryStructure(key);
    if (!structure) return false;
    std::string letters;
    structure->GetHSCStructure(letters);
    return !letters.empty() && letters.size() == sequence.size();
}

}  // namespace

AlignmentHelper::AlignmentHelper(SQV::SVAlignment& view)
    : alignment(view.GetModelAlignment()), userProperties(&view.GetUserProperties()) {
    if (!alignment) return;
    const unsigned count = alignment->size();
    if (alignment->getShowConsensus()) {
        // A consensus of fewer than two sequences says nothing: switch it off for good.
        std::vector<unsigned> nonTransient;
        alignment->getNonTransientIndexes(nonTransient, true);
        if (nonTransient.size() < 2) alignment->setShowConsensus(false);
    }
    // The count is read before the consensus may be switched off; its index then simply has no sequence.
    sequenceCount = count;
    // Asking for the consensus brings it up to date; the model keeps its displayed list between calls, so a
    // helper per frame does not walk every sequence.
    if (alignment->getShowConsensus()) alignment->getSequence(alignment->size() - 1);
    rows = alignment->displayedIndexes();
}

// ---- Row list ------------------------------------------------------------------------------------------

bool AlignmentHelper::HasRows() const {
    return alignment && !rows.empty();
}

unsigned AlignmentHelper::RowCount() const {
    return unsigned(rows.size());
}

int AlignmentHelper::SequenceOfRow(unsigned row) const {
    return row < rows.size() ? int(rows[row]) : -1;
}

unsigned AlignmentHelper::RowOfSequence(unsigned sequenceIndex) const {
    if (rowOfSequence.empty() && !rows.empty()) {  // built on first use: frames never ask
        rowOfSequence.assign(sequenceCount, kNoRow);
        for (unsigned row = 0; row < rows.size(); ++row)
            if (rows[row] < sequenceCount) rowOfSequence[rows[row]] = row;
    }
    return sequenceIndex < rowOfSequence.size() ? rowOfSequence[sequenceIndex] : kNoRow;
}

void AlignmentHelper::MapSequencesToRows(std::vector<unsigned>& list) const {
    std::vector<unsigned> mapped;
    mapped.reserve(list.size());
    for (unsigned sequenceIndex : list) {
        const unsigned row = RowOfSequence(sequenceIndex);
        if (row != kNoRow) mapped.push_back(row);
    }
    list.swap(mapped);
}

boost::shared_ptr<SDM::Sequence> AlignmentHelper::GetSequence(unsigned row) const {
    if (!alignment || row >= rows.size()) return boost::shared_ptr<SDM::Sequence>();
    return alignment->getSequence(rows[row]);
}

// ---- Alignment-wide queries -----------------------------------------------------------------------------

unsigned AlignmentHelper::GetMaxTotalLength() const {
    return alignment ? alignment->getSeqAlign().getMaxTotalLength() : 0;
}

bool AlignmentHelper::GetShowConsensus() const {
    return alignment && alignment->getShowConsensus();
}

bool AlignmentHelper::IsSecondaryStructureShown() const {
    return alignment && alignment->IsSecondaryStructureShown();
}

bool AlignmentHelper::IsSecondaryStructureVisible(const std::string& key) const {
    return alignment && alignment->IsSecondaryStructureVisible(key);
}

std::set<std::string> AlignmentHelper::GetSecondaryStructureKeys() const {
    std::set<std::string> keys;
    if (!HasRows()) return keys;
    const SDM::SequenceClass sequenceClass = alignment->GetSequenceClass();
    for (unsigned row = 0; row < RowCount(); ++row) {
        boost::shared_ptr<SDM::Sequence> sequence = GetSequence(row);
        if (auto* aa = dynamic_cast<const SDM::AASequence*>(sequence.get());
            aa && sequenceClass == SDM::AminoAcid) {
            for (const auto& [key, structure] : aa->getSecondaryStructure())
                if (structure) keys.insert(key);
        } else if (auto* rna = dynamic_cast<const SDM::NASequence*>(sequence.get());
                   rna && sequenceClass == SDM::NucleicAcid) {
            for (const auto& [key, notation] : rna->getPairingStructures())
                if (!notation.empty()) keys.insert(key);
        }
    }
    return keys;
}

void AlignmentHelper::Align(std::vector<std::vector<SDM::Residue>>& out) const {
    // The model sizes and overwrites every row; keeping the vectors lets a layout pass reuse their memory
    // instead of freeing and zero-filling the whole table again.
    if (alignment) {
        alignment->align(out, rows);
    } else {
        out.clear();
    }
}

// ---- Per-residue and per-row state ----------------------------------------------------------------------

bool AlignmentHelper::IsSelected(unsigned first, unsigned count, unsigned row) const {
    // Callers pass rows of the list; an out-of-range row answers false rather than reading past it.
    if (!alignment || row >= rows.size()) return false;
    return alignment->getSelection().isSelected(first, count, rows[row]);
}

bool AlignmentHelper::AllSelected(unsigned row) const {
    if (!alignment || row >= rows.size()) return false;
    return alignment->allSelected(rows[row], false);
}

// The model takes the view row itself for both queries; only the argument order differs.
bool AlignmentHelper::IsInFixedBlock(unsigned column, unsigned row) const {
    if (!alignment || rows.empty()) return false;
    return alignment->isInFixedBlock(row, column);
}

bool AlignmentHelper::IsMasked(unsigned column, unsigned row) const {
    if (!alignment || rows.empty()) return false;
    return alignment->isMasked(column, row);
}

// ---- User properties ------------------------------------------------------------------------------------

bool AlignmentHelper::GetFontChanged() const {
    bool changed = false;
    userProperties->GetBoolProperty(SQC::UserProperties::FontChanged, changed);
    return changed;
}

void AlignmentHelper::SetFontChanged(bool changed) const {
    userProperties->SetBoolProperty(SQC::UserProperties::FontChanged, changed);
}

void AlignmentHelper::SetFitToWidthValue(int value) const {
    userProperties->SetIntProperty(SQC::UserProperties::WVFitToWidthValueKey, value);
}

unsigned AlignmentHelper::GetSSGapColor() const {
    unsigned color = 0;
    userProperties->GetColorProperty(SQC::UserProperties::SSGapColorKey, color);
    return color;
}

unsigned AlignmentHelper::GetSSColor(int kind) const {
    const std::string* key = nullptr;
    switch (kind) {
        case 0:
            key = &SQC::UserProperties::SSHelixColorKey;
            break;
        case 1:
            key = &SQC::UserProperties::SSSheetColorKey;
            break;
        case 2:
            key = &SQC::UserProperties::SSCoilColorKey;
            break;
        default:
            return 0;
    }
    unsigned color = 0;
    userProperties->GetColorProperty(*key, color);
    return color;
}

int AlignmentHelper::GetRulerDragOffset() const {
    int offset = 1;
    userProperties->GetIntProperty(SQC::UserProperties::RulerDragOffset, offset);
    return offset;
}

int AlignmentHelper::GetCurrSeqIndex() const {
    int index = -1;
    userProperties->GetIntProperty(SQC::UserProperties::CurrSeqIndex, index);
    return index;
}

// ---- Row labels -----------------------------------------------------------------------------------------

std::string ShownDefline(const SDM::Sequence& sequence) {
    const std::string& defline = sequence.getDefline();
    if (defline.size() <= kMaxLabelBytes) return defline;
    std::size_t end = kMaxLabelBytes;
    while (end > 0 && (static_cast<unsigned char>(defline[end]) & 0xC0) == 0x80) --end;  // a UTF-8 start
    return defline.substr(0, end) + "\xE2\x80\xA6";                                      // "…"
}

std::string MakeRowLabel(const SDM::Sequence& sequence) {
    return std::string(sequence.isIndented() ? "   " : " ") + ShownDefline(sequence);
}

std::string MakeStructureLineLabel(const SDM::Sequence& sequence, const std::string& key) {
    return MakeRowLabel(sequence) + "(" + key + ")";
}

std::string MakeAnnotationLabel(const std::string& label) {
    return " " + label;
}

bool HasLabelMarker(const SDM::Sequence& sequence, bool showConsensus) {
    return sequence.isIndented() || (showConsensus && sequence.isTransient());
}

void FindLongestRowLabel(const AlignmentHelper& helper, std::string& longest, bool withSecondaryStructureKeys,
                         std::vector<unsigned> rowList,
                         const std::function<double(const std::string&)>& width) {
    if (rowList.empty()) {
        for (unsigned row = 0; row < helper.RowCount(); ++row) rowList.push_back(row);
    }
    const bool showConsensus = helper.GetShowConsensus();
    double longestLength = 0;
    const auto consider = [&](std::string label) {
        const double length = width ? width(label) : double(CharacterCount(label));
        if (length > longestLength) {
            longestLength = length;
            longest = std::move(label);
        }
    };
    for (unsigned row : rowList) {
        boost::shared_ptr<SDM::Sequence> sequence = helper.GetSequence(row);
        if (!sequence) continue;
        std::string label = MakeRowLabel(*sequence);
        if (HasLabelMarker(*sequence, showConsensus)) label += "        ";
        consider(std::move(label));
        // Each structure line has a label of its own, "defline(key)": the widest drawn, not all keys in one.
        if (!withSecondaryStructureKeys) continue;
        if (auto* aa = dynamic_cast<const SDM::AASequence*>(sequence.get())) {
            for (const auto& entry : aa->getSecondaryStructure())
                if (HasUsableStructure(*aa, entry.first)) consider(MakeStructureLineLabel(*aa, entry.first));
        } else if (auto* rna = dynamic_cast<const SDM::NASequence*>(sequence.get())) {
            for (const auto& entry : rna->getPairingStructures())
                if (!entry.second.empty()) consider(MakeStructureLineLabel(*rna, entry.first));
        }
    }
}

}  // namespace Corvane
