// Selecting in the viewer: pictures of the selection, hiding selected rows, the current row and the
// marks the view draws over the alignment.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "SelectionPicture.h"
#include "ViewerWindow.h"

using msaviewtest::CellCentre;
using Plan = RenderSequenceData::PicturePlan;

namespace {

class SelectionTest : public msaviewtest::WindowTest {
protected:
    // White below a picture's last line, for its names' descenders.
    const int kDescenderRoom = cells.CellHeight() / 2;
    void SetUp() override {
        WindowTest::SetUp();
        Open("fn3.sto");
    }
    SelectionPicture PictureOfSelection() {
        return SelectionPicture(view().Renderer(), PictureRange::OfSelection(*view().Document()),
                                view().Renderer().ResiduesPerBlock());
    }
    const Plan::Line* FirstLine(const Plan& plan, Plan::Line::Kind kind) {
        for (const Plan::Line& line : plan.lines)
            if (line.kind == kind) return &line;
        return nullptr;
    }
    // The background of a cell, at its top-left pixel, in an image whose cell starts at `corner`.
    static QColor Background(const QImage& image, QPoint corner) {
        return image.pixelColor(corner + QPoint(1, 1));
    }
    QString SelectionLabel() {
        for (QLabel* label : window.statusBar()->findChildren<QLabel*>())
            if (label->text().contains("selected")) return label->text();
        return QString();
    }
};

TEST_F(SelectionTest, APictureOfOneRowHasItsNameAndTheRulerNumberedFromTheSelectedColumn) {
    SetOptions([](DisplayOptions& options) { options.showSecondaryStructure = false; });
    Drag(CellCentre(view(), 6, 2), CellCentre(view(), 9, 2));
    const SelectionPicture picture = PictureOfSelection();
    ASSERT_TRUE(picture.IsValid());
    const Plan& plan = picture.Plan();
    EXPECT_TRUE(plan.namesShown);
    EXPECT_GT(plan.nameWidth, 0);
    EXPECT_EQ(picture.Size(), QSize(plan.nameWidth + cells.ColumnLeft(4),
                                    cells.LineTop(kRulerBandRows + 1) + kDescenderRoom));
    const Plan::Line* ruler = FirstLine(plan, Plan::Line::Kind::RulerBand);
    ASSERT_NE(ruler, nullptr);
    EXPECT_EQ(ruler->first, 6u);  // the ruler band starts at the selection's first column
    const std::unique_ptr<QPixmap> copied = view().SelectionImage();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->size(), picture.Size());
}

TEST_F(SelectionTest, APictureShowsTheSchemeColoursNotTheSelectionTint) {
    SetOptions([](DisplayOptions& options) { options.showSecondaryStructure = false; });
    const unsigned sequence = 2;
    // A residue whose colour the scheme sets (not white), for a probe that can tell the two apart.
    const QImage plain = Shot();
    unsigned column = 0;
    while (column < 60 && Background(plain, *view().ResiduePosition(column, sequence)) == QColor(Qt::white))
        ++column;
    ASSERT_LT(column, 60u);
    const QColor schemeColour = Background(plain, *view().ResiduePosition(column, sequence));
    Drag(CellCentre(view(), column, sequence), CellCentre(view(), column + 3, sequence));
    const QColor tint = Background(Shot(), *view().ResiduePosition(column + 1, sequence));
    const SelectionPicture picture = PictureOfSelection();
    const Plan::Line* row = FirstLine(picture.Plan(), Plan::Line::Kind::Row);
    ASSERT_NE(row, nullptr);
    const QImage image = view().SelectionImage()->toImage();
    const QColor pictured = Background(image, QPoint(picture.Plan().nameWidth, int(row->top)));
    EXPECT_EQ(pictured, schemeColour);
    EXPECT_NE(Background(image, QPoint(picture.Plan().nameWidth + cells.ColumnLeft(1), int(row->top))), tint);
}

// GIVEN a selection of everything WHEN the view is drawn THEN each residue keeps its scheme colour under a
// light tint, and the names are drawn as before (not bold, so none outgrows the name column).
TEST_F(SelectionTest, ASelectionOfAnySizeLeavesTheSchemeReadableAndTheNamesAsTheyWere) {
    SetOptions([](DisplayOptions& options) { options.showSecondaryStructure = false; });
    const QImage plain = Shot();
    const QRect names(0, 0, view().NameColumnWidth() - 6, viewport()->height());
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    ASSERT_EQ(model().getSelection().sequences().size(), model().size());
    const QImage selected = Shot();
    int coloured = 0;
    for (unsigned sequence = 1; sequence < 20; ++sequence)
        for (unsigned column = 1; column < 40; column += 3) {
            const QPoint corner = *view().ResiduePosition(column, sequence);
            const QColor scheme = Background(plain, corner);
            if (scheme == QColor(Qt::white)) continue;
            ++coloured;
            const QColor shown = Background(selected, corner);
            EXPECT_NE(shown, scheme) << "no tint at " << column << "," << sequence;
            for (const auto& [was, is] : {std::pair{scheme.red(), shown.red()},
                                          {scheme.green(), shown.green()},
                                          {scheme.blue(), shown.blue()}})
                EXPECT_LE(std::abs(was - is), 70)
                    << "the tint hides the scheme at " << column << "," << sequence;
        }
    EXPECT_GT(coloured, 20);
    EXPECT_EQ(selected.copy(names), plain.copy(names)) << "selected names are drawn otherwise";
}

// Whether the renderer's name column has ink right of `from`: a label the view cuts off there.
bool InkFrom(const QImage& names, int from) {
    for (int y = 0; y < names.height(); ++y)
        for (int x = from; x < names.width(); ++x)
            if (qGray(names.pixel(x, y)) < 128) return true;
    return false;
}

// GIVEN names, structure lines labelled "name(SS)" and annotation rows WHEN the view fits its name column
// THEN no label reaches past the column's visible part, selected or not.
TEST_F(SelectionTest, TheNameColumnHoldsEveryLabel) {
    for (const char* file : {"fn3.sto", "Pkinase.sto", "srp-euk.sto"}) {
        Open(file);
        SetOptions([](DisplayOptions& options) {
            options.showSecondaryStructure = true;
            options.annotationRows = {"ss", "ss_cons", "consensus"};
        });
        const int visible = view().NameColumnWidth() - 6;  // the view's gap before the residues
        EXPECT_FALSE(InkFrom(view().Renderer().GetNamePixmap()->toImage(), visible)) << file;
        view().SelectAll();
        EXPECT_FALSE(InkFrom(view().Renderer().GetNamePixmap()->toImage(), visible)) << file << ", selected";
    }
}

// Whether the rows of `image` from `top` down hold ink left of `right`: a name's descenders.
bool InkBelow(const QImage& image, int top, int right) {
    for (int y = top; y < image.height(); ++y)
        for (int x = 0; x < right; ++x)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

// GIVEN a last row named with descenders WHEN it is copied, saved or exported THEN its descenders are drawn
// whole, inside the last line, and the picture keeps white below it.
TEST_F(SelectionTest, PicturesKeepTheDescendersOfTheirLastName) {
    view().SetDocument(std::make_unique<AlignmentDocument>(
        msaviewtest::MakeAlignment({{"alpha", "ACDEFGHIK", ""}, {"gypsy_jq", "ACDEF-HIK", ""}})));
    view().SelectAll();
    QTemporaryDir folder;
    ASSERT_TRUE(window.SaveSelectionImage(folder.filePath("selection.png")));
    ASSERT_TRUE(window.ExportAlignmentImage(folder.filePath("whole.png")));
    const SelectionPicture picture = PictureOfSelection();
    ASSERT_TRUE(picture.IsValid());
    const Plan::Line& last = picture.Plan().lines.back();
    const int lastBottom = int(last.top + last.height);
    const std::unique_ptr<QPixmap> copied = view().SelectionImage();
    ASSERT_NE(copied, nullptr);
    for (const QImage& image : {copied->toImage(), QImage(folder.filePath("selection.png")),
                                QImage(folder.filePath("whole.png"))}) {
        ASSERT_FALSE(image.isNull());
        EXPECT_GE(image.height(), lastBottom + cells.CellHeight() / 2);
        EXPECT_TRUE(InkBelow(image, cells.Baseline(int(last.top)) + 1, picture.Plan().nameWidth))
            << "the descenders are cut";
        EXPECT_FALSE(InkBelow(image, lastBottom, picture.Plan().nameWidth)) << "a name crosses its line";
    }
}

TEST_F(SelectionTest, APictureOfSeveralRowsHasTheirStructureLinesWhenTheViewShowsThem) {
    // fn3's first sequences carry secondary structure; the picture has the same lines as the view.
    Drag(CellCentre(view(), 10, 0), CellCentre(view(), 29, 1));
    const SelectionPicture picture = PictureOfSelection();
    ASSERT_TRUE(picture.IsValid());
    int lines = 0;
    for (const Plan::Line& line : picture.Plan().lines) lines += line.height / cells.CellHeight();
    EXPECT_EQ(picture.Size().height(), cells.LineTop(lines) + kDescenderRoom);
    EXPECT_EQ(picture.Size().width(), picture.Plan().nameWidth + cells.ColumnLeft(20));
}

TEST_F(SelectionTest, HiddenSequencesLeaveTheSelectionAndComeBackUnselected) {
    Drag(CellCentre(view(), 4, 1), CellCentre(view(), 8, 3));
    ASSERT_EQ(SelectionLabel(), "3 sequence(s) selected");
    ASSERT_TRUE(view().HideChosenSequences());
    EXPECT_TRUE(model().getSelection().empty());
    EXPECT_TRUE(SelectionLabel().isEmpty());
    EXPECT_EQ(view().Document()->CurrentSequence(), -1);
    view().ShowAllSequences();
    EXPECT_TRUE(model().getSelection().empty());
}

TEST_F(SelectionTest, AMarkerShowsWhereSequencesWereHidden) {
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, CellCentre(view(), 0, 4).y()));
    const int top = LineTop(5);
    ASSERT_GE(top, 0);
    EXPECT_NE(Shot().pixelColor(2, top), ViewMarks::kHiddenMarker);
    ASSERT_TRUE(view().HideChosenSequences());
    const int after = LineTop(5);
    ASSERT_GE(after, 0);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(2, after), ViewMarks::kHiddenMarker);
    EXPECT_NE(shot.pixelColor(2, LineTop(3)), ViewMarks::kHiddenMarker);
}

// GIVEN a hidden row WHEN its marker is drawn THEN no pixel of it lands where the names around it are
// written: right of their indent, in the lines above and below the marker.
TEST_F(SelectionTest, TheHiddenRowsMarkerKeepsOffTheNames) {
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, CellCentre(view(), 0, 4).y()));
    ASSERT_TRUE(view().HideChosenSequences());
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, CellCentre(view(), 0, 20));  // elsewhere
    const int top = LineTop(5);
    ASSERT_GE(top, 0);
    const QImage shot = Shot();
    EXPECT_EQ(shot.pixelColor(1, top), ViewMarks::kHiddenMarker);
    const int indent = QFontMetrics(view().font()).horizontalAdvance(QLatin1Char(' '));
    for (int y = top - cells.CellHeight(); y < top + cells.CellHeight(); ++y)
        for (int x = indent; x < view().NameColumnWidth() - 6; ++x)
            ASSERT_NE(shot.pixelColor(x, y), ViewMarks::kHiddenMarker) << x << "," << y;
}

// GIVEN a clicked name WHEN its row is current THEN its letters stay black on the highlight, with no line
// through them.
TEST_F(SelectionTest, TheCurrentRowsNameIsBlackOnItsHighlightWithNothingThroughIt) {
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, CellCentre(view(), 0, 6).y()));
    ASSERT_EQ(view().Document()->CurrentSequence(), 6);
    const QImage label = Shot().copy(QRect(0, LineTop(6), view().NameColumnWidth() - 6, cells.CellHeight()));
    int darkest = 255 * 3;
    QColor ink;
    int highlight = 0;
    for (int y = 0; y < label.height(); ++y)
        for (int x = 0; x < label.width(); ++x) {
            const QColor pixel = label.pixelColor(x, y);
            EXPECT_NE(pixel, QColor(Qt::blue)) << "a line through the name at " << x << "," << y;
            highlight += pixel == ViewMarks::kCurrentRow ? 1 : 0;
            if (pixel.red() + pixel.green() + pixel.blue() < darkest) {
                darkest = pixel.red() + pixel.green() + pixel.blue();
                ink = pixel;
            }
        }
    EXPECT_GT(highlight, label.width() * label.height() / 3);
    EXPECT_LT(std::max({ink.red(), ink.green(), ink.blue()}), 60) << ink.name().toStdString();
}

TEST_F(SelectionTest, ClickingAResidueMakesItsRowCurrentAndMarksIt) {
    const QImage before = Shot();
    const QPoint cell = CellCentre(view(), 12, 6);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(view().Document()->CurrentSequence(), 6);
    const QPoint inNames(view().NameColumnWidth() - 10, LineTop(6) + 1);
    EXPECT_NE(Shot().pixelColor(inNames), before.pixelColor(inNames));
    EXPECT_EQ(Shot().pixelColor(QPoint(view().NameColumnWidth() + 2, LineTop(6))),
              ViewMarks::kCurrentRowLine);
}

TEST_F(SelectionTest, SelectedResiduesAreFramed) {
    Drag(CellCentre(view(), 12, 6), CellCentre(view(), 15, 6));
    const QPoint corner = *view().ResiduePosition(12, 6);
    EXPECT_EQ(Shot().pixelColor(corner + QPoint(0, view().CellHeight() / 2)), ViewMarks::kSelectionFrame);
    const QPoint unselected = *view().ResiduePosition(20, 6);
    EXPECT_NE(Shot().pixelColor(unselected + QPoint(0, view().CellHeight() / 2)), ViewMarks::kSelectionFrame);
}

TEST_F(SelectionTest, HoverTextFollowsKeyboardScrollingAndHiding) {
    const QPoint point = CellCentre(view(), 3, 4);
    QTest::mouseMove(viewport(), point);
    const QString before = window.StatusText();
    ASSERT_TRUE(before.startsWith(view().Document()->SequenceName(4)));
    QTest::keyClick(&view(), Qt::Key_PageDown);
    ASSERT_GT(view().verticalScrollBar()->value(), 0);
    EXPECT_NE(window.StatusText(), before);
    EXPECT_EQ(window.StatusText(),
              DescribeHover(*view().Document(), view().TargetAt(point), view().Options()));
}

TEST_F(SelectionTest, ClickingNamesSelectsWholeSequencesAndShiftExtends) {
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, CellCentre(view(), 0, 3).y()));
    EXPECT_TRUE(model().getSelection().isFullySelected(0, model().columnCount(), 3));
    EXPECT_EQ(view().Document()->CurrentSequence(), 3);
    QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(3, CellCentre(view(), 0, 5).y()));
    EXPECT_EQ(model().getSelection().sequences(), (std::vector<unsigned>{3, 4, 5}));
    EXPECT_TRUE(model().getSelection().isFullySelected(0, model().columnCount(), 5));
}

TEST_F(SelectionTest, DraggingOnTheRulerSelectsColumnsOfEveryRow) {
    const int rulerY = cells.CellHeight() + 2;  // the lower line of the first block's ruler band
    const QPoint from(CellCentre(view(), 5, 0).x(), rulerY);
    const QPoint to(CellCentre(view(), 9, 0).x(), rulerY);
    Drag(from, to);
    const RowMap& rows = view().Document()->Rows();
    EXPECT_EQ(model().getSelection().sequences().size(), std::size_t(rows.RowCount()));
    const std::vector<SDM::Selection::Range> ranges =
        model().getSelection().ranges(unsigned(rows.SequenceOfRow(rows.RowCount() - 1)));
    ASSERT_EQ(ranges.size(), 1u);
    EXPECT_EQ(ranges.front().first, 5u);
    EXPECT_EQ(ranges.front().last, 9u);
}

TEST_F(SelectionTest, SelectAllAndCopyAsFasta) {
    QTest::keyClick(&window, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(model().getSelection().sequences().size(), model().size());
    view().ClearSelection();
    Drag(CellCentre(view(), 0, 0), CellCentre(view(), 4, 1));
    ASSERT_TRUE(window.CopySelectionFasta());
    const std::string first = model().getSequence(0)->getAligned().substr(0, 5);
    const QString expected =
        ">" + view().Document()->SequenceName(0) + "\n" + QString::fromStdString(first) + "\n";
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith(expected))
        << QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(QApplication::clipboard()->text().count('>'), 2);
}

TEST_F(SelectionTest, TheNameColumnEdgeDragsToANewWidth) {
    const int before = view().NameColumnWidth();
    const int edge = before - 3;
    const int y = CellCentre(view(), 0, 3).y();
    Drag(QPoint(edge, y), QPoint(edge - 40, y));
    EXPECT_EQ(view().NameColumnWidth(), before - 40);
    EXPECT_TRUE(model().getSelection().empty());
    EXPECT_TRUE(view().IsResidueVisible(0, 3));
}

}  // namespace
