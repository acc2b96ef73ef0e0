#pragma once

#include <boost/shared_ptr.hpp>
#include <climits>
#include <cstdint>
#include <map>
#include <string>

#include "sdm/SecondaryStructure.h"

namespace SDM {

/// Process-wide revision counter: every change of a sequence or an alignment takes the next value, so a
/// view can tell "nothing changed anywhere" with one comparison.
std::uint64_t NextRevision();
std::uint64_t CurrentRevision();

/// How a sequence is labelled in views: its identifier (the first word of a FASTA or PIR title line) or the
/// whole title line with its description.
enum class NameStyle { Identifier, Full };

/// The name side of a sequence: its defline (the label views draw), the identifier and description it was
/// read with, and display flags.
class SeqEntry {
public:
    explicit SeqEntry(std::string defline = std::string())
        : defline_(defline), identifier_(std::move(defline)) {}
    virtual ~SeqEntry() = default;

    const std::string& getDefline() const { return defline_; }
    void setDefline(const std::string& defline);
    /// The name as read; the defline starts as this.
    const std::string& getIdentifier() const { return identifier_; }
    /// The rest of the title line after the identifier (may be empty).
    const std::string& getDescription() const { return description_; }
    void setDescription(std::string description);
    /// Whether the sequence gets a row in views.
    bool isDisplayed() const { return displayed_; }
    void setDisplayed(bool displayed);
    /// Indented sequences are drawn with an indented, bold, marked label.
    bool isIndented() const { return indented_; }
    void setIndented(bool indented);

    /// Changes whenever the sequence changes; views compare it to know when to refresh.
    std::uint64_t stamp() const { return stamp_; }

protected:
    void touch();

private:
    std::string defline_;
    std::string identifier_;
    std::string description_;
    bool displayed_ = true;
    bool indented_ = false;
    std::uint64_t stamp_ = 0;
};

/// The identifier less a "/start-end" range at its end ("HBA_HUMAN/1-141" -> "HBA_HUMAN"); unchanged without
/// one.
std::string IdentifierWithoutRange(const std::string& identifier);

/// A sequence of an alignment, stored as its aligned (gapped) text. Gaps are the characters that
/// SQC::SequenceConstants::IsGap names ('-', '.', ' ', '~').
class Sequence : public SeqEntry {
public:
    Sequence(std::string defline, std::string aligned);
    ~Sequence() override = default;

    /// Marker query: true for sequences the model made itself (the consensus).
    virtual bool isTransient() const { return false; }

    /// Sets the defline from the identifier, with the description for NameStyle::Full; `withRange`
    /// appends "/1-N" (N residues) unless the identifier already ends in a "/start-end" range. When only
    /// the columns [firstColumn, lastColumn] are shown, the range is that of their residues, counted from
    /// the identifier's own start where it has one (counting down where its range does).
    void showName(NameStyle style, bool withRange, unsigned firstColumn = 0, unsigned lastColumn = UINT_MAX);

    /// How its residues are numbered: from the identifier's own "/start-end" where it has one (counting
    /// down where that range does), else from 1. The residue `k` residues after the first is
    /// start + step * k.
    struct Numbering {
        long long start = 1;
        long long step = 1;
    };
    Numbering numbering() const;

    /// Number of residues (gaps excluded).
    unsigned size() const { return residueCount_; }
    /// The gapped text, one character per alignment column (may be shorter than the alignment).
    const std::string& getAligned() const { return aligned_; }
    void setAligned(std::string aligned);
    /// The residues without gaps.
    std::string getResidues() const;

private:
    std::string aligned_;
    unsigned residueCount_ = 0;
};

/// An amino-acid sequence; it may carry secondary-structure assignments by key.
class AASequence : public Sequence {
public:
    using StructureMap = std::map<std::string, boost::shared_ptr<SecondaryStructure>>;
    using Sequence::Sequence;

    const StructureMap& getSecondaryStructure() const { return structures_; }
    /// The structure for `key`; an empty pointer when there is none.
    const boost::shared_ptr<SecondaryStructure>& getSecondaryStructure(const std::string& key) const;
    void setSecondaryStructure(const std::string& key, boost::shared_ptr<SecondaryStructure> structure);
    void removeSecondaryStructure(const std::string& key);

private:
    StructureMap structures_;
};

/// A DNA or RNA sequence; it may carry secondary structure in pairing notation ("<<..>>", "((..))"), one
/// character per alignment column, by key.
class NASequence : public Sequence {
public:
    using Sequence::Sequence;

    const std::map<std::string, std::string>& getPairingStructures() const { return pairings_; }
    void setPairingStructure(const std::string& key, std::string aligned);

private:
    std::map<std::string, std::string> pairings_;
};

/// The consensus row the alignment computes while its consensus display is on.
class ConsensusSequence : public AASequence {
public:
    using AASequence::AASequence;
    bool isTransient() const override { return true; }
};

}  // namespace SDM
