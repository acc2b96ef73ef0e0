#include "formats/ModelBuilder.h"

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

char StructureLetter(char dssp) {
    switch (dssp) {
        case 'H':
        case 'G':
        case 'I':
            return 'H';
        case 'E':
        case 'B':
            return 'S';
        default:
            return 'C';
    }
}

std::string Defline(const ParsedRecord& record) {
    return record.description.empty() ? record.name : record.name + " " + record.description;
}

boost::shared_ptr<SDM::Sequence> MakeSequence(const ParsedRecord& record, SDM::SequenceClass sequenceClass) {
    if (sequenceClass == SDM::NucleicAcid)
        return boost::make_shared<SDM::NASequence>(Defline(record), record.aligned);
    auto sequence = boost::make_shared<SDM::AASequence>(Defline(record), record.aligned);
    if (sequenceClass != SDM::AminoAcid) return sequence;  // nothing to attach structure to
    for (const auto& [key, dssp] : record.structures) {
        sequence->setSecondaryStructure(key, boost::make_shared<SDM::SecondaryStructure>(
                                                 ModelBuilder::ResidueStructure(record.aligned, dssp)));
    }
    return sequence;
}

bool CheckStructureLengths(const ParsedRecord& record, ReadError& error) {
    for (const auto& [key, dssp] : record.structures) {
        if (dssp.size() != record.aligned.size()) {
            const auto line = record.structureLines.find(key);
            return Fail(error, line == record.structureLines.end() ? record.line : line->second,
                        "secondary structure '" + key + "' of '" + record.name + "' has " +
                            std::to_string(dssp.size()) + " columns, expected " +
                            std::to_string(record.aligned.size()) + " like its sequence");
        }
    }
    return true;
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
        letters.push_back(column < dssp.size() ? StructureLetter(dssp[column]) : 'C');
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
    return alignment;
}

}  // namespace Formats
