// Figures about one sequence in the viewer: residues identical to a reference drawn as dots or blanks, the
// identity to it under the mouse, highlights of the selection, residue numbers and identities in pictures,
// and colour schemes of the user's own, loaded from a file and remembered for the alphabet.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QStatusBar>
#include <QTemporaryDir>

#include "AlignmentView.h"
#include "HoverDescription.h"
#include "MsaviewTestSupport.h"
#include "SelectionPicture.h"

namespace {

// Identity to "ref" over the columns where both have residues: other 4 of 5 (80%), third 3 of 4 (75%).
const char kFamily[] =
    ">ref\nMKLVW\n"
    ">other\nMKAVW\n"
    ">third\nAKLV-\n";
const char kNucleic[] = ">n1\nACGTACGT\n>n2\nACGTTCGT\n";

class ReferenceTest : public msaviewtest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(directory.isValid());
    }
    QString Write(const QString& name, const QByteArray& text) {
        const QString path = directory.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    void OpenFamily() {
        ASSERT_TRUE(window.OpenFile(Write("family.fa", kFamily))) << window.LastError().toStdString();
        SetOptions([](DisplayOptions& options) { options.wrap = false; });
    }
    int SequenceNamed(const std::string& name) {
        for (unsigned index = 0; index < model().size(); ++index)
            if (model().getSequence(index)->getIdentifier() == name) return int(index);
        return -1;
    }
    // A pixel near the top left corner of a residue's cell: its background, clear of the letter.
    QColor CellBackground(unsigned column, const std::string& name) {
        const QPoint centre = msaviewtest::CellCentre(view(), column, unsigned(SequenceNamed(name)));
        return Shot().pixelColor(centre - QPoint(cells.CellWidth() / 2 - 1, cells.CellHeight() / 2 - 1));
    }
    // The number of dark pixels in a residue's cell.
    int Ink(unsigned column, const std::string& name) {
        const QPoint centre = msaviewtest::CellCentre(view(), column, unsigned(SequenceNamed(name)));
        const QImage shot = Shot();
        int dark = 0;
        for (int y = centre.y() - cells.CellHeight() / 2; y < centre.y() + cells.CellHeight() / 2; ++y)
            for (int x = centre.x() - cells.CellWidth() / 2; x < centre.x() + cells.CellWidth() / 2; ++x)
                dark += qGray(shot.pixel(x, y)) < 128;
        return dark;
    }
    QString HoverOver(unsigned column, const std::string& name) {
        HoverTarget target;
        target.sequenceIndex = SequenceNamed(name);
        target.row = view().Document()->Rows().RowOfSequence(target.sequenceIndex);
        target.column = int(column);
        return DescribeHover(*view().Document(), target, view().Options());
    }

    QTemporaryDir directory;
};

TEST_F(ReferenceTest, TheCurrentRowBecomesTheReferenceAndItsIdenticalResiduesDots) {
    OpenFamily();
    SetOptions([](DisplayOptions& options) { options.colorScheme = QStringLiteral("zappo"); });
    const QColor schemeColour = CellBackground(1, "other");
    ASSERT_NE(schemeColour, QColor(Qt::white)) << "K has a background in this scheme";
    const int letterInk = Ink(1, "other");
    view().Document()->SetCurrentSequence(SequenceNamed("ref"));
    MenuAction("Compare with the current row")->trigger();
    ASSERT_EQ(view().Reference(), SequenceNamed("ref"));

    // K in "other" equals ref's K: a dot, black on white, with less ink than the letter.
    EXPECT_EQ(CellBackground(1, "other"), QColor(Qt::white));
    EXPECT_GT(Ink(1, "other"), 0);
    EXPECT_LT(Ink(1, "other"), letterInk);
    // A differs from ref's L and keeps its colours; the reference keeps its own letters.
    EXPECT_NE(CellBackground(2, "other"), QColor(Qt::white));
    EXPECT_EQ(CellBackground(1, "ref"), schemeColour);

    MenuAction("Identical residues blank (else dots)")->trigger();
    EXPECT_EQ(Ink(1, "other"), 0);
    MenuAction("No reference")->trigger();
    EXPECT_EQ(view().Reference(), -1);
    EXPECT_EQ(CellBackground(1, "other"), schemeColour);
}

TEST_F(ReferenceTest, HoverTellsTheIdentityToTheReferenceOverSharedColumns) {
    OpenFamily();
    EXPECT_FALSE(HoverOver(0, "other").contains("identical")) << "no reference yet";
    view().SetReference(SequenceNamed("ref"));
    EXPECT_TRUE(HoverOver(0, "other").endsWith(" | 80% identical to ref"))
        << HoverOver(0, "other").toStdString();
    EXPECT_TRUE(HoverOver(4, "third").endsWith(" | gap | 75% identical to ref"))
        << HoverOver(4, "third").toStdString();
    EXPECT_FALSE(HoverOver(0, "ref").contains("identical"));
}

TEST_F(ReferenceTest, TheReferenceStaysTheSameSequenceWhenRowsAreSortedAndIsForgottenWithItsFile) {
    OpenFamily();
    view().SetReference(SequenceNamed("other"));  // second in the file, first by name
    view().SortRows(AlignmentView::RowSort::ByName);
    view().SortRows(AlignmentView::RowSort::AsInTheFile);
    view().SortRows(AlignmentView::RowSort::ByName);
    // Switching dots for blanks finds the reference again by the option that names it.
    SetOptions([](DisplayOptions& options) { options.blankIdentical = true; });
    EXPECT_EQ(view().Reference(), SequenceNamed("other"));
    EXPECT_EQ(Ink(1, "ref"), 0) << "K is other's too";

    ASSERT_TRUE(window.OpenFile(Write("again.fa", kFamily)));
    EXPECT_EQ(view().Reference(), -1);
    EXPECT_TRUE(view().Options().reference.isEmpty());
}

TEST_F(ReferenceTest, ASchemeFileColoursTheViewAndIsRememberedForItsAlphabetOnly) {
    OpenFamily();
    const QString rules = Write("mine.txt", "MKLVAW #00ff00\n");
    ASSERT_TRUE(window.LoadSchemeFile(rules)) << window.LastError().toStdString();
    EXPECT_EQ(CellBackground(1, "other"), QColor(0, 255, 0));
    EXPECT_TRUE(MenuAction("From file (mine.txt)...")->isChecked());

    ASSERT_TRUE(window.OpenFile(Write("dna.fa", kNucleic)));
    EXPECT_TRUE(view().Options().schemeFile.isEmpty()) << "a protein scheme is not DNA's";
    OpenFamily();
    EXPECT_EQ(view().Options().schemeFile, QFileInfo(rules).absoluteFilePath());
    EXPECT_EQ(CellBackground(1, "other"), QColor(0, 255, 0));

    MenuAction("zappo")->trigger();
    EXPECT_TRUE(view().Options().schemeFile.isEmpty()) << "a named scheme replaces the file";
    EXPECT_NE(CellBackground(1, "other"), QColor(0, 255, 0));
}

TEST_F(ReferenceTest, ABadSchemeFileIsNamedByItsLineAndChangesNothing) {
    OpenFamily();
    const QColor before = CellBackground(1, "other");
    const QString bad = Write("bad.txt", "# mine\nKR notacolour\n");
    EXPECT_FALSE(window.LoadSchemeFile(bad));
    EXPECT_TRUE(window.LastError().contains(bad + ":2:")) << window.LastError().toStdString();
    EXPECT_TRUE(view().Options().schemeFile.isEmpty());
    EXPECT_FALSE(MenuAction("From file...")->isChecked());
    EXPECT_EQ(CellBackground(1, "other"), before);

    // A remembered file that went bad is dropped when the next file opens, not retried on every paint.
    const QString rules = Write("mine.txt", "MKLVAW #00ff00\n");
    ASSERT_TRUE(window.LoadSchemeFile(rules));
    Write("mine.txt", "KR notacolour\n");
    ASSERT_TRUE(window.OpenFile(Write("again.fa", kFamily)));
    EXPECT_TRUE(view().Options().schemeFile.isEmpty());
    const QString message = window.statusBar()->currentMessage();
    EXPECT_TRUE(message.contains("mine.txt:1:")) << message.toStdString();
}

TEST_F(ReferenceTest, AHighlightOfTheSelectionFramesItInTheViewAndInPictures) {
    OpenFamily();
    const auto pictureOfAll = [this] {
        return view().PictureOf(PictureRange::OfAlignment(*view().Document())).Paint();
    };
    const QImage before = pictureOfAll();
    EXPECT_FALSE(window.AddHighlight("loop")) << "nothing selected";

    const unsigned other = unsigned(SequenceNamed("other"));
    view().SelectRuns({{other, 1, 3}});
    ASSERT_TRUE(window.AddHighlight("loop"));
    // "other" is MKAVW: columns 2-4 hold its residues 2-4.
    EXPECT_EQ(view().Options().highlights, QStringList{"\"other\":2-4:red:loop"});
    const QPoint first = msaviewtest::CellCentre(view(), 1, other);
    const QPoint last = msaviewtest::CellCentre(view(), 3, other);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(first.x() - cells.CellWidth() / 2 + 1, first.y()), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(last.x() + cells.CellWidth() / 2 - 2, last.y()), QColor(Qt::red));
    EXPECT_NE(
        shot.pixelColor(last.x() + cells.CellWidth() / 2 - 2, LineTop(unsigned(SequenceNamed("third"))) + 2),
        QColor(Qt::red))
        << "only its own row";
    // Pictures frame it too, its label on a line of its own above the rows.
    const QImage framed = pictureOfAll();
    EXPECT_EQ(framed.height(), before.height() + cells.CellHeight());
    EXPECT_GT(framed.width(), 0);

    view().SelectRuns({{other, 0, 1}, {unsigned(SequenceNamed("third")), 0, 1}});
    ASSERT_TRUE(window.AddHighlight(QString()));
    EXPECT_EQ(view().Options().highlights.back(), "columns:1-2:blue:")
        << "rows of several sequences: columns";
    MenuAction("Clear highlights")->trigger();
    EXPECT_TRUE(view().Options().highlights.isEmpty());
    EXPECT_EQ(pictureOfAll().size(), before.size());
}

TEST_F(ReferenceTest, ResidueNumbersAndTheIdentityColumnWidenPictures) {
    OpenFamily();
    const auto widthOfAll = [this] {
        return view().PictureOf(PictureRange::OfAlignment(*view().Document())).Size().width();
    };
    const int plain = widthOfAll();
    MenuAction("Residue numbers beside each line")->trigger();
    ASSERT_TRUE(view().Options().residueNumbers);
    const int numbered = widthOfAll();
    EXPECT_GT(numbered, plain);
    MenuAction("Identity column (to the reference, else the consensus)")->trigger();
    EXPECT_GT(widthOfAll(), numbered);
}

// The ruler numbers the reference's residues: "ref" has no gaps and no range, so its numbers are the
// columns'; "late/101-105" numbers them from 101, and the ruler shows other labels.
TEST_F(ReferenceTest, TheRulerCanNumberTheReferencesResidues) {
    ASSERT_TRUE(window.OpenFile(Write("ranged.fa", ">ref\nMKLVW\n>late/101-105\nMKAVW\n")));
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    const QRect ruler(view().Header().rect());
    const auto rulerShot = [this, &ruler] {
        return const_cast<QWidget&>(view().Header()).grab(ruler).toImage();
    };
    const QImage columns = rulerShot();
    view().SetReference(SequenceNamed("ref"));
    MenuAction("Ruler numbers its residues")->trigger();
    ASSERT_TRUE(view().Options().rulerByReference);
    EXPECT_EQ(rulerShot(), columns);
    view().SetReference(SequenceNamed("late/101-105"));
    EXPECT_NE(rulerShot(), columns);
    MenuAction("Ruler numbers its residues")->trigger();
    EXPECT_EQ(rulerShot(), columns);
}

}  // namespace
