#pragma once

#include <QString>
#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <memory>
#include <vector>

#include "DisplayOptions.h"
#include "RowMap.h"
#include "msarender/picture/PictureSettings.h"
#include "sdm/Alignment.h"
#include "sqv/SVAlignment.h"

/// One open alignment: the model, its view-side alignment with the display properties, the current
/// sequence and the file it came from. The view-side alignment lives as long as the document, so the
/// renderer may keep referring to it between calls.
class AlignmentDocument {
public:
    explicit AlignmentDocument(boost::shared_ptr<SDM::Alignment> model, QString path = QString());

    /// Reads a file in any supported format; null with `error` set when it cannot be read.
    static std::unique_ptr<AlignmentDocument> Load(const QString& path, QString& error);

    SDM::Alignment& Model() { return *model; }
    const SDM::Alignment& Model() const { return *model; }
    SQV::SVAlignment& View() { return view; }
    SQC::UserPropertiesBase& Properties() { return view.GetUserProperties(); }
    const QString& Path() const { return path; }

    /// The row list of the model as it is now.
    const RowMap& Rows();

    int CurrentSequence() const { return currentSequence; }
    void SetCurrentSequence(int sequenceIndex) { currentSequence = sequenceIndex; }
    /// The current sequence's row, or -1 when there is none or it is hidden.
    int CurrentRow();

    /// Brings the model and the properties in line with the options; true when the model changed.
    bool ApplyOptions(const DisplayOptions& options);

    /// Puts the sequences in `order` (a permutation of the file's sequence indexes, as RowOrder makes);
    /// the selection and the current sequence follow their sequences. False, and nothing moved, for
    /// anything but such a permutation.
    bool Reorder(const std::vector<unsigned>& order);
    /// The sequences back in the order the file gave them.
    void RestoreFileOrder();

    void HideSequences(const std::vector<unsigned>& sequenceIndexes);
    void ShowAllSequences();
    QString SequenceName(int sequenceIndex) const;
    /// The shown sequence named `name` in any case, else the one shown sequence whose name starts so;
    /// -1 when there is none or more than one.
    int FindSequenceByName(const QString& name);

private:
    boost::shared_ptr<SDM::Alignment> model;
    SQV::SVAlignment view;
    QString path;
    int currentSequence = -1;
    std::vector<const SDM::Sequence*> fileOrder;  // not owned; the model's sequences, as read
    RowMap rows;
    std::uint64_t rowsRevision = 0;
    ModelSettings modelSettings;  // what of the options the model shows
};
