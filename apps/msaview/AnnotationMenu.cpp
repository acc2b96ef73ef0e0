#include "AnnotationMenu.h"

#include "msarender/picture/AnnotationChoice.h"

AnnotationMenu::AnnotationMenu(QWidget* parent) : QMenu(tr("&Annotation rows"), parent) {}

void AnnotationMenu::Fill(const SDM::Alignment* alignment, const QStringList& chosen) {
    clear();
    if (alignment) {
        for (const AnnotationOffer& offer : OfferedAnnotations(*alignment)) {
            QAction* action = addAction(offer.title);
            action->setCheckable(true);
            action->setData(offer.name);
            connect(action, &QAction::toggled, this, [this] { emit choiceChanged(ChoiceAfterToggle()); });
        }
    }
    setEnabled(!actions().isEmpty());
    Check(chosen);
}

void AnnotationMenu::Check(const QStringList& chosen) {
    lastChoice = chosen;
    for (QAction* action : actions()) {
        const QSignalBlocker quiet(action);
        action->setChecked(chosen.contains(action->data().toString(), Qt::CaseInsensitive));
    }
}

QStringList AnnotationMenu::ChoiceAfterToggle() const {
    QStringList names;
    QStringList offered;
    for (const QAction* action : actions()) {
        offered << action->data().toString();
        if (action->isChecked()) names << action->data().toString();
    }
    for (const QString& name : lastChoice)
        if (!offered.contains(name, Qt::CaseInsensitive)) names << name;
    return names;
}
