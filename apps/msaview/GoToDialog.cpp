#include "GoToDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

#include "AlignmentDocument.h"

GoToDialog::GoToDialog(AlignmentDocument& document, const DisplayOptions& options, QWidget* parent)
    : QDialog(parent), sequences(new QComboBox(this)), column(new QSpinBox(this)) {
    setWindowTitle(tr("Go to"));
    const RowMap& rows = document.Rows();
    for (int row = 0; row < rows.RowCount(); ++row) {
        const int sequence = rows.SequenceOfRow(row);
        sequences->addItem(document.SequenceName(sequence), sequence);
    }
    sequences->setEditable(true);  // type a name to find it
    sequences->setInsertPolicy(QComboBox::NoInsert);
    const int current = sequences->findData(document.CurrentSequence());
    sequences->setCurrentIndex(std::max(current, 0));
    const int columns = std::max<int>(int(document.Model().columnCount()), 1);
    column->setRange(options.ColumnNumber(0), options.ColumnNumber(columns - 1));
    column->setValue(std::clamp(1, column->minimum(), column->maximum()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Sequence:"), sequences);
    layout->addRow(tr("Column (as the ruler numbers it):"), column);
    layout->addRow(buttons);
}

QString GoToDialog::TypedName() const {
    return sequences->currentText().trimmed();
}

int GoToDialog::ColumnNumber() const {
    return column->value();
}
