#pragma once

#include <QByteArray>

#include "msarender/Export.h"

/// Makes a process ready to draw pictures without a display, before its QGuiApplication is made: the
/// offscreen platform unless the caller chose one, and, when the environment names no runtime folder, a
/// private one for the session's life (Qt wants one even offscreen and warns on every run without). Numbers
/// are written as in the C locale, so that a figure reads the same wherever it is made ("1000", never
/// "1.000", which a reader takes for one).
class MSARENDER_EXPORT HeadlessSession {
public:
    HeadlessSession();
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

private:
    QByteArray runtimeFolder;  // made here; empty when the environment had one
};
