#include "support/AlignmentBuilder.h"

#include <boost/make_shared.hpp>

namespace testsupport {

AlignmentBuilder::AlignmentBuilder(SDM::SequenceClass sequenceClass) : sequenceClass_(sequenceClass) {}

AlignmentBuilder& AlignmentBuilder::Seq(const std::string& defline, const std::string& aligned) {
    SequenceSpec spec;
    spec.defline = defline;
    spec.aligned = aligned;
    sequences_.push_back(spec);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::EmptyEntry() {
    SequenceSpec spec;
    spec.empty = true;
    sequences_.push_back(spec);
    return *this;
}

AlignmentBuilder::SequenceSpec* AlignmentBuilder::lastSequence() {
    return sequences_.empty() || sequences_.back().empty ? nullptr : &sequences_.back();
}

AlignmentBuilder& AlignmentBuilder::Structure(const std::string& key, const std::string& letters) {
    if (SequenceSpec* spec = lastSequence()) spec->structures.emplace_back(key, letters);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::NullStructure(const std::string& key) {
    if (SequenceSpec* spec = lastSequence()) spec->nullStructures.push_back(key);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Hidden() {
    if (SequenceSpec* spec = lastSequence()) spec->hidden = true;
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Indented() {
    if (SequenceSpec* spec = lastSequence()) spec->indented = true;
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Select(unsigned sequenceIndex, unsigned firstColumn,
                                           unsigned lastColumn) {
    selections_.push_back({sequenceIndex, firstColumn, lastColumn});
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Mask(unsigned sequenceIndex, unsigned firstColumn, unsigned lastColumn) {
    masks_.push_back({sequenceIndex, firstColumn, lastColumn});
    return *this;
}

AlignmentBuilder& AlignmentBuilder::FixedBlock(unsigned firstColumn, unsigned lastColumn) {
    fixedBlocks_.emplace_back(firstColumn, lastColumn);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Consensus(bool show) {
    consensus_ = show;
    return *this;
}

AlignmentBuilder& AlignmentBuilder::StructuresShown(bool shown) {
    structuresShown_ = shown;
    return *this;
}

AlignmentBuilder& AlignmentBuilder::StructureVisible(const std::string& key, bool visible) {
    structureVisibility_.emplace_back(key, visible);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Mark(unsigned sequenceIndex, unsigned column, unsigned filterBits,
                                         const SDM::MarkColors& colors) {
    marks_.push_back({sequenceIndex, column, filterBits, colors});
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Style(unsigned sequenceIndex, unsigned column, SDM::FontStyle style) {
    styles_.push_back({sequenceIndex, column, style});
    return *this;
}

AlignmentBuilder& AlignmentBuilder::Scheme(boost::shared_ptr<SDM::ColorScheme> scheme) {
    scheme_ = std::move(scheme);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::BoolProperty(const std::string& key, bool value) {
    boolProperties_.emplace_back(key, value);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::IntProperty(const std::string& key, int value) {
    intProperties_.emplace_back(key, value);
    return *this;
}

AlignmentBuilder& AlignmentBuilder::ColorProperty(const std::string& key, unsigned value) {
    colorProperties_.emplace_back(key, value);
    return *this;
}

boost::shared_ptr<SDM::Sequence> AlignmentBuilder::makeSequence(const SequenceSpec& spec) const {
    if (spec.empty) return boost::shared_ptr<SDM::Sequence>();
    boost::shared_ptr<SDM::Sequence> sequence;
    if (sequenceClass_ == SDM::AminoAcid) {
        auto aa = boost::make_shared<SDM::AASequence>(spec.defline, spec.aligned);
        for (const auto& [key, letters] : spec.structures) {
            aa->setSecondaryStructure(key, boost::make_shared<SDM::SecondaryStructure>(letters));
        }
        for (const auto& key : spec.nullStructures) aa->setSecondaryStructure(key, nullptr);
        sequence = aa;
    } else if (sequenceClass_ == SDM::NucleicAcid) {
        auto rna = boost::make_shared<SDM::NASequence>(spec.defline, spec.aligned);
        for (const auto& [key, notation] : spec.structures) rna->setPairingStructure(key, notation);
        sequence = rna;
    } else {
        sequence = boost::make_shared<SDM::Sequence>(spec.defline, spec.aligned);
    }
    sequence->setDisplayed(!spec.hidden);
    sequence->setIndented(spec.indented);
    return sequence;
}

void AlignmentBuilder::applyState(SDM::Alignment& model) const {
    model.SetSequenceClass(sequenceClass_);
    for (const auto& spec : sequences_) model.addSequence(makeSequence(spec));
    for (const auto& range : selections_)
        model.getSelection().select(range.sequenceIndex, range.first, range.last);
    model.selectionChanged();
    for (const auto& range : masks_) model.addMask(range.sequenceIndex, range.first, range.last);
    for (const auto& [first, last] : fixedBlocks_) model.addFixedBlock(first, last);
    model.SetSecondaryStructureShown(structuresShown_);
    for (const auto& [key, visible] : structureVisibility_) model.SetSecondaryStructureVisible(key, visible);
    for (const auto& mark : marks_)
        model.setResidueMarks(mark.sequenceIndex, mark.column, mark.filterBits, mark.colors);
    for (const auto& style : styles_)
        model.setResidueFontStyle(style.sequenceIndex, style.column, style.style);
    if (scheme_) model.setColorScheme(scheme_);
    model.setShowConsensus(consensus_);
}

void AlignmentBuilder::applyProperties(SQC::UserPropertiesBase& properties) const {
    for (const auto& [key, value] : boolProperties_) properties.SetBoolProperty(key, value);
    for (const auto& [key, value] : intProperties_) properties.SetIntProperty(key, value);
    for (const auto& [key, value] : colorProperties_) properties.SetColorProperty(key, value);
}

BuiltAlignment AlignmentBuilder::Build() const {
    BuiltAlignment built;
    built.model = boost::make_shared<SDM::Alignment>();
    applyState(*built.model);
    built.view = std::make_unique<SQV::SVAlignment>(built.model);
    applyProperties(built.view->GetUserProperties());
    built.view->Update();
    return built;
}

}  // namespace testsupport
