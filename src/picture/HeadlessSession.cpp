#include "msarender/picture/HeadlessSession.h"

#include <stdlib.h>

#include <QDir>
#include <QLocale>
#include <cstdlib>

// When the environment names no runtime folder, a fresh folder of an unpredictable name, made private by
// mkdtemp itself (no path in the shared temporary folder is created or changed that another user could
// have planted), serves for the session and is removed after it.
HeadlessSession::HeadlessSession() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QLocale::setDefault(QLocale::c());
    if (std::getenv("XDG_RUNTIME_DIR")) return;
    QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/msarender-runtime-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return;  // Qt then warns and carries on
    runtimeFolder = pattern;
    setenv("XDG_RUNTIME_DIR", runtimeFolder.constData(), 1);
}

HeadlessSession::~HeadlessSession() {
    if (!runtimeFolder.isEmpty()) QDir(QString::fromLocal8Bit(runtimeFolder)).removeRecursively();
}
