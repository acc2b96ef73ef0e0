#include "ViewerSettings.h"

#include <QSettings>
#include <algorithm>

namespace {

const DisplayOptions kDefaults;

QMap<QString, QString> ReadMap(QSettings& store, const QString& group) {
    QMap<QString, QString> map;
    store.beginGroup(group);
    for (const QString& key : store.childKeys()) map.insert(key, store.value(key).toString());
    store.endGroup();
    return map;
}

void WriteMap(QSettings& store, const QString& group, const QMap<QString, QString>& map) {
    store.remove(group);
    for (auto entry = map.cbegin(); entry != map.cend(); ++entry)
        store.setValue(group + "/" + entry.key(), entry.value());
}

}  // namespace

ViewerSettings ViewerSettings::Load() {
    QSettings store;
    ViewerSettings settings;
    settings.geometry = store.value("window/geometry").toByteArray();
    if (const QString font = store.value("view/font").toString(); !font.isEmpty())
        settings.font.fromString(font);
    DisplayOptions& options = settings.options;
    options.wrap = store.value("view/wrap", kDefaults.wrap).toBool();
    options.residuesPerLine = store.value("view/residuesPerLine", kDefaults.residuesPerLine).toInt();
    if (options.residuesPerLine <= 0) options.residuesPerLine = DisplayOptions::kFitToWidth;
    options.showRuler = store.value("view/ruler", kDefaults.showRuler).toBool();
    options.showRulerNumbers = store.value("view/rulerNumbers", kDefaults.showRulerNumbers).toBool();
    options.showSecondaryStructure = store.value("view/structure", kDefaults.showSecondaryStructure).toBool();
    options.showConsensus = store.value("view/consensus", kDefaults.showConsensus).toBool();
    options.byConservation = store.value("view/byConservation", kDefaults.byConservation).toBool();
    options.identityThreshold =
        std::clamp(store.value("view/identityThreshold", kDefaults.identityThreshold).toInt(), -1, 100);
    options.colorScheme = store.value("view/scheme", kDefaults.colorScheme).toString();
    options.fullNames = store.value("view/fullNames", kDefaults.fullNames).toBool();
    options.annotationRows = store.value("view/annotationRows", kDefaults.annotationRows).toStringList();
    settings.showOverview = store.value("view/overview", true).toBool();
    settings.recentFiles = store.value("files/recent").toStringList().mid(0, kMaxRecentFiles);
    settings.schemeByAlphabet = ReadMap(store, "schemes");
    settings.schemeFileByAlphabet = ReadMap(store, "schemeFiles");
    return settings;
}

void ViewerSettings::Save() const {
    QSettings store;
    store.setValue("window/geometry", geometry);
    if (!font.family().isEmpty()) store.setValue("view/font", font.toString());
    store.setValue("view/wrap", options.wrap);
    store.setValue("view/residuesPerLine", options.residuesPerLine);
    store.setValue("view/ruler", options.showRuler);
    store.setValue("view/rulerNumbers", options.showRulerNumbers);
    store.setValue("view/structure", options.showSecondaryStructure);
    store.setValue("view/consensus", options.showConsensus);
    store.setValue("view/byConservation", options.byConservation);
    store.setValue("view/identityThreshold", options.identityThreshold);
    store.setValue("view/scheme", options.colorScheme);
    store.setValue("view/fullNames", options.fullNames);
    store.setValue("view/annotationRows", options.annotationRows);
    store.setValue("view/overview", showOverview);
    store.setValue("files/recent", recentFiles);
    WriteMap(store, "schemes", schemeByAlphabet);
    WriteMap(store, "schemeFiles", schemeFileByAlphabet);
}

QString ViewerSettings::AlphabetKey(SDM::SequenceClass sequenceClass) {
    switch (sequenceClass) {
        case SDM::AminoAcid:
            return QStringLiteral("protein");
        case SDM::NucleicAcid:
            return QStringLiteral("nucleic");
        default:
            return QStringLiteral("other");
    }
}

void ViewerSettings::AddRecentFile(const QString& path) {
    recentFiles.removeAll(path);
    recentFiles.prepend(path);
    while (recentFiles.size() > kMaxRecentFiles) recentFiles.removeLast();
}

void ViewerSettings::SaveRecentFiles() const {
    QSettings().setValue("files/recent", recentFiles);
}
