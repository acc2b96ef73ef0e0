#pragma once

#include <QByteArray>
#include <QFont>
#include <QStringList>

#include "DisplayOptions.h"

/// What the viewer remembers between runs, read from and written to QSettings (the application's
/// organisation and name pick the file).
struct ViewerSettings {
    static constexpr int kMaxRecentFiles = 8;

    QByteArray geometry;
    QFont font;  // default-constructed (empty family) when none was saved
    DisplayOptions options;
    bool showOverview = true;
    QStringList recentFiles;

    static ViewerSettings Load();
    void Save() const;
    void SaveRecentFiles() const;
    /// Puts a file first in the recent list, once, keeping at most kMaxRecentFiles.
    void AddRecentFile(const QString& path);
};
