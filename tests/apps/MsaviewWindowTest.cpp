// The viewer window: opening files, the display switches of the View menu, hiding rows, fonts, and a
// picture of the whole window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QFontDialog>
#include <QFontInfo>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "ViewerWindow.h"
#include "msarender/FontAttributes.h"
#include "sqv/UserProperties.h"
#include "support/TestFont.h"

using msaviewtest::CellCentre;
using msaviewtest::DataFile;

namespace {

class ViewerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.View().setFont(testsupport::MonoFont());
        window.resize(900, 600);
        msaviewtest::ShowAndWait(window);
    }
    AlignmentView& view() { return window.View(); }
    const RenderSequenceData& renderer() { return view().Renderer(); }
    void SetOptions(const std::function<void(DisplayOptions&)>& change) {
        DisplayOptions options = view().Options();
        change(options);
        view().SetOptions(options);
    }
    bool SendDrop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &drop);
        return drop.isAccepted();
    }
    // Secondary-structure lines of the shown sequences, as a block of the layout counts them.
    unsigned StructureLines() {
        unsigned lines = 0;
        SDM::Alignment& model = view().Document()->Model();
        for (unsigned i = 0; i < model.size(); ++i)
            if (auto aa = boost::dynamic_pointer_cast<SDM::AASequence>(model.getSequence(i)))
                lines +=
                    model.getSequence(i)->isDisplayed() ? unsigned(aa->getSecondaryStructure().size()) : 0;
        return lines;
    }

    const SQC::FontAttributes cell{testsupport::MonoFont()};
    ViewerWindow window;
};

TEST_F(ViewerWindowTest, DroppingAFileOpensIt) {
    ASSERT_TRUE(SendDrop(DataFile("globins4.sto")));
    ASSERT_NE(view().Document(), nullptr);
    EXPECT_EQ(view().Document()->Path(), DataFile("globins4.sto"));
    EXPECT_EQ(renderer().RowsPerBlock(), 4u + 2u);
    EXPECT_TRUE(window.windowTitle().startsWith("globins4.sto"));
}

TEST_F(ViewerWindowTest, DroppingSomethingElseIsRefused) {
    QMimeData data;
    data.setText("not a file");
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(&window, &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(ViewerWindowTest, AnUnreadableFileKeepsTheOpenDocumentAndSaysWhy) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    EXPECT_FALSE(window.OpenFile(DataFile("README.md")));
    EXPECT_FALSE(window.LastError().isEmpty());
    EXPECT_EQ(view().Document()->Path(), DataFile("globins4.sto"));
    EXPECT_TRUE(view().IsComposed());
}

TEST_F(ViewerWindowTest, AnotherFileReplacesTheFirstAndForgetsItsSelection) {
    ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto")));
    QTest::mouseClick(view().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 3, 3));
    ASSERT_TRUE(window.OpenFile(DataFile("globins50.afa")));
    EXPECT_TRUE(view().Document()->Model().getSelection().empty());
    EXPECT_EQ(renderer().RowsPerBlock(), 50u + 2u);
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
}

TEST_F(ViewerWindowTest, StructureConsensusAndRulerSwitchesChangeTheLayout) {
    ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto")));
    const unsigned rows = 98;
    EXPECT_EQ(renderer().RowsPerBlock(), rows + StructureLines() + 2);
    SetOptions([](DisplayOptions& options) { options.showSecondaryStructure = false; });
    EXPECT_EQ(renderer().RowsPerBlock(), rows + 2);
    SetOptions([](DisplayOptions& options) { options.showConsensus = true; });
    EXPECT_EQ(renderer().RowsPerBlock(), rows + 1 + 2);
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
    SetOptions([](DisplayOptions& options) { options.showRuler = false; });
    // Without the ruler the first block starts with the first row.
    EXPECT_EQ(view().ResiduePosition(0, 0)->y(), 0);
}

TEST_F(ViewerWindowTest, FixedResiduesPerLineWrapsAtThatCountAndScrollsSideways) {
    ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto")));
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 30; });
    EXPECT_EQ(renderer().ResiduesPerBlock(), 30u);
    EXPECT_EQ(renderer().BlockCount(), 4u);  // 117 columns
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 200; });
    EXPECT_EQ(renderer().ResiduesPerBlock(), 200u);
    EXPECT_GT(view().horizontalScrollBar()->maximum(), 0);
}

TEST_F(ViewerWindowTest, RulerOriginAndNumbersRedrawTheRulerOnly) {
    ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto")));
    const QImage before = renderer().GetAlignmentPixmap()->toImage();
    SetOptions([](DisplayOptions& options) { options.rulerOrigin = 7; });
    int origin = -1;
    view().Document()->Properties().GetIntProperty(SQC::UserProperties::RulerDragOffset, origin);
    EXPECT_EQ(origin, 6);
    const QImage moved = renderer().GetAlignmentPixmap()->toImage();
    const int band = 2 * view().CellHeight();
    EXPECT_NE(moved.copy(0, 0, moved.width(), band), before.copy(0, 0, before.width(), band));
    EXPECT_EQ(moved.copy(0, band, moved.width(), 5 * band), before.copy(0, band, before.width(), 5 * band));
    SetOptions([](DisplayOptions& options) { options.showRulerNumbers = false; });
    EXPECT_NE(renderer().GetAlignmentPixmap()->toImage().copy(0, 0, moved.width(), band),
              moved.copy(0, 0, moved.width(), band));
}

TEST_F(ViewerWindowTest, ColourSchemeChangesTheResidueColours) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    const QImage before = renderer().GetAlignmentPixmap()->toImage();
    SetOptions([](DisplayOptions& options) { options.colorScheme = "zappo"; });
    EXPECT_NE(renderer().GetAlignmentPixmap()->toImage(), before);
    SetOptions([](DisplayOptions& options) { options.colorScheme = QString(); });
    EXPECT_EQ(renderer().GetAlignmentPixmap()->toImage(), before);
}

TEST_F(ViewerWindowTest, ANewFontRelaysOutWithItsCell) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    const QFont larger = testsupport::MonoFont(16);
    view().setFont(larger);
    const SQC::FontAttributes largerCell(larger);
    EXPECT_EQ(view().CellWidth(), largerCell.GetMaxWidth());
    EXPECT_EQ(view().CellHeight(), largerCell.GetMaxHeight());
    EXPECT_EQ(int(renderer().ResiduesPerBlock()),
              (view().viewport()->width() - view().NameColumnWidth()) / largerCell.GetMaxWidth());
    bool pending = true;
    view().Document()->Properties().GetBoolProperty(SQC::UserProperties::FontChanged, pending);
    EXPECT_FALSE(pending) << "the renderer did not take the font change";
}

// GIVEN a proportional view font WHEN View > Font... opens and an oblique face is chosen THEN the dialog
// started on an upright monospaced face and the residues are drawn upright, as in the regular face.
TEST_F(ViewerWindowTest, TheFontDialogStartsUprightAndResiduesStayUpright) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    const auto residueCell = [this] {
        const QPoint corner = *view().ResiduePosition(1, 0);
        return view().viewport()->grab().toImage().copy(
            QRect(corner, QSize(view().CellWidth(), view().CellHeight())));
    };
    const QImage upright = residueCell();
    view().setFont(QFont(QStringLiteral("DejaVu Sans"), testsupport::MonoFont().pointSize()));
    QFont started;
    msaviewtest::WhenIdle([&started] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        started = dialog->currentFont();
        QFont oblique = testsupport::MonoFont();
        oblique.setStyleName(QStringLiteral("Oblique"));
        dialog->setCurrentFont(oblique);
        dialog->accept();
    });
    QAction* fontItem = nullptr;
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == "&Font...") fontItem = action;
    ASSERT_NE(fontItem, nullptr);
    fontItem->trigger();
    EXPECT_TRUE(QFontInfo(started).fixedPitch()) << started.toString().toStdString();
    EXPECT_EQ(QFontInfo(started).style(), QFont::StyleNormal) << started.toString().toStdString();
    EXPECT_EQ(QFontInfo(view().font()).style(), QFont::StyleNormal) << view().font().toString().toStdString();
    EXPECT_EQ(residueCell(), upright) << "the residues are not drawn in the regular face";
}

TEST_F(ViewerWindowTest, HiddenSequencesLeaveTheViewUntilShownAgain) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins50.afa")));
    QTest::mousePress(view().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 4, 1));
    QTest::mouseMove(view().viewport(), CellCentre(view(), 6, 2));
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 6, 2));
    QTest::mouseClick(view().viewport(), Qt::LeftButton, Qt::ControlModifier,
                      QPoint(3, CellCentre(view(), 0, 5).y()));
    ASSERT_TRUE(view().HideChosenSequences());
    EXPECT_EQ(renderer().RowsPerBlock(), 47u + 2u);
    EXPECT_FALSE(view().ResiduePosition(0, 1).has_value());
    EXPECT_FALSE(view().ResiduePosition(0, 5).has_value());
    EXPECT_EQ(view().ResiduePosition(0, 3)->y(), view().ResiduePosition(0, 0)->y() + view().CellHeight());
    view().ShowAllSequences();
    EXPECT_EQ(renderer().RowsPerBlock(), 50u + 2u);
    EXPECT_TRUE(view().IsResidueVisible(0, 1));
}

// GIVEN names with and without a "/start-end" range WHEN the mouse is over a residue THEN the status bar
// numbers it as the sequence numbers its residues.
TEST_F(ViewerWindowTest, TheStatusBarNumbersResiduesInTheSequencesOwnCoordinates) {
    view().SetDocument(std::make_unique<AlignmentDocument>(msaviewtest::MakeAlignment(
        {{"alpha/193-196", "-MKVL", ""}, {"beta", "MK-VL", ""}, {"gamma/50-47", "MKV-L", ""}})));
    const auto statusAt = [this](unsigned column, unsigned sequence) {
        QTest::mouseMove(view().viewport(), CellCentre(view(), column, sequence));
        return window.StatusText();
    };
    EXPECT_EQ(statusAt(3, 0), "alpha/193-196 | column 4 | residue V 195");
    EXPECT_EQ(statusAt(3, 1), "beta | column 4 | residue V 3");
    EXPECT_EQ(statusAt(4, 2), "gamma/50-47 | column 5 | residue L 47");  // a reverse range counts down
    EXPECT_EQ(statusAt(3, 2), "gamma/50-47 | column 4 | gap");
}

TEST_F(ViewerWindowTest, HidingEverySequenceIsRefused) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    const QPoint first = CellCentre(view(), 0, 0);
    QTest::mousePress(view().viewport(), Qt::LeftButton, Qt::NoModifier, first);
    QTest::mouseMove(view().viewport(), CellCentre(view(), 0, 3));
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 0, 3));
    EXPECT_FALSE(view().HideChosenSequences());
    EXPECT_EQ(renderer().RowsPerBlock(), 4u + 2u);
}

TEST_F(ViewerWindowTest, ATinyWindowComposesNothingAndRecovers) {
    ASSERT_TRUE(window.OpenFile(DataFile("globins4.sto")));
    view().setMinimumSize(0, 0);
    window.setMinimumSize(0, 0);
    view().SetOptions(view().Options());
    view().resize(3, 3);
    QTRY_VERIFY(!view().IsComposed());
    EXPECT_FALSE(view().GoTo(0, 0));
    EXPECT_EQ(view().SelectionImage(), nullptr);
    window.resize(900, 600);
    view().resize(800, 500);
    QTRY_VERIFY(view().IsComposed());
    EXPECT_TRUE(view().IsResidueVisible(0, 0));
}

// A picture of the viewer on a real alignment: wrapped, with secondary structure and a selection.
// Written to $MSAVIEW_SCREENSHOT when that is set.
TEST_F(ViewerWindowTest, ScreenshotShowsWrappedStructureAndSelection) {
    window.resize(1000, 640);
    ASSERT_TRUE(window.OpenFile(DataFile("fn3.sto")));
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 60; });
    // Scroll so that sequences with secondary structure are in view, then select some of them.
    view().GoTo(8, 0);
    const QPoint from = CellCentre(view(), 12, 7);
    QTest::mousePress(view().viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view().viewport(), CellCentre(view(), 30, 9));
    QTest::mouseRelease(view().viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 30, 9));
    QTest::mouseMove(view().viewport(), CellCentre(view(), 20, 8));
    const QImage shot = window.grab().toImage();
    if (const QByteArray path = qgetenv("MSAVIEW_SCREENSHOT"); !path.isEmpty())
        shot.save(QString::fromLocal8Bit(path), "PNG");
    EXPECT_FALSE(window.StatusText().isEmpty());
    // The helix colour of the cartoon lines is somewhere in the view.
    bool helix = false;
    for (int y = 0; y < shot.height() && !helix; ++y)
        for (int x = 0; x < shot.width() && !helix; ++x) helix = shot.pixelColor(x, y) == QColor(210, 40, 40);
    EXPECT_TRUE(helix);
}

}  // namespace
