#include "HoverDescription.h"

#include "AlignmentDocument.h"
#include "msarender/picture/RowOrder.h"
#include "sdm/annotations/RnaPairing.h"
#include "sqv/UserProperties.h"

namespace {

const QString kSeparator = QStringLiteral(" | ");

QString ColumnText(int column, const DisplayOptions& options) {
    return QStringLiteral("column %1").arg(options.ColumnNumber(column));
}

// 1-based position of the residue at `column` among the sequence's residues (gaps not counted).
int ResiduePosition(const std::string& aligned, unsigned column) {
    int position = 0;
    for (unsigned i = 0; i <= column && i < aligned.size(); ++i)
        if (!SQC::SequenceConstants::IsGap(aligned[i])) ++position;
    return position;
}

QString ResidueText(const SDM::Sequence& sequence, unsigned column) {
    const std::string& aligned = sequence.getAligned();
    if (column >= aligned.size() || SQC::SequenceConstants::IsGap(aligned[column]))
        return QStringLiteral("gap");
    const SDM::Sequence::Numbering numbering = sequence.numbering();
    return QStringLiteral("residue %1 %2")
        .arg(QLatin1Char(aligned[column]))
        .arg(numbering.start + numbering.step * (ResiduePosition(aligned, column) - 1));
}

// The letter the file wrote for the residue at `column` (DSSP's E, G, T... where the model keeps S, H, C).
char FileStructureLetter(const SDM::Sequence& sequence, const std::string& key, unsigned column) {
    const auto* protein = dynamic_cast<const SDM::AASequence*>(&sequence);
    if (protein == nullptr) return 0;
    const auto found = protein->getSecondaryStructure().find(key);
    if (found == protein->getSecondaryStructure().end() || !found->second) return 0;
    return found->second->FileLetter(std::size_t(ResiduePosition(sequence.getAligned(), column) - 1));
}

// An RNA's structure at a column: "SS: paired with column 40 (()" or "SS: unpaired (.)".
QString PairingText(const SDM::NASequence& rna, const HoverTarget& target, const DisplayOptions& options) {
    const QString key = QString::fromStdString(target.ssKey);
    const auto found = rna.getPairingStructures().find(target.ssKey);
    if (found == rna.getPairingStructures().end() || unsigned(target.column) >= found->second.size())
        return key;
    const SDM::RnaPairing pairing = SDM::PairRnaStructure(found->second);
    const int partner = pairing.partner[std::size_t(target.column)];
    const QString letter = QString(QLatin1Char(found->second[std::size_t(target.column)]));
    if (partner == SDM::RnaPairing::kUnpaired) return QStringLiteral("%1: unpaired (%2)").arg(key, letter);
    return QStringLiteral("%1: paired with column %2 (%3)")
        .arg(key)
        .arg(options.ColumnNumber(partner))
        .arg(letter);
}

QString StructureText(AlignmentDocument& document, const SDM::Sequence& sequence, const HoverTarget& target,
                      const DisplayOptions& options) {
    if (const auto* rna = dynamic_cast<const SDM::NASequence*>(&sequence))
        return PairingText(*rna, target, options);
    const std::string& structure = document.View().GetAlignedSS(target.ssKey, unsigned(target.row));
    const QString key = QString::fromStdString(target.ssKey);
    if (unsigned(target.column) >= structure.size()) return key;
    const char letter = structure[std::size_t(target.column)];
    const char fileLetter =
        letter == '-' ? 0 : FileStructureLetter(sequence, target.ssKey, unsigned(target.column));
    const QString shown =
        fileLetter != 0 && fileLetter != letter
            ? QStringLiteral("%1, file: %2").arg(QLatin1Char(letter)).arg(QLatin1Char(fileLetter))
            : QString(QLatin1Char(letter));
    return QStringLiteral("%1: %2 (%3)").arg(key, StructureName(letter), shown);
}

// The row's label, then the column, its symbol and its bar height where the row has them.
QString AnnotationText(const AnnotationRow& row, const HoverTarget& target, const DisplayOptions& options) {
    QString text = QString::fromStdString(row.label);
    if (target.inNames || target.column < 0) return text;
    text += kSeparator + ColumnText(target.column, options);
    const auto column = std::size_t(target.column);
    if (column < row.symbols.size() && row.symbols[column] != ' ')
        text += kSeparator + QLatin1Char(row.symbols[column]);
    if (column < row.heights.size() && !row.cartoon)
        text += kSeparator + QStringLiteral("%1%").arg(qRound(100 * row.heights[column]));
    return text;
}

// " | 87% identical to REF" while residues are compared with a reference; empty on the reference itself.
QString IdentityText(const SDM::Alignment& model, const SDM::Sequence& sequence) {
    const boost::shared_ptr<SDM::Sequence> reference = model.getReference();
    if (!reference || reference.get() == &sequence || sequence.isTransient()) return QString();
    const QString name = QString::fromStdString(reference->getDefline());
    const std::optional<double> identity = RowOrder::Identity(sequence.getAligned(), reference->getAligned());
    if (!identity) return kSeparator + QStringLiteral("no residue column shared with %1").arg(name);
    return kSeparator + QStringLiteral("%1% identical to %2").arg(qRound(*identity)).arg(name);
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
    if (target.annotation) return AnnotationText(*target.annotation, target, options);
    const boost::shared_ptr<SDM::Sequence> sequence =
        target.sequenceIndex >= 0 ? document.Model().getSequence(unsigned(target.sequenceIndex)) : nullptr;
    if (!sequence)
        return target.column >= 0 && !target.inNames ? ColumnText(target.column, options) : QString();
    QString text = QString::fromStdString(sequence->getDefline());
    if (target.inNames || target.column < 0 || unsigned(target.column) >= document.Model().columnCount())
        return text;
    text += kSeparator + ColumnText(target.column, options) + kSeparator;
    if (!target.ssKey.empty()) return text + StructureText(document, *sequence, target, options);
    return text + ResidueText(*sequence, unsigned(target.column)) + IdentityText(document.Model(), *sequence);
}
