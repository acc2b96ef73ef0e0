#include "HoverDescription.h"

#include "AlignmentDocument.h"
#include "sqv/UserProperties.h"

namespace {

const QString kSeparator = QStringLiteral(" | ");

QString ColumnText(int column, const DisplayOptions& options) {
    return QStringLiteral("column %1").arg(options.ColumnNumber(column));
}

QString ResidueText(const SDM::Sequence& sequence, unsigned column) {
    const std::string& aligned = sequence.getAligned();
    if (column >= aligned.size() || SQC::SequenceConstants::IsGap(aligned[column]))
        return QStringLiteral("gap");
    int position = 0;
    for (unsigned i = 0; i <= column; ++i)
        if (!SQC::SequenceConstants::IsGap(aligned[i])) ++position;
    return QStringLiteral("residue %1 %2").arg(QLatin1Char(aligned[column])).arg(position);
}

QString StructureText(AlignmentDocument& document, const HoverTarget& target) {
    const std::string& structure = document.View().GetAlignedSS(target.ssKey, unsigned(target.row));
    const QString key = QString::fromStdString(target.ssKey);
    if (unsigned(target.column) >= structure.size()) return key;
    const char letter = structure[std::size_t(target.column)];
    return QStringLiteral("%1: %2 (%3)").arg(key, StructureName(letter), QString(QLatin1Char(letter)));
}

}  // namespace

QString StructureName(char letter) {
    switch (letter) {
        case 'H':
            return QStringLiteral("helix");
        case 'S':
            return QStringLiteral("sheet");
        case '-':
            return QStringLiteral("gap");
        default:
            return QStringLiteral("coil");
    }
}

QString DescribeHover(AlignmentDocument& document, const HoverTarget& target, const DisplayOptions& options) {
    const boost::shared_ptr<SDM::Sequence> sequence =
        target.sequenceIndex >= 0 ? document.Model().getSequence(unsigned(target.sequenceIndex)) : nullptr;
    if (!sequence)
        return target.column >= 0 && !target.inNames ? ColumnText(target.column, options) : QString();
    QString text = QString::fromStdString(sequence->getDefline());
    if (target.inNames || target.column < 0 || unsigned(target.column) >= document.Model().columnCount())
        return text;
    text += kSeparator + ColumnText(target.column, options) + kSeparator;
    if (!target.ssKey.empty()) return text + StructureText(document, target);
    return text + ResidueText(*sequence, unsigned(target.column));
}
