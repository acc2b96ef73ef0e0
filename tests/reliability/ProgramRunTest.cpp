// Running the command past LeakSanitizer's own tracer crashes: the crash alone runs the program once more,
// any real sanitizer report is kept as it is.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/ProgramRun.h"

namespace {

const QByteArray kTracerCrash =
    "==4242==LeakSanitizer has encountered a fatal error.\n"
    "==4242==HINT: For debugging, try setting environment variable LSAN_OPTIONS=verbosity=1:log_threads=1\n";
const QByteArray kTracerSignal = "Tracer caught signal 11: addr=0x0 pc=0x4 sp=0x8\n";
const QByteArray kRealLeak = "==4242==ERROR: LeakSanitizer: detected memory leaks\n";

TEST(LeakTracerCrash, IsRecognisedOnlyWithoutARealReport) {
    EXPECT_TRUE(testsupport::IsLeakTracerCrash(kTracerCrash));
    EXPECT_TRUE(testsupport::IsLeakTracerCrash(kTracerSignal + kTracerCrash));
    EXPECT_FALSE(testsupport::IsLeakTracerCrash(kRealLeak));
    EXPECT_FALSE(testsupport::IsLeakTracerCrash(kRealLeak + kTracerCrash));
    EXPECT_FALSE(
        testsupport::IsLeakTracerCrash("x.cpp:3:5: runtime error: signed overflow\n" + kTracerCrash));
    EXPECT_FALSE(testsupport::IsLeakTracerCrash("==1==ERROR: AddressSanitizer: heap-use-after-free\n" +
                                                kTracerSignal));
    EXPECT_FALSE(testsupport::IsLeakTracerCrash("msarender: in.fa:3: unexpected '#'\n"));
    EXPECT_FALSE(testsupport::IsLeakTracerCrash(QByteArray()));
}

// A shell script that counts its runs in a file and, on the runs listed, writes `failing` to standard
// error and exits 1; otherwise it writes "drawn" and exits 0.
class RunAgain : public ::testing::Test {
protected:
    testsupport::ProgramRun Run(const QByteArray& failing, const QString& failingRuns) {
        const QString script = QStringLiteral(
                                   "n=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count; "
                                   "case \" %1 \" in *\" $n \"*) printf '%s' \"$0\" >&2; exit 1;; esac; "
                                   "echo drawn >&2")
                                   .arg(failingRuns);
        QProcess process;
        process.setWorkingDirectory(dir.path());
        return testsupport::RunProgram(process, "sh", {"-c", script, QString::fromUtf8(failing)}, 30000);
    }
    int Runs() const {
        QFile file(dir.filePath("count"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
    }
    QTemporaryDir dir;
};

TEST_F(RunAgain, ATracerCrashRunsTheProgramOnceMore) {
    const testsupport::ProgramRun run = Run(kTracerCrash, "1");
    EXPECT_EQ(Runs(), 2);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QByteArray("drawn\n"));
}

TEST_F(RunAgain, ATracerCrashTwiceIsReportedAfterTheSecondRun) {
    const testsupport::ProgramRun run = Run(kTracerCrash, "1 2");
    EXPECT_EQ(Runs(), 2);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, kTracerCrash);
}

TEST_F(RunAgain, ARealLeakIsNotRunAgain) {
    const testsupport::ProgramRun run = Run(kRealLeak + kTracerCrash, "1");
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("detected memory leaks"));
}

TEST_F(RunAgain, AnOrdinaryFailureIsNotRunAgain) {
    const testsupport::ProgramRun run = Run("msarender: in.fa: cannot open\n", "1");
    EXPECT_EQ(Runs(), 1);
    EXPECT_EQ(run.exitCode, 1);
}

}  // namespace
