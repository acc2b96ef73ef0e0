// Starting msaview: --help without a display, and a file it cannot read.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include "MsaviewTestSupport.h"
#include "ViewerWindow.h"

namespace {

QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    return environment;
}

struct ViewerRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ViewerRun RunViewer(const QStringList& arguments) {
    QProcess process;
    process.setProcessEnvironment(WithoutDisplay());
    process.start(QStringLiteral(MSAVIEW_BINARY), arguments);
    ViewerRun run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(StartupTest, HelpWorksWithoutADisplay) {
    const ViewerRun run = RunViewer({"--help"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Usage")) << run.out.toStdString();
}

TEST(StartupTest, WithoutADisplayItSaysSoInsteadOfAborting) {
    const ViewerRun run = RunViewer({msaviewtest::DataFile("globins4.sto")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("display")) << run.err.toStdString();
}

class UnreadableFileTest : public msaviewtest::WindowTest {};

TEST_F(UnreadableFileTest, TheMessageWaitsInADialog) {
    ASSERT_FALSE(window.OpenFile(msaviewtest::DataFile("README.md")));
    QString shown;
    // Every message box open then: the one OpenFile left open and the one that waits.
    msaviewtest::WhenIdle([&shown] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                shown = box->text();
                box->accept();
            }
    });
    window.ShowErrorAndWait(window.LastError());
    EXPECT_EQ(shown, window.LastError());
    EXPECT_FALSE(shown.isEmpty());
}

}  // namespace
