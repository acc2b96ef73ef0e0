#include "AlignmentDocument.h"

#include <QFileInfo>
#include <algorithm>

#include "formats/AlignmentReader.h"
#include "sdm/schemes/ColorSchemes.h"

AlignmentDocument::AlignmentDocument(boost::shared_ptr<SDM::Alignment> alignment, QString file)
    : model(std::move(alignment)), view(model), path(std::move(file)), modelSettings(*model) {
    SQC::SetDefaultStructureColours(Properties());
    Properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
}

std::unique_ptr<AlignmentDocument> AlignmentDocument::Load(const QString& path, QString& error) {
    const Formats::ReadResult result = Formats::ReadAlignmentFile(QFileInfo(path).filePath().toStdString());
    if (!result.ok()) {
        error = QString::fromStdString(result.error.ToString());
        return nullptr;
    }
    if (result.alignment->size() == 0) {
        error = QStringLiteral("%1: the file holds no sequences").arg(path);
        return nullptr;
    }
    return std::make_unique<AlignmentDocument>(result.alignment, path);
}

const RowMap& AlignmentDocument::Rows() {
    const std::uint64_t revision = model->revision();
    if (revision != rowsRevision) {
        rows = RowMap(*model);
        rowsRevision = revision;
    }
    return rows;
}

int AlignmentDocument::CurrentRow() {
    return Rows().RowOfSequence(currentSequence);
}

bool AlignmentDocument::ApplyOptions(const DisplayOptions& options) {
    // The ruler numbers column `origin` as 1; the renderer takes the 0-based index of that column.
    Properties().SetIntProperty(SQC::UserProperties::RulerDragOffset, std::max(options.rulerOrigin, 1) - 1);
    bool changed = false;
    modelSettings.Apply(*model, options, changed);  // the viewer hides through its own menu, not by list
    return changed;
}

// Hidden sequences leave the selection: it would otherwise act on rows the user cannot see, and come back
// with them.
void AlignmentDocument::HideSequences(const std::vector<unsigned>& sequenceIndexes) {
    SDM::Selection& selection = model->getSelection();
    const unsigned columns = model->columnCount();
    for (unsigned index : sequenceIndexes) {
        if (const boost::shared_ptr<SDM::Sequence> sequence = model->getSequence(index))
            sequence->setDisplayed(false);
        if (columns > 0) selection.deselect(index, 0, columns - 1);
    }
    model->selectionChanged();
}

void AlignmentDocument::ShowAllSequences() {
    for (unsigned index = 0; index < model->size(); ++index)
        if (const boost::shared_ptr<SDM::Sequence> sequence = model->getSequence(index))
            if (!sequence->isDisplayed()) sequence->setDisplayed(true);
}

QString AlignmentDocument::SequenceName(int sequenceIndex) const {
    if (sequenceIndex < 0) return QString();
    const boost::shared_ptr<SDM::Sequence> sequence = model->getSequence(unsigned(sequenceIndex));
    return sequence ? QString::fromStdString(sequence->getDefline()) : QString();
}

int AlignmentDocument::FindSequenceByName(const QString& name) {
    const QString wanted = name.trimmed();
    if (wanted.isEmpty()) return -1;
    const RowMap& shown = Rows();
    int prefixed = -1;
    int prefixCount = 0;
    for (int row = 0; row < shown.RowCount(); ++row) {
        const int sequence = shown.SequenceOfRow(row);
        const QString candidate = SequenceName(sequence);
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0) return sequence;
        if (candidate.startsWith(wanted, Qt::CaseInsensitive)) {
            prefixed = sequence;
            ++prefixCount;
        }
    }
    return prefixCount == 1 ? prefixed : -1;
}
