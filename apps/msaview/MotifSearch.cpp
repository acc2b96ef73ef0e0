#include "MotifSearch.h"

#include "AlignmentDocument.h"
#include "sqv/UserProperties.h"

namespace {

bool IsMotifCharacter(QChar c) {
    return c.isLetter() || c.isDigit() || QStringLiteral(".[]^{},").contains(c);
}

// Ungapped residues of an aligned sequence and the column of each.
void Ungap(const std::string& aligned, QString& residues, std::vector<unsigned>& columns) {
    for (std::size_t column = 0; column < aligned.size(); ++column) {
        if (SQC::SequenceConstants::IsGap(aligned[column])) continue;
        residues += QLatin1Char(aligned[column]);
        columns.push_back(unsigned(column));
    }
}

}  // namespace

QRegularExpression MotifSearch::Compile(const QString& motif, QString& error) {
    QString pattern;
    for (const QChar c : motif.trimmed()) {
        if (c == QLatin1Char('-')) continue;
        if (!IsMotifCharacter(c)) {
            error =
                QStringLiteral("'%1' is not part of a motif: use letters, X or ., [..], [^..], {n,m}").arg(c);
            return QRegularExpression();
        }
        pattern += (c == QLatin1Char('x') || c == QLatin1Char('X')) ? QStringLiteral(".") : QString(c);
    }
    if (pattern.isEmpty()) {
        error = QStringLiteral("The motif is empty.");
        return QRegularExpression();
    }
    QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
    if (!expression.isValid()) {
        error = QStringLiteral("The motif is not understood: %1").arg(expression.errorString());
        return QRegularExpression();
    }
    if (expression.match(QString()).hasMatch()) {
        error = QStringLiteral("The motif would match nothing at all.");
        return QRegularExpression();
    }
    return expression;
}

std::vector<FindMatch> MotifSearch::FindResidues(AlignmentDocument& document, const QString& motif,
                                                 QString& error) {
    std::vector<FindMatch> matches;
    const QRegularExpression expression = Compile(motif, error);
    if (!expression.isValid() || expression.pattern().isEmpty()) return matches;
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        QString residues;
        std::vector<unsigned> columns;
        Ungap(document.Model().getSequence(unsigned(sequence))->getAligned(), residues, columns);
        QRegularExpressionMatchIterator found = expression.globalMatch(residues);
        while (found.hasNext()) {
            const QRegularExpressionMatch match = found.next();
            if (match.capturedLength() == 0) continue;
            matches.push_back(FindMatch{unsigned(sequence), columns[std::size_t(match.capturedStart())],
                                        columns[std::size_t(match.capturedEnd() - 1)]});
        }
    }
    return matches;
}

std::vector<FindMatch> MotifSearch::FindNames(AlignmentDocument& document, const QString& text) {
    std::vector<FindMatch> matches;
    const QString wanted = text.trimmed();
    const unsigned columns = document.Model().columnCount();
    if (wanted.isEmpty() || columns == 0) return matches;
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        if (document.SequenceName(sequence).contains(wanted, Qt::CaseInsensitive))
            matches.push_back(FindMatch{unsigned(sequence), 0, columns - 1});
    }
    return matches;
}
