#pragma once

#include <boost/shared_ptr.hpp>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdm/ColorScheme.h"
#include "sdm/Residue.h"
#include "sdm/Selection.h"
#include "sdm/SeqAlign.h"
#include "sdm/Sequence.h"
#include "sdm/Types.h"

namespace SDM {

/// One line of a file's annotation: a text per column for the whole alignment (Stockholm #=GC SS_cons,
/// RF...), or an annotation kind the readers do not keep, named by its tag and first line.
struct ColumnAnnotation {
    std::string tag;
    std::string text;
    long line = 0;
};

/// An in-memory multiple sequence alignment: sequences (entries may be empty pointers), selection,
/// fixed column blocks, masks, display switches, a colour scheme and per-residue marks.
///
/// Fixed blocks and masks are queried with a view row: the position among the displayed, non-empty
/// sequences, as views number their rows.
class Alignment {
public:
    Alignment();
    ~Alignment();
    Alignment(const Alignment&) = delete;
    Alignment& operator=(const Alignment&) = delete;

    // Sequences. Indexes cover the stored sequences and, while the consensus is shown, the consensus
    // sequence after them.
    unsigned size() const;
    boost::shared_ptr<Sequence> getSequence(unsigned index) const;
    void addSequence(boost::shared_ptr<Sequence> sequence);
    void insertSequence(unsigned index, boost::shared_ptr<Sequence> sequence);
    void removeSequence(unsigned index);
    /// Index of the first sequence with this defline, or -1.
    int findSequence(const std::string& defline) const;

    // Consensus: a transient sequence, the last index while shown. Per column the most frequent non-gap
    // code of the non-transient sequences (hidden ones too; ties go to the lower character code), '-'
    // where all are gaps. Recomputed lazily when the revision changes.
    bool getShowConsensus() const { return showConsensus_; }
    void setShowConsensus(bool show);
    void getNonTransientIndexes(std::vector<unsigned>& out, bool displayedOnly) const;
    /// Labels every sequence read from the file by its identifier or its whole title line, with ranges of
    /// the residues in columns [firstColumn, lastColumn] (Sequence::showName).
    void showNames(NameStyle style, bool withRanges, unsigned firstColumn = 0,
                   unsigned lastColumn = UINT_MAX);

    SequenceClass GetSequenceClass() const { return sequenceClass_; }
    void SetSequenceClass(SequenceClass sequenceClass);

    // Secondary structure display switches.
    bool IsSecondaryStructureShown() const { return secondaryStructureShown_; }
    void SetSecondaryStructureShown(bool shown);
    /// Keys are visible unless hidden.
    bool IsSecondaryStructureVisible(const std::string& key) const;
    void SetSecondaryStructureVisible(const std::string& key, bool visible);

    // Selection.
    Selection& getSelection() { return selection_; }
    const Selection& getSelection() const { return selection_; }
    /// True when every residue column of the sequence is selected; with `includeGaps`, every column of
    /// its aligned text, gaps included. False for a sequence without residues or an index out of range.
    bool allSelected(unsigned sequenceIndex, bool includeGaps) const;
    void selectionChanged() { touch(); }

    // Fixed blocks: column ranges, fixed in every row.
    void addFixedBlock(unsigned firstColumn, unsigned lastColumn);
    void clearFixedBlocks();
    bool isInFixedBlock(unsigned row, unsigned column) const;

    // Masks: column ranges of one sequence, drawn white on white.
    void addMask(unsigned sequenceIndex, unsigned firstColumn, unsigned lastColumn);
    void clearMasks();
    bool isMasked(unsigned column, unsigned row) const;

    /// The sequence the others are compared with; empty for none. In align(), a residue of another file
    /// sequence that is the same letter (any case) as the reference's in its column becomes `identicalCode`
    /// ('.', or ' ' to leave it blank) in black on white; differences keep the scheme's colours.
    void setReference(boost::shared_ptr<Sequence> reference, char identicalCode = '.');
    boost::shared_ptr<Sequence> getReference() const { return reference_; }

    // Colours.
    void setColorScheme(boost::shared_ptr<ColorScheme> scheme);
    boost::shared_ptr<ColorScheme> getColorScheme() const { return scheme_; }
    /// Marks one residue: the colour-filter bits (ColorFilterBits) and the mark colours.
    void setResidueMarks(unsigned sequenceIndex, unsigned column, unsigned filterBits,
                         const MarkColors& colors);
    void setResidueFontStyle(unsigned sequenceIndex, unsigned column, FontStyle style);
    void clearResidueMarks();

    /// Fills one vector of residues per listed sequence index, in list order, indexed by column, as long
    /// as that sequence's aligned text (not padded); an empty vector for an index without a sequence.
    bool align(std::vector<std::vector<Residue>>& out, const std::vector<unsigned>& sequenceIndexes) const;

    // The file's own annotations of the whole alignment, in file order, and what the reader did not keep.
    const std::vector<ColumnAnnotation>& columnAnnotations() const { return columnAnnotations_; }
    void addColumnAnnotation(ColumnAnnotation annotation) {
        columnAnnotations_.push_back(std::move(annotation));
    }
    const std::vector<ColumnAnnotation>& skippedAnnotations() const { return skippedAnnotations_; }
    void addSkippedAnnotation(ColumnAnnotation annotation) {
        skippedAnnotations_.push_back(std::move(annotation));
    }

    SeqAlign& getSeqAlign() { return seqAlign_; }
    const SeqAlign& getSeqAlign() const { return seqAlign_; }
    /// Number of columns: the longest aligned text.
    unsigned columnCount() const;
    /// Indexes of the displayed sequences in order, the consensus last once computed and while it is shown
    /// and displayed. Kept until the revision moves, so asking on every frame costs nothing.
    const std::vector<unsigned>& displayedIndexes() const;

    /// Changes whenever the alignment or one of its sequences changes. Selection edits made through
    /// getSelection() count only after selectionChanged(). Cheap while nothing changed anywhere.
    std::uint64_t revision() const;
    void touch();

private:
    struct ResidueStyle {
        unsigned filterBits = 0;
        MarkColors colors;
        int fontStyle = 0;
    };
    // Facts derived from the sequences, rebuilt when the revision moves.
    struct Derived {
        std::uint64_t revision = 0;
        std::vector<unsigned> rowToSequence;  // view rows: displayed, non-empty sequences
        unsigned columns = 0;
    };

    int sequenceIndexOfRow(unsigned row) const;
    void refreshConsensus() const;
    std::string computeConsensus() const;
    const Derived& derived() const;
    void prepareScheme() const;
    void buildCodeTable() const;
    void buildColumnTables() const;
    std::vector<char> usedCodes() const;
    void alignRow(std::vector<Residue>& out, const std::string& text) const;
    void alignRowByColumn(std::vector<Residue>& out, const std::string& text) const;
    void applyResidueStyles(std::vector<Residue>& out, unsigned sequenceIndex) const;
    void markIdenticalResidues(std::vector<Residue>& out, const std::string& text) const;
    void shiftResidueStyles(unsigned sequenceIndex, bool inserted);

    std::vector<boost::shared_ptr<Sequence>> sequences_;
    mutable boost::shared_ptr<ConsensusSequence> consensus_;
    mutable std::uint64_t consensusRevision_ = 0;
    bool showConsensus_ = false;
    boost::shared_ptr<Sequence> reference_;
    char identicalCode_ = '.';
    SequenceClass sequenceClass_ = UnknownClass;
    bool secondaryStructureShown_ = true;
    std::map<std::string, bool> hiddenStructureKeys_;
    Selection selection_;
    std::vector<Selection::Range> fixedBlocks_;
    Selection masks_;  // per sequence index, masked column ranges
    boost::shared_ptr<ColorScheme> scheme_;
    std::map<std::pair<unsigned, unsigned>, ResidueStyle> residueStyles_;  // (sequence, column)
    SeqAlign seqAlign_;
    std::vector<ColumnAnnotation> columnAnnotations_;
    std::vector<ColumnAnnotation> skippedAnnotations_;
    std::uint64_t revision_ = 1;

    mutable Derived derived_;
    mutable std::uint64_t revisionCheckedAt_ = 0;  // global counter when revision() last scanned
    mutable std::uint64_t cachedRevision_ = 0;
    mutable std::uint64_t schemePreparedRevision_ = 0;
    mutable const ColorScheme* preparedScheme_ = nullptr;  // not owned; identity check only
    // Lookup tables of the colour scheme, valid for schemePreparedRevision_.
    mutable std::vector<Residue> codeTable_;          // 256 entries, column-independent schemes
    mutable std::vector<Residue> columnTable_;        // columns x used codes, column-dependent schemes
    mutable std::vector<std::uint8_t> usedCodeSlot_;  // code -> slot in a column of columnTable_
    mutable unsigned usedCodeCount_ = 0;
};

}  // namespace SDM
