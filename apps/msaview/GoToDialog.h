#pragma once

#include <QDialog>

#include "DisplayOptions.h"

class AlignmentDocument;
class QComboBox;
class QSpinBox;

/// Asks for a sequence (by name, among the shown ones) and a column, numbered as the ruler numbers it.
class GoToDialog : public QDialog {
    Q_OBJECT

public:
    GoToDialog(AlignmentDocument& document, const DisplayOptions& options, QWidget* parent = nullptr);

    /// The name chosen or typed.
    QString TypedName() const;
    /// The column as the ruler numbers it.
    int ColumnNumber() const;

private:
    QComboBox* sequences;  // not owned; a child of the dialog
    QSpinBox* column;      // not owned; a child of the dialog
};
