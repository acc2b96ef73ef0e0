#pragma once

#include <QRegularExpression>
#include <QString>
#include <vector>

class AlignmentDocument;

/// One place Find found: a sequence and the columns from its first to its last matched residue.
struct FindMatch {
    unsigned sequenceIndex = 0;
    unsigned firstColumn = 0;
    unsigned lastColumn = 0;
    bool operator==(const FindMatch& other) const {
        return sequenceIndex == other.sequenceIndex && firstColumn == other.firstColumn &&
               lastColumn == other.lastColumn;
    }
};

/// Finds a motif in the residues of the shown sequences, gaps ignored, or text in their names.
///
/// A motif is residue letters (any case) with a small pattern syntax: X or . for any residue, [ST] for
/// one of, [^P] for none of, {n} or {n,m} to repeat the item before; '-' between items is ignored, as
/// PROSITE writes it.
class MotifSearch {
public:
    /// The regular expression of a motif; invalid, with `error` set, when the motif is not understood.
    static QRegularExpression Compile(const QString& motif, QString& error);
    /// Matches in row order, each row from left to right; a match never overlaps the one before it.
    static std::vector<FindMatch> FindResidues(AlignmentDocument& document, const QString& motif,
                                               QString& error);
    /// The shown sequences whose name holds `text` (any case), as matches over all columns.
    static std::vector<FindMatch> FindNames(AlignmentDocument& document, const QString& text);
};
