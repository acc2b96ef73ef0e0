#include "SelectionFasta.h"

#include "AlignmentDocument.h"

namespace {

constexpr int kLineLength = 60;

}  // namespace

QString SelectionFasta(AlignmentDocument& document) {
    QString text;
    const SDM::Selection& selection = document.Model().getSelection();
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        const std::string& aligned = document.Model().getSequence(unsigned(sequence))->getAligned();
        QString residues;
        for (const SDM::Selection::Range& range : selection.ranges(unsigned(sequence)))
            for (unsigned column = range.first; column <= range.last && column < aligned.size(); ++column)
                residues += QLatin1Char(aligned[column]);
        if (residues.isEmpty()) continue;
        text += QLatin1Char('>') + document.SequenceName(sequence) + QLatin1Char('\n');
        for (int start = 0; start < residues.size(); start += kLineLength)
            text += residues.mid(start, kLineLength) + QLatin1Char('\n');
    }
    return text;
}
