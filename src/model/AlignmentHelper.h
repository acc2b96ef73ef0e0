#pragma once

#include <boost/shared_ptr.hpp>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

namespace Corvane {

/// The renderer's one view of the model: which sequences get a row (displayed, non-empty, in model order),
/// the translations between rows and sequence indexes, and guarded forwards to the model and the user
/// properties. Built for one call and thrown away; a change of the model needs a new helper. Building it
/// is linear in the sequences; every row and sequence translation after that takes constant time.
class AlignmentHelper {
public:
    explicit AlignmentHelper(SQV::SVAlignment& view);

    // Row list.
    bool HasRows() const;
    unsigned RowCount() const;
    int SequenceOfRow(unsigned row) const;
    unsigned RowOfSequence(unsigned sequenceIndex) const;  // 0xFFFFFFFF when the sequence has no row
    void MapSequencesToRows(std::vector<unsigned>& list) const;
    boost::shared_ptr<SDM::Sequence> GetSequence(unsigned row) const;

    // Alignment-wide queries.
    unsigned GetMaxTotalLength() const;
    bool GetShowConsensus() const;
    bool IsSecondaryStructureShown() const;
    bool IsSecondaryStructureVisible(const std::string& key) const;
    std::set<std::string> GetSecondaryStructureKeys() const;
    void Align(std::vector<std::vector<SDM::Residue>>& out) const;

    // Per-residue and per-row state. Both mark queries take (column, row).
    bool IsSelected(unsigned first, unsigned count, unsigned row) const;
    bool AllSelected(unsigned row) const;
    bool IsInFixedBlock(unsigned column, unsigned row) const;
    bool IsMasked(unsigned column, unsigned row) const;

    // User properties.
    bool GetFontChanged() const;
    void SetFontChanged(bool changed) const;
    void SetFitToWidthValue(int value) const;
    unsigned GetSSGapColor() const;
    unsigned GetSSColor(int kind) const;
    int GetRulerDragOffset() const;
    int GetCurrSeqIndex() const;

private:
    boost::shared_ptr<SDM::Alignment> alignment;
    SQC::UserPropertiesBase* userProperties;      // not owned; the view-side alignment keeps it
    std::vector<unsigned> rows;                   // row -> sequence index
    unsigned sequenceCount = 0;                   // of the model, the consensus included
    mutable std::vector<unsigned> rowOfSequence;  // sequence index -> row, 0xFFFFFFFF for none; lazy
};

/// Bytes of a defline that a label shows; a longer one is cut (at a character) and ends in an ellipsis, so
/// that one name cannot make the name column many times wider than any residue area.
constexpr std::size_t kMaxLabelBytes = 256;
/// The defline as labels show it: whole, or cut to kMaxLabelBytes with an ellipsis.
std::string ShownDefline(const SDM::Sequence& sequence);
/// One space, two more when the sequence is indented, then the shown defline.
std::string MakeRowLabel(const SDM::Sequence& sequence);
/// A secondary-structure line's label, "defline(key)", indented as its sequence's row label.
std::string MakeStructureLineLabel(const SDM::Sequence& sequence, const std::string& key);
/// An annotation row's label, indented as the names above it.
std::string MakeAnnotationLabel(const std::string& label);
/// Whether the label is marked: an indented sequence, or a transient one while the consensus is shown.
bool HasLabelMarker(const SDM::Sequence& sequence, bool showConsensus);
/// The widest label of the listed rows (all rows when the list is empty) as `width` measures them (by
/// default its characters): a row's label, or, when asked, one of its secondary-structure lines' labels
/// "defline(key)"; ties keep the earlier one. `longest` is untouched when no visited row has a sequence.
void FindLongestRowLabel(const AlignmentHelper& helper, std::string& longest, bool withSecondaryStructureKeys,
                         std::vector<unsigned> rowList,
                         const std::function<double(const std::string&)>& width = {});

}  // namespace Corvane
