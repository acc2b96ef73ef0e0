#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ProgramRun {
    bool finished = false;
    QProcess::ExitStatus exitStatus = QProcess::NormalExit;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

/// True when `err` holds LeakSanitizer's own tracer failing (it sometimes crashes on JPEG output, where
/// valgrind finds nothing) and no real sanitizer report.
bool IsLeakTracerCrash(const QByteArray& err);

/// Runs `program` in `process` (set up by the caller: folder, environment) to its end, or for at most
/// `msecs`. When LeakSanitizer's tracer crashed, the run is made once more and that is said on standard
/// error: a real leak shows again, the tracer's crash does not.
ProgramRun RunProgram(QProcess& process, const QString& program, const QStringList& arguments, int msecs);

}  // namespace testsupport
