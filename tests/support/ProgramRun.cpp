#include "support/ProgramRun.h"

#include <cstdio>

namespace testsupport {

bool IsLeakTracerCrash(const QByteArray& err) {
    const bool tracerCrashed =
        err.contains("LeakSanitizer has encountered a fatal error") || err.contains("Tracer caught signal");
    const bool realReport = err.contains("ERROR: AddressSanitizer") || err.contains("runtime error:") ||
                            err.contains("ERROR: LeakSanitizer");
    return tracerCrashed && !realReport;
}

namespace {

ProgramRun RunOnce(QProcess& process, const QString& program, const QStringList& arguments, int msecs) {
    ProgramRun run;
    process.start(program, arguments);
    run.finished = process.waitForFinished(msecs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitStatus = process.exitStatus();
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

}  // namespace

ProgramRun RunProgram(QProcess& process, const QString& program, const QStringList& arguments, int msecs) {
    const ProgramRun first = RunOnce(process, program, arguments, msecs);
    if (!IsLeakTracerCrash(first.err)) return first;
    std::fprintf(stderr, "note: LeakSanitizer's tracer crashed in %s %s; running it once more\n",
                 qPrintable(program), qPrintable(arguments.join(' ')));
    return RunOnce(process, program, arguments, msecs);
}

}  // namespace testsupport
