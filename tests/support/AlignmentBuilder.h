#pragma once

#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

namespace testsupport {

/// What AlignmentBuilder::Build hands out: the model and a view over it, already Update()d.
struct BuiltAlignment {
    boost::shared_ptr<SDM::Alignment> model;
    std::unique_ptr<SQV::SVAlignment> view;

    SQC::UserPropertiesBase& properties() { return view->GetUserProperties(); }
    /// The model's sequence at a sequence index (empty for an empty entry or an index out of range).
    boost::shared_ptr<SDM::Sequence> sequence(unsigned index) const { return model->getSequence(index); }
};

/// States an alignment in a few lines for tests:
///
///     testsupport::AlignmentBuilder b(SDM::AminoAcid);
///     b.Seq("seq1", "MK-LV").Structure("alpha", "HHCS")   // one letter per residue
///      .Seq("seq2", "MKALV").Hidden()
///      .Select(0, 1, 3).Mask(1, 0, 2).FixedBlock(2, 4).Consensus(false);
///     testsupport::BuiltAlignment a = b.Build();
///
/// Sequence-level calls (Structure, Hidden, Indented) apply to the last Seq. Column ranges are inclusive
/// and sequence indexes count every entry, empty ones included. Build() may be called more than once;
/// each call makes fresh objects.
class AlignmentBuilder {
public:
    explicit AlignmentBuilder(SDM::SequenceClass sequenceClass = SDM::AminoAcid);

    // Sequences. AminoAcid alignments get AASequence, NucleicAcid ones NASequence, others plain Sequence.
    AlignmentBuilder& Seq(const std::string& defline, const std::string& aligned);
    /// A null entry in the model's sequence list.
    AlignmentBuilder& EmptyEntry();
    /// Secondary structure of the last sequence: one letter per residue for amino acids, pairing notation
    /// ("((..))") one letter per column for nucleic acids; ignored otherwise.
    AlignmentBuilder& Structure(const std::string& key, const std::string& letters);
    /// A key whose structure pointer is empty.
    AlignmentBuilder& NullStructure(const std::string& key);
    AlignmentBuilder& Hidden();
    AlignmentBuilder& Indented();

    // Alignment state.
    AlignmentBuilder& Select(unsigned sequenceIndex, unsigned firstColumn, unsigned lastColumn);
    AlignmentBuilder& Mask(unsigned sequenceIndex, unsigned firstColumn, unsigned lastColumn);
    AlignmentBuilder& FixedBlock(unsigned firstColumn, unsigned lastColumn);
    AlignmentBuilder& Consensus(bool show);
    AlignmentBuilder& StructuresShown(bool shown);
    AlignmentBuilder& StructureVisible(const std::string& key, bool visible);
    AlignmentBuilder& Mark(unsigned sequenceIndex, unsigned column, unsigned filterBits,
                           const SDM::MarkColors& colors);
    AlignmentBuilder& Style(unsigned sequenceIndex, unsigned column, SDM::FontStyle style);
    AlignmentBuilder& Scheme(boost::shared_ptr<SDM::ColorScheme> scheme);

    // User properties of the view.
    AlignmentBuilder& BoolProperty(const std::string& key, bool value);
    AlignmentBuilder& IntProperty(const std::string& key, int value);
    AlignmentBuilder& ColorProperty(const std::string& key, unsigned value);

    BuiltAlignment Build() const;

private:
    struct SequenceSpec {
        bool empty = false;
        std::string defline;
        std::string aligned;
        bool hidden = false;
        bool indented = false;
        std::vector<std::pair<std::string, std::string>> structures;  // key, letters
        std::vector<std::string> nullStructures;
    };
    struct MarkSpec {
        unsigned sequenceIndex;
        unsigned column;
        unsigned filterBits;
        SDM::MarkColors colors;
    };
    struct StyleSpec {
        unsigned sequenceIndex;
        unsigned column;
        SDM::FontStyle style;
    };
    struct ColumnRange {
        unsigned sequenceIndex;
        unsigned first;
        unsigned last;
    };

    SequenceSpec* lastSequence();
    boost::shared_ptr<SDM::Sequence> makeSequence(const SequenceSpec& spec) const;
    void applyState(SDM::Alignment& model) const;
    void applyProperties(SQC::UserPropertiesBase& properties) const;

    SDM::SequenceClass sequenceClass_;
    std::vector<SequenceSpec> sequences_;
    std::vector<ColumnRange> selections_;
    std::vector<ColumnRange> masks_;
    std::vector<std::pair<unsigned, unsigned>> fixedBlocks_;
    bool consensus_ = false;
    bool structuresShown_ = true;
    std::vector<std::pair<std::string, bool>> structureVisibility_;
    std::vector<MarkSpec> marks_;
    std::vector<StyleSpec> styles_;
    boost::shared_ptr<SDM::ColorScheme> scheme_;
    std::vector<std::pair<std::string, bool>> boolProperties_;
    std::vector<std::pair<std::string, int>> intProperties_;
    std::vector<std::pair<std::string, unsigned>> colorProperties_;
};

}  // namespace testsupport
