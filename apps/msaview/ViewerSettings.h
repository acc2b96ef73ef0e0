#pragma once

#include <QByteArray>
#include <QFont>
#include <QMap>
#include <QStringList>

#include "DisplayOptions.h"
#include "sdm/Types.h"

/// What the viewer remembers between runs, read from and written to QSettings (the application's
/// organisation and name pick the file).
struct ViewerSettings {
    static constexpr int kMaxRecentFiles = 8;

    QByteArray geometry;
    QFont font;  // default-constructed (empty family) when none was saved
    DisplayOptions options;
    bool showOverview = true;
    QStringList recentFiles;
    /// The colour scheme last used for each alphabet, by AlphabetKey; absent: the library's default.
    QMap<QString, QString> schemeByAlphabet;
    /// The colour scheme file last used for each alphabet, which wins over its named scheme; absent: none.
    QMap<QString, QString> schemeFileByAlphabet;

    static ViewerSettings Load();
    void Save() const;
    void SaveRecentFiles() const;
    /// Puts a file first in the recent list, once, keeping at most kMaxRecentFiles.
    void AddRecentFile(const QString& path);
    /// "protein", "nucleic" or "other": the key of an alignment's alphabet in schemeByAlphabet.
    static QString AlphabetKey(SDM::SequenceClass sequenceClass);
};
