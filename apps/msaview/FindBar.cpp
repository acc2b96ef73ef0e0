#include "FindBar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "AlignmentView.h"

FindBar::FindBar(AlignmentView& alignmentView, QWidget* parent)
    : QWidget(parent),
      view(alignmentView),
      text(new QLineEdit(this)),
      mode(new QComboBox(this)),
      status(new QLabel(this)) {
    text->setPlaceholderText(tr("Motif, e.g. N[^P][ST] or WXXW; or part of a name"));
    mode->addItem(tr("Residues"));
    mode->addItem(tr("Names"));
    auto* previous = new QPushButton(tr("Previous"), this);
    auto* next = new QPushButton(tr("Next"), this);
    auto* close = new QPushButton(tr("Close"), this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(tr("Find:"), this));
    layout->addWidget(text, 1);
    layout->addWidget(mode);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(status);
    layout->addWidget(close);
    connect(text, &QLineEdit::returnPressed, this, &FindBar::FindOrNext);
    connect(next, &QPushButton::clicked, this, &FindBar::FindOrNext);
    connect(previous, &QPushButton::clicked, this, [this] { Previous(); });
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    // Matches name sequences by index, which a new row order changes: the next Find starts afresh.
    connect(&view, &AlignmentView::rowsReordered, this, [this] {
        matches.clear();
        current = -1;
        searched.clear();
        status->clear();
    });
    hide();
}

void FindBar::Open() {
    show();
    text->setFocus();
    text->selectAll();
}

FindBar::Mode FindBar::CurrentMode() const {
    return mode->currentIndex() == 1 ? Mode::Names : Mode::Residues;
}

void FindBar::FindOrNext() {
    if (text->text() != searched || CurrentMode() != searchedMode)
        Find(text->text(), CurrentMode());
    else
        Next();
}

bool FindBar::Find(const QString& wanted, Mode wantedMode) {
    searched = wanted;
    searchedMode = wantedMode;
    text->setText(wanted);
    mode->setCurrentIndex(wantedMode == Mode::Names ? 1 : 0);
    matches.clear();
    current = -1;
    QString error;
    if (AlignmentDocument* document = view.Document())
        matches = wantedMode == Mode::Names ? MotifSearch::FindNames(*document, wanted)
                                            : MotifSearch::FindResidues(*document, wanted, error);
    std::vector<std::array<unsigned, 3>> runs;
    for (const FindMatch& match : matches)
        runs.push_back({match.sequenceIndex, match.firstColumn, match.lastColumn});
    view.SelectRuns(runs);
    view.MarkResidue(-1, -1);
    status->setText(error.isEmpty() ? Message() : error);
    return !matches.empty() && Show(0);
}

bool FindBar::Next() {
    return !matches.empty() && Show((current + 1) % int(matches.size()));
}

bool FindBar::Previous() {
    return !matches.empty() && Show((current + int(matches.size()) - 1) % int(matches.size()));
}

bool FindBar::Show(int index) {
    current = index;
    const FindMatch& match = matches[std::size_t(index)];
    view.SetCurrentSequence(int(match.sequenceIndex));
    view.GoTo(match.sequenceIndex, match.lastColumn);
    const bool shown = view.GoTo(match.sequenceIndex, match.firstColumn);
    view.MarkResidue(int(match.sequenceIndex), int(match.firstColumn));
    status->setText(Message());
    return shown;
}

QString FindBar::Message() const {
    if (matches.empty()) return searched.isEmpty() ? QString() : tr("No match");
    return tr("%1 of %2").arg(current + 1).arg(matches.size());
}
