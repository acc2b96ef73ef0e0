#include "formats/ModelBuilder.h"

#include <algorithm>
#include <boost/make_shared.hpp>
#include <cctype>

#include "formats/ResidueText.h"
#include "sdm/schemes/ColorSchemes.h"
#include "sqv/UserProperties.h"

namespace Formats {

namespace {
// Share of nucleotide letters above which an alignment counts as DNA/RNA; leaves room for IUPAC codes.
constexpr double kNucleicShare = 0.9;

bool IsNucleotideLetter(char c) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
        case 'A':
        case 'C':
        case 'G':
        case 'T':
        case 'U':
        case 'N':
            return true;
        default:
            return false;
    }
}

// The file's structure letters at the residue columns of `aligned`, as written.
std::string ResidueLetters(const std::string& aligned, const std::string& dssp) {
    std::string letters;
    for (std::size_t column = 0; column < aligned.size() && column < dssp.size(); ++column)
        if (!SQC::SequenceConstants::IsGap(aligned[column])) letters.push_back(dssp[column]);
    return letters;
}

boost::shared_ptr<SDM::Sequence> MakeSequence(const ParsedRecord& record, SDM::SequenceClass sequenceClass) {
    if (sequenceClass == SDM::NucleicAcid) {
        auto sequence = boost::make_shared<SDM::NASequence>(record.name, record.aligned);
        sequence->setDescription(record.description);
        for (const auto& [key, pairing] : record.structures) sequence->setPairingStructure(key, pairing);
        return sequence;
    }
    auto sequence = boost::make_shared<SDM::AASequence>(record.name, record.aligned);
    sequence->setDescription(record.description);
    if (sequenceClass != SDM::AminoAcid) return sequence;  // nothing to attach structure to
    for (const auto& [key, dssp] : record.structures) {
        sequence->setSecondaryStructure(key, boost::make_shared<SDM::SecondaryStructure>(
                                                 ModelBuilder::ResidueStructure(record.aligned, dssp),
                                                 ResidueLetters(record.aligned, dssp)));
    }
    return sequence;
}

bool CheckStructureLengths(const ParsedRecord& record, ReadError& error) {
    for (const auto& [key, dssp] : record.structures) {
        const auto line = record.structureLines.find(key);
        const long where = line == record.structureLines.end() ? record.line : line->second;
        const std::string what = "secondary structure '" + key + "' of '" + record.name + "'";
        // One byte per column: a letter outside ASCII is named as such, not counted in bytes.
        const auto wide = std::find_if(dssp.begin(), dssp.end(), [](char c) { return (c & 0x80) != 0; });
        if (wide != dssp.end())
            return Fail(
                error, where,
                what + " has a character outside ASCII at column " +
                    std::to_string(
                        std::count_if(dssp.begin(), wide,
                                      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }) +
                        1) +
                    ": expected one ASCII structure letter per column");
        if (dssp.size() != record.aligned.size())
            return Fail(error, where,
                        what + " has " + std::to_string(dssp.size()) + " columns, expected " +
                            std::to_string(record.aligned.size()) + " like its sequence");
    }
    return true;
}
// Column annotations whose text is as long as the alignment are kept; others are named as skipped, with
// their length, rather than drawn against the wrong columns.
void AddAnnotations(const ParsedAlignment& parsed, SDM::Alignment& alignment) {
    const std::size_t columns = parsed.records.front().aligned.size();
    for (const ParsedAnnotation& annotation : parsed.columnAnnotations) {
        if (annotation.text.size() == columns)
            alignment.addColumnAnnotation({annotation.tag, annotation.text, annotation.line});
        else
            alignment.addSkippedAnnotation({annotation.tag + " (" + std::to_string(annotation.text.size()) +
                                                " columns, expected " + std::to_string(columns) + ")",
                                            std::string(), annotation.line});
    }
    for (const ParsedAnnotation& annotation : parsed.skippedAnnotations)
        alignment.addSkippedAnnotation({annotation.tag, std::string(), annotation.line});
}
}  // namespace

SDM::SequenceClass ModelBuilder::Classify(const ParsedAlignment& parsed) {
    std::size_t letters = 0;
    std::size_t nucleotides = 0;
    for (const ParsedRecord& record : parsed.records) {
        for (char c : record.aligned) {
            if (!std::isalpha(static_cast<unsigned char>(c))) continue;
            ++letters;
            if (IsNucleotideLetter(c)) ++nucleotides;
        }
    }
    if (letters == 0) return SDM::UnknownClass;
    return double(nucleotides) >= kNucleicShare * double(letters) ? SDM::NucleicAcid : SDM::AminoAcid;
}

std::string ModelBuilder::ResidueStructure(const std::string& aligned, const std::string& dssp) {
    std::string letters;
    for (std::size_t column = 0; column < aligned.size(); ++column) {
        if (SQC::SequenceConstants::IsGap(aligned[column])) continue;
        letters.push_back(column < dssp.size() ? SDM::SecondaryStructure::ModelLetter(dssp[column]) : 'C');
    }
    return letters;
}

boost::shared_ptr<SDM::Alignment> ModelBuilder::Build(const ParsedAlignment& parsed, ReadError& error) {
    if (parsed.records.empty()) {
        Fail(error, 0, "no sequences found: expected at least one sequence");
        return {};
    }
    if (!CheckEqualLengths(parsed, error)) return {};
    for (const ParsedRecord& record : parsed.records) {
        if (!CheckStructureLengths(record, error)) return {};
    }
    const SDM::SequenceClass sequenceClass = Classify(parsed);
    auto alignment = boost::make_shared<SDM::Alignment>();
    alignment->SetSequenceClass(sequenceClass);
    for (const ParsedRecord& record : parsed.records)
        alignment->addSequence(MakeSequence(record, sequenceClass));
    alignment->setColorScheme(SDM::MakeColorScheme(SDM::DefaultSchemeName(sequenceClass)));
    AddAnnotations(parsed, *alignment);
    return alignment;
}

}  // namespace Formats
