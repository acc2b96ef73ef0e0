#include "AnnotationChoice.h"

#include <boost/pointer_cast.hpp>

#include "msarender/AnnotationRowFactory.h"
#include "sdm/Alignment.h"

namespace {

bool Asked(const QStringList& names, const QString& name) {
    return names.contains(QStringLiteral("all"), Qt::CaseInsensitive) || names.contains(name, Qt::CaseInsensitive);
}

void AddComputed(const SDM::Alignment& alignment, const QString& name, AnnotationChoice& choice) {
    if (name == QLatin1String("consensus")) choice.rows.push_back(AnnotationRowFactory::Consensus(alignment));
    if (name == QLatin1String("conservation"))
        choice.rows.push_back(AnnotationRowFactory::Conservation(alignment));
    if (name == QLatin1String("occupancy")) choice.rows.push_back(AnnotationRowFactory::Occupancy(alignment));
}

// Each sequence's pairing structure as a row of its own, labelled "name SS".
void AddSequenceStructures(const SDM::Alignment& alignment, bool drawn, AnnotationChoice& choice,
                           QStringList& notDrawn) {
    unsigned sequences = 0;
    std::vector<std::string> found;
    for (unsigned index = 0; index < alignment.size(); ++index) {
        const auto rna = boost::dynamic_pointer_cast<SDM::NASequence>(alignment.getSequence(index));
        if (!rna || rna->isTransient()) continue;
        for (const auto& [key, notation] : rna->getPairingStructures()) {
            ++sequences;
            if (!drawn) continue;
            const std::string name = rna->getDefline().substr(0, rna->getDefline().find(' '));
            choice.rows.push_back(AnnotationRowFactory::Pairing(name + " " + key, notation, found));
        }
    }
    if (sequences > 0 && !drawn)
        notDrawn.append(QStringLiteral("#=GR SS of %1 sequences (--annotations ss)").arg(sequences));
    for (const std::string& warning : found) choice.warnings.append(QString::fromStdString(warning));
}

}  // namespace

QStringList ComputedAnnotationNames() {
    return {QStringLiteral("consensus"), QStringLiteral("conservation"), QStringLiteral("occupancy")};
}

AnnotationChoice ChooseAnnotations(const SDM::Alignment& alignment, const QStringList& names) {
    AnnotationChoice choice;
    QStringList known = ComputedAnnotationNames();
    known.append(QStringLiteral("ss"));
    known.append(QStringLiteral("all"));
    // Computed rows in the order asked; "all" gives them in their own order.
    const QStringList order = names.contains(QStringLiteral("all"), Qt::CaseInsensitive) ? ComputedAnnotationNames() : names;
    for (const QString& name : order) AddComputed(alignment, name.toLower(), choice);

    QStringList notDrawn;
    std::vector<std::string> found;
    for (const SDM::ColumnAnnotation& annotation : alignment.columnAnnotations()) {
        const QString tag = QString::fromStdString(annotation.tag);
        known.append(tag.toLower());
        if (Asked(names, tag))
            choice.rows.push_back(AnnotationRowFactory::FromColumnAnnotation(annotation, found));
        else
            notDrawn.append(QStringLiteral("#=GC %1 (line %2)").arg(tag).arg(annotation.line));
    }
    for (const std::string& warning : found) choice.warnings.append(QString::fromStdString(warning));
    AddSequenceStructures(alignment, Asked(names, QStringLiteral("ss")), choice, notDrawn);
    for (const SDM::ColumnAnnotation& skipped : alignment.skippedAnnotations())
        notDrawn.append(QStringLiteral("%1 (line %2)").arg(QString::fromStdString(skipped.tag)).arg(skipped.line));

    for (const QString& name : names) {
        if (!known.contains(name.toLower()))
            choice.warnings.append(QStringLiteral("--annotations: '%1' is neither computed nor in the file").arg(name));
    }
    if (!notDrawn.isEmpty())
        choice.warnings.append(QStringLiteral("annotations not drawn: ") + notDrawn.join(QStringLiteral(", ")));
    return choice;
}
