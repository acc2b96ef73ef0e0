#include "GoToDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>

#include "AlignmentDocument.h"

GoToDialog::GoToDialog(AlignmentDocument& document, QWidget* parent)
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
    column->setRange(1, std::max<int>(int(document.Model().columnCount()), 1));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Sequence:"), sequences);
    layout->addRow(tr("Column:"), column);
    layout->addRow(buttons);
}

int GoToDialog::SequenceIndex() const {
    return sequences->currentData().toInt();
}

unsigned GoToDialog::Column() const {
    return unsigned(column->value() - 1);
}
