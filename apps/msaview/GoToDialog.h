#pragma once

#include <QDialog>

class AlignmentDocument;
class QComboBox;
class QSpinBox;

/// Asks for a sequence (by name, among the shown ones) and a 1-based column.
class GoToDialog : public QDialog {
    Q_OBJECT

public:
    GoToDialog(AlignmentDocument& document, QWidget* parent = nullptr);

    int SequenceIndex() const;
    /// 0-based.
    unsigned Column() const;

private:
    QComboBox* sequences;  // not owned; a child of the dialog
    QSpinBox* column;      // not owned; a child of the dialog
};
