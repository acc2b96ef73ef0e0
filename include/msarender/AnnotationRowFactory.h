#pragma once

#include <string>
#include <vector>

#include "msarender/AnnotationRow.h"
#include "msarender/Export.h"

namespace SDM {
class Alignment;
class ColorScheme;
struct ColumnAnnotation;
}  // namespace SDM

/// The annotation rows a host usually shows, made from the model: consensus, conservation and occupancy
/// of the alignment's own sequences, and a file's column annotations. Hand the result to
/// RenderSequenceData::SetAnnotationRows; make the rows again after the alignment changes.
class MSARENDER_EXPORT AnnotationRowFactory {
public:
    /// Majority residue per column with its share of all rows as a bar; '+' for ties; nothing over columns
    /// whose gaps are more than `maxGapShare` of the rows.
    static AnnotationRow Consensus(const SDM::Alignment& alignment, double maxGapShare = 0.5);
    /// AMAS conservation (0-9, '+' for all ten properties, '*' for identity) as a bar of score / 11.
    static AnnotationRow Conservation(const SDM::Alignment& alignment);
    /// Non-gap residues per column as a bar of count / rows, labelled with the row count.
    static AnnotationRow Occupancy(const SDM::Alignment& alignment);
    /// The same rows of some aligned texts only (the sequences a picture shows, say).
    static AnnotationRow Consensus(const std::vector<std::string>& texts, double maxGapShare = 0.5);
    static AnnotationRow Conservation(const std::vector<std::string>& texts);
    static AnnotationRow Occupancy(const std::vector<std::string>& texts);
    /// Jalview's alignment quality (amino acids) as a bar of quality / the best column's, coloured from
    /// dark red to yellow as Jalview colours it.
    static AnnotationRow Quality(const std::vector<std::string>& texts);
    /// A sequence logo `lines` cells tall, as that many rows (top first): per column the logo's letters
    /// stacked by count, the most frequent on top, each as high as its share of the column's information
    /// content (or, `byFrequency`, of the rows), coloured as `scheme` (prepared; may be null: black)
    /// colours the letter in that column: its background, or its text colour where the background is white.
    static std::vector<AnnotationRow> Logo(const std::vector<std::string>& texts, bool aminoAcids,
                                           const SDM::ColorScheme* scheme, bool byFrequency,
                                           unsigned lines = kLogoLines);
    static constexpr unsigned kLogoLines = 3;

    /// A file's column annotation: DSSP letters (SS_cons of a protein file) as the cartoon, pairing
    /// notation (SS_cons of an RNA file) as a structure row, any other text (RF, seq_cons...) as text.
    /// Unmatched brackets are described in `warnings`.
    static AnnotationRow FromColumnAnnotation(const SDM::ColumnAnnotation& annotation,
                                              std::vector<std::string>& warnings);
    /// Pairing notation as a structure row: the brackets on bars of one colour per helix.
    static AnnotationRow Pairing(const std::string& label, const std::string& notation,
                                 std::vector<std::string>& warnings);
    /// DSSP letters, one per column ('.' and '-' for none), as a cartoon row.
    static AnnotationRow Cartoon(const std::string& label, const std::string& dssp);
    /// Text, one character per column.
    static AnnotationRow Text(const std::string& label, const std::string& text);

    /// Bar colours of helix k (cycled): distinct hues that stay readable under black brackets.
    static std::uint32_t HelixColour(int helix);
};
