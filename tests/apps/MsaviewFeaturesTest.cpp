// Find, saving and exporting through the menus, and what the window remembers between runs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "AlignmentView.h"
#include "FindBar.h"
#include "MsaviewTestSupport.h"
#include "SelectionPicture.h"
#include "ViewerWindow.h"

using msaviewtest::MakeAlignment;
using msaviewtest::WhenIdle;

namespace {

using FeaturesTest = msaviewtest::WindowTest;

TEST_F(FeaturesTest, FindGoesToAMotifAcrossGapsAndSelectsEveryMatch) {
    view().SetDocument(std::make_unique<AlignmentDocument>(MakeAlignment(
        {{"alpha", "AC--DEFGCD", ""}, {"beta", "GGCDGG----", ""}, {"gamma", "C-D-------", ""}})));
    FindBar& find = window.Find();
    ASSERT_TRUE(find.Find("cd", FindBar::Mode::Residues));
    ASSERT_EQ(find.Matches().size(), 4u);
    EXPECT_EQ(find.Matches()[0], (FindMatch{0, 1, 4}));  // C, two gaps, D
    EXPECT_EQ(find.Matches()[3], (FindMatch{2, 0, 2}));
    EXPECT_TRUE(model().getSelection().isFullySelected(1, 4, 0));
    EXPECT_TRUE(model().getSelection().isFullySelected(2, 2, 1));
    EXPECT_EQ(view().Document()->CurrentSequence(), 0);
    EXPECT_EQ(find.Message(), "1 of 4");
    ASSERT_TRUE(find.Next());
    EXPECT_EQ(find.CurrentMatch(), 1);
    ASSERT_TRUE(find.Previous());
    ASSERT_TRUE(find.Previous());
    EXPECT_EQ(find.CurrentMatch(), 3);  // round the start to the last match
    EXPECT_EQ(view().Document()->CurrentSequence(), 2);
}

TEST_F(FeaturesTest, FindInNamesAndTellsWhenNothingMatches) {
    Open("fn3.sto");
    const QString name = view().Document()->SequenceName(40);
    FindBar& find = window.Find();
    ASSERT_TRUE(find.Find(name.left(8).toLower(), FindBar::Mode::Names));
    EXPECT_TRUE(view().IsResidueVisible(0, find.Matches()[std::size_t(find.CurrentMatch())].sequenceIndex));
    EXPECT_FALSE(find.Find("WWWWWWWWWW", FindBar::Mode::Residues));
    EXPECT_EQ(find.Message(), "No match");
    EXPECT_TRUE(model().getSelection().empty());
}

TEST_F(FeaturesTest, ControlFOpensTheFindBar) {
    Open("globins4.sto");
    ASSERT_FALSE(window.Find().isVisible());
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(window.Find().isVisible());
}

TEST_F(FeaturesTest, SaveWithNothingSelectedComplainsWithoutAskingForAFile) {
    Open("globins4.sto");
    bool dialogShown = false;
    AnswerFileDialog(QString(), dialogShown);
    MenuAction("Save selection as...")->trigger();
    QTest::qWait(20);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(window.LastError().contains("select"));
}

TEST_F(FeaturesTest, ExportThroughTheMenuWritesThePictureOfTheWholeAlignment) {
    Open("fn3.sto");
    QTemporaryDir folder;
    const QString path = folder.filePath("whole.png");
    bool dialogShown = false;
    AnswerFileDialog(path, dialogShown);
    MenuAction("Export alignment as...")->trigger();
    EXPECT_TRUE(dialogShown);
    const QImage written(path);
    ASSERT_FALSE(written.isNull()) << window.LastError().toStdString();
    const SelectionPicture whole(view().Renderer(), PictureRange::OfAlignment(*view().Document()),
                                 view().Renderer().ResiduesPerBlock());
    EXPECT_EQ(written.size(), whole.Size());
    EXPECT_EQ(whole.Plan().blockStarts.size(), view().Renderer().BlockCount());
}

TEST_F(FeaturesTest, ExportingCanBeStoppedPartWay) {
    Open("fn3.sto");
    const SelectionPicture whole(view().Renderer(), PictureRange::OfAlignment(*view().Document()), 0);
    int calls = 0;
    EXPECT_TRUE(whole.Paint([&calls](std::int64_t, std::int64_t) { return ++calls < 1; }).isNull());
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(whole.Paint().isNull());
}

TEST_F(FeaturesTest, SettingsAndRecentFilesOutliveTheWindow) {
    Open("globins4.sto");
    SetOptions([](DisplayOptions& options) {
        options.colorScheme = "zappo";
        options.wrap = false;
        options.showRuler = false;
    });
    view().Zoom(2);
    window.close();
    ViewerWindow next;
    EXPECT_EQ(next.View().Options().colorScheme, "zappo");
    EXPECT_FALSE(next.View().Options().wrap);
    EXPECT_FALSE(next.View().Options().showRuler);
    EXPECT_EQ(next.View().font().pointSize(), view().font().pointSize());
    ASSERT_FALSE(next.Settings().recentFiles.isEmpty());
    EXPECT_TRUE(next.Settings().recentFiles.front().endsWith("globins4.sto"));
}

// GIVEN a scheme chosen for a protein WHEN a DNA file opens THEN it has the nucleic default (or the
// scheme last chosen for DNA), and the protein's comes back with the next protein, in this run or the next.
TEST_F(FeaturesTest, ColourSchemesAreRememberedPerAlphabet) {
    const auto checkedScheme = [this] {
        for (QAction* action : window.findChildren<QAction*>())
            if (action->isCheckable() && action->isChecked() && action->data().isValid())
                return action->text();
        return QString();
    };
    Open("globins4.sto");
    MenuAction("zappo")->trigger();
    Open("seaview_nuc.aln");
    EXPECT_EQ(view().Options().colorScheme, QString());
    EXPECT_EQ(checkedScheme(), "Default");
    MenuAction("plain")->trigger();
    Open("globins50.afa");
    EXPECT_EQ(view().Options().colorScheme, "zappo");
    EXPECT_EQ(checkedScheme(), "zappo");
    Open("emboss_ecoli6s.aln");
    EXPECT_EQ(view().Options().colorScheme, "plain");
    window.close();
    ViewerWindow next;
    ASSERT_TRUE(next.OpenFile(msaviewtest::DataFile("globins4.sto")));
    EXPECT_EQ(next.View().Options().colorScheme, "zappo");
    ASSERT_TRUE(next.OpenFile(msaviewtest::DataFile("seaview_nuc.aln")));
    EXPECT_EQ(next.View().Options().colorScheme, "plain");
}

TEST_F(FeaturesTest, NamesShowAsIdentifiersOrAsWholeTitleLines) {
    Open("jalview_uniref50.fa");  // ">FER_CAPAA Ferredoxin"
    EXPECT_EQ(view().Document()->SequenceName(0), "FER_CAPAA");
    const int narrow = view().Renderer().GetNameViewSize().width();
    SetOptions([](DisplayOptions& options) { options.fullNames = true; });
    EXPECT_EQ(view().Document()->SequenceName(0), "FER_CAPAA Ferredoxin");
    EXPECT_GT(view().Renderer().GetNameViewSize().width(), narrow);
    QTest::mouseMove(viewport(), msaviewtest::CellCentre(view(), 70, 0));
    EXPECT_TRUE(window.StatusText().startsWith("FER_CAPAA Ferredoxin |"))
        << window.StatusText().toStdString();
    SetOptions([](DisplayOptions& options) { options.fullNames = false; });
    EXPECT_EQ(view().Document()->SequenceName(0), "FER_CAPAA");
    EXPECT_EQ(view().Renderer().GetNameViewSize().width(), narrow);
}

// GIVEN four rows WHEN View > Sort rows orders them by name, by identity to the current row and back as in
// the file THEN the rows are drawn in that order, and the selection and the current row stay with their
// sequences.
TEST_F(FeaturesTest, RowsSortByNameByIdentityAndBackToTheFileOrder) {
    view().SetDocument(std::make_unique<AlignmentDocument>(MakeAlignment({{"delta", "ACDEFG", ""},
                                                                          {"Alpha", "ACDQQQ", ""},
                                                                          {"charlie", "ACDEFQ", ""},
                                                                          {"bravo", "WWWWWW", ""}})));
    const auto shownNames = [this] {
        QStringList names;
        for (const ShownLine& line : view().ShownLines())
            names << view().Document()->SequenceName(line.sequenceIndex);
        return names;
    };
    const auto currentName = [this] {
        return view().Document()->SequenceName(view().Document()->CurrentSequence());
    };
    ASSERT_TRUE(window.Find().Find("WWW", FindBar::Mode::Residues));  // bravo, now current and selected
    MenuAction("By name")->trigger();
    EXPECT_EQ(shownNames(), (QStringList{"Alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(currentName(), "bravo");
    EXPECT_EQ(model().getSelection().sequences(), std::vector<unsigned>{1});
    EXPECT_FALSE(window.Find().Next()) << "Find's matches named the old rows";

    view().SetCurrentSequence(2);  // charlie, ACDEFQ: delta 5 of 6 alike, Alpha 4, bravo none
    MenuAction("By identity to the current row")->trigger();
    EXPECT_EQ(shownNames(), (QStringList{"charlie", "delta", "Alpha", "bravo"}));
    EXPECT_EQ(currentName(), "charlie");
    const QPoint first = *view().ResiduePosition(0, unsigned(view().Document()->CurrentSequence()));
    EXPECT_EQ(first.y(), view().ShownLines().front().top);

    MenuAction("As in the file")->trigger();
    EXPECT_EQ(shownNames(), (QStringList{"delta", "Alpha", "charlie", "bravo"}));
    EXPECT_EQ(model().getSelection().sequences(), std::vector<unsigned>{3});
}

TEST(ViewerSettingsTest, RecentFilesAreUniqueNewestFirstAndBounded) {
    ViewerSettings settings;
    for (int i = 0; i < ViewerSettings::kMaxRecentFiles + 3; ++i)
        settings.AddRecentFile(QString("/f%1").arg(i));
    settings.AddRecentFile("/f5");
    EXPECT_EQ(settings.recentFiles.size(), ViewerSettings::kMaxRecentFiles);
    EXPECT_EQ(settings.recentFiles.front(), "/f5");
    EXPECT_EQ(settings.recentFiles.count("/f5"), 1);
}

}  // namespace
