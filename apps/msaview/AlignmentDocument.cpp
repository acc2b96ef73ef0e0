#include "AlignmentDocument.h"

#include <QFileInfo>
#include <algorithm>
#include <unordered_map>

#include "formats/AlignmentReader.h"
#include "sdm/schemes/ColorSchemes.h"

AlignmentDocument::AlignmentDocument(boost::shared_ptr<SDM::Alignment> alignment, QString file)
    : model(std::move(alignment)), view(model), path(std::move(file)), modelSettings(*model) {
    SQC::SetDefaultStructureColours(Properties());
    Properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
    std::vector<unsigned> indexes;
    model->getNonTransientIndexes(indexes, false);
    for (unsigned index : indexes) fileOrder.push_back(model->getSequence(index).get());
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

bool AlignmentDocument::Reorder(const std::vector<unsigned>& order) {
    std::vector<unsigned> file;
    model->getNonTransientIndexes(file, false);
    std::vector<unsigned> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    if (sorted != file) return false;
    std::vector<boost::shared_ptr<SDM::Sequence>> moved;
    std::vector<std::vector<SDM::Selection::Range>> selected;
    int current = -1;
    for (unsigned index : order) {
        if (int(index) == currentSequence) current = int(moved.size());
        moved.push_back(model->getSequence(index));
        selected.push_back(model->getSelection().ranges(index));
    }
    // Taken out from the end, where it costs nothing, and put back in the new order.
    for (auto index = file.rbegin(); index != file.rend(); ++index) model->removeSequence(*index);
    SDM::Selection& selection = model->getSelection();
    selection.clear();
    for (std::size_t row = 0; row < moved.size(); ++row) {
        model->addSequence(moved[row]);
        for (const SDM::Selection::Range& range : selected[row])
            selection.select(unsigned(row), range.first, range.last);
    }
    currentSequence = current;
    model->selectionChanged();
    return true;
}

void AlignmentDocument::RestoreFileOrder() {
    std::vector<unsigned> indexes;
    model->getNonTransientIndexes(indexes, false);
    std::unordered_map<const SDM::Sequence*, unsigned> indexOf;
    for (unsigned index : indexes) indexOf.emplace(model->getSequence(index).get(), index);
    std::vector<unsigned> order;
    for (const SDM::Sequence* sequence : fileOrder) order.push_back(indexOf.at(sequence));
    Reorder(order);
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
