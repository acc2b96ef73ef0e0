#pragma once

#include <QWidget>
#include <vector>

#include "MotifSearch.h"

class AlignmentView;
class QComboBox;
class QLabel;
class QLineEdit;

/// The Find bar above the view: a motif in the residues or text in the names, next and previous, and
/// every match selected so that the view frames them; the current one is marked and scrolled to.
class FindBar : public QWidget {
    Q_OBJECT

public:
    enum class Mode { Residues, Names };

    explicit FindBar(AlignmentView& view, QWidget* parent = nullptr);

    /// Shows the bar and puts the cursor in its text.
    void Open();
    /// Finds `text` afresh and goes to the first match; false when nothing matched or the motif is bad.
    bool Find(const QString& text, Mode mode);
    /// Goes to the next (or previous) match, round the end; false when there is none.
    bool Next();
    bool Previous();

    const std::vector<FindMatch>& Matches() const { return matches; }
    int CurrentMatch() const { return current; }
    QString Message() const;

private:
    void FindOrNext();
    bool Show(int index);
    Mode CurrentMode() const;

    AlignmentView& view;  // not owned; the window's central widget outlives the bar
    QLineEdit* text;      // not owned; children of the bar
    QComboBox* mode;
    QLabel* status;
    QString searched;
    Mode searchedMode = Mode::Residues;
    std::vector<FindMatch> matches;
    int current = -1;
};
