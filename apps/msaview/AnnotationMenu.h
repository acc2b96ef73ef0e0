#pragma once

#include <QMenu>
#include <QStringList>

namespace SDM {
class Alignment;
}

/// The View menu's annotation rows: one checkable item per row the open alignment offers (consensus,
/// conservation, occupancy, its #=GC lines, its #=GR SS structures). Checking or unchecking one tells the
/// whole new choice, in the order offered, keeping chosen names this alignment lacks for the next file.
class AnnotationMenu : public QMenu {
    Q_OBJECT

public:
    explicit AnnotationMenu(QWidget* parent = nullptr);

    /// Lists the rows `alignment` offers (none without one), checked as `chosen` names them.
    void Fill(const SDM::Alignment* alignment, const QStringList& chosen);
    /// Checks the items `chosen` names and unchecks the others.
    void Check(const QStringList& chosen);

signals:
    void choiceChanged(const QStringList& names);

private:
    QStringList ChoiceAfterToggle() const;

    QStringList lastChoice;
};
