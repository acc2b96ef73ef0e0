// Starting msaview and first use: --help without a display, a file it cannot read, the empty window, the
// keyboard focus after a file opens and the Find bar's Escape.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>

#include "FindBar.h"
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

// Standard error written while it lives, read back by Text().
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        file.open();
        std::fflush(stderr);
        saved = dup(2);
        dup2(file.handle(), 2);
    }
    ~StandardErrorCapture() { Restore(); }
    QString Text() {
        Restore();
        file.seek(0);
        return QString::fromLocal8Bit(file.readAll());
    }

private:
    void Restore() {
        if (saved < 0) return;
        std::fflush(stderr);
        dup2(saved, 2);
        close(saved);
        saved = -1;
    }
    QTemporaryFile file;
    int saved = -1;
};

// The message boxes shown now, closed once read.
std::vector<std::pair<QMessageBox::Icon, QString>> TakeMessageBoxes() {
    std::vector<std::pair<QMessageBox::Icon, QString>> shown;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            shown.emplace_back(box->icon(), box->text());
            box->close();
        }
    return shown;
}

class FirstUseTest : public msaviewtest::WindowTest {};

// GIVEN a file that is no alignment WHEN it is named on the command line or opened from the menu THEN the
// message goes to standard error and to a box that does not block, and the window stays usable.
TEST_F(FirstUseTest, AnUnreadableFileIsReportedTheSameWayOnEveryPathAndTheWindowStays) {
    const QString bad = msaviewtest::DataFile("README.md");
    std::vector<std::pair<QMessageBox::Icon, QString>> boxes;
    QString written;
    {
        StandardErrorCapture capture;
        ASSERT_FALSE(window.OpenFile(bad));  // what main() does with a file named on the command line
        written = capture.Text();
    }
    boxes = TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].second, window.LastError());
    EXPECT_TRUE(written.contains(window.LastError())) << written.toStdString();
    EXPECT_TRUE(window.isVisible());
    // The window still opens a good file.
    EXPECT_TRUE(window.OpenFile(msaviewtest::DataFile("globins4.sto")));
}

TEST(StartupTest, AnUnreadableFileOnTheCommandLineLeavesTheWindowOpen) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(MSAVIEW_BINARY), {msaviewtest::DataFile("README.md")});
    ASSERT_TRUE(process.waitForStarted());
    // The message comes on standard error at once; the program waits for the user, not for the box.
    QByteArray err;
    for (int tries = 0; tries < 100 && !err.contains("README.md"); ++tries) {
        process.waitForReadyRead(100);
        err += process.readAllStandardError();
    }
    EXPECT_TRUE(err.contains("README.md")) << err.constData();
    EXPECT_FALSE(process.waitForFinished(1500))
        << "exit " << process.exitCode() << ": " << (err + process.readAllStandardError()).constData();
    EXPECT_EQ(process.state(), QProcess::Running);
    process.kill();
    process.waitForFinished();
}

TEST_F(FirstUseTest, AnEmptyWindowSaysHowToOpenAFileAndOffersNothingThatNeedsOne) {
    const QImage empty = Shot();
    bool hint = false;
    for (int y = 0; y < empty.height() && !hint; ++y)
        for (int x = 0; x < empty.width() && !hint; ++x)
            hint = empty.pixel(x, y) == AlignmentView::kHintColour;
    EXPECT_TRUE(hint) << "no hint is drawn in the empty view";
    for (const char* item :
         {"Save selection as...", "Export alignment as...", "Copy selection as image", "Find...", "Go to..."})
        EXPECT_FALSE(MenuAction(item)->isEnabled()) << item;
    Open("globins4.sto");
    for (const char* item : {"Save selection as...", "Export alignment as...", "Find..."})
        EXPECT_TRUE(MenuAction(item)->isEnabled()) << item;
}

TEST_F(FirstUseTest, KeysReachTheViewRightAfterAFileOpens) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Open("globins4.sto");
    window.Find().Open();  // the focus goes to the Find text
    QTest::qWait(20);      // and the view takes the height left by the bar
    ASSERT_NE(QApplication::focusWidget(), &view());
    Open("fn3.sto");
    EXPECT_EQ(QApplication::focusWidget(), &view());
    ASSERT_EQ(view().verticalScrollBar()->value(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view().verticalScrollBar()->value(), view().verticalScrollBar()->maximum());
    EXPECT_GT(view().verticalScrollBar()->value(), 0);
}

TEST_F(FirstUseTest, EscapeClosesTheFindBarAndKeepsItsMatchesSelected) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    Open("globins4.sto");
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(window.Find().isVisible());
    QTest::keyClicks(QApplication::focusWidget(), "VLS");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_FALSE(model().getSelection().empty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(window.Find().isVisible());
    EXPECT_FALSE(model().getSelection().empty());
    EXPECT_EQ(QApplication::focusWidget(), &view());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(model().getSelection().empty());
}

}  // namespace
