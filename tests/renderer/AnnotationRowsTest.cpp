// Annotation rows in the layout, the composed view, hit tests, ScrollTo and pictures.

#include <QFontMetrics>
#include <QPainter>

#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;

namespace {

constexpr unsigned kRows = 3;
constexpr unsigned kColumns = 30;
const QColor kBarColour(0x20, 0x80, 0x20);

// A full bar at every even column and a symbol at every column divisible by three.
AnnotationRow EvenBars(const std::string& label) {
    AnnotationRow row;
    row.label = label;
    row.barColour = kBarColour.rgba();
    for (unsigned column = 0; column < kColumns; ++column) {
        row.heights.push_back(column % 2 == 0 ? 1.0f : 0.0f);
        row.symbols.push_back(column % 3 == 0 ? '*' : ' ');
    }
    return row;
}

class AnnotationRowsTest : public ViewFixture {
protected:
    void SetUp() override { alignment = LetterRows(kRows, kColumns); }

    // Ten columns wide, `gridRows` high, wrapped to ten columns: three blocks.
    bool RenderWrapped(int gridRows, int top = 0) {
        return RenderScrolled(alignment, AspectsOfCells(10, gridRows, true, 10), top);
    }

    BuiltAlignment alignment;
};

TEST_F(AnnotationRowsTest, NoAnnotationRowsKeepEveryLayoutNumber) {
    RenderSequenceData plain;
    ASSERT_TRUE(plain.Render(&device, *alignment.view, AspectsOfCells(10, 40, true, 10), false, false));
    // GIVEN rows that were set and then taken away again
    renderer.SetAnnotationRows({EvenBars("a")});
    ASSERT_TRUE(RenderWrapped(40));
    renderer.SetAnnotationRows({});
    ASSERT_TRUE(RenderWrapped(40));
    // THEN the layout is the plain one: rows plus the ruler band per block
    EXPECT_EQ(renderer.RowsPerBlock(), kRows + kRulerBandRows);
    EXPECT_EQ(renderer.RowsPerBlock(), plain.RowsPerBlock());
    EXPECT_EQ(renderer.GetVerticalScrollValue(), plain.GetVerticalScrollValue());
    EXPECT_EQ(renderer.GetResidueBlockHeight(), plain.GetResidueBlockHeight());
    EXPECT_EQ(renderer.BlocksToRender(), plain.BlocksToRender());
    EXPECT_EQ(renderer.LastBlockRows(), plain.LastBlockRows());
    EXPECT_EQ(renderer.GetSequenceViewSize(), plain.GetSequenceViewSize());
    EXPECT_EQ(renderer.RowLocations().size(), plain.RowLocations().size());
}

TEST_F(AnnotationRowsTest, EachRowAddsOneGridRowToEveryBlock) {
    renderer.SetAnnotationRows({EvenBars("a"), EvenBars("b")});
    ASSERT_TRUE(RenderWrapped(40));
    EXPECT_EQ(renderer.RowsPerBlock(), kRows + kRulerBandRows + 2);
    EXPECT_EQ(renderer.BlockCount(), 3u);
    EXPECT_EQ(renderer.GetVerticalScrollValue(), cells.LineTop(3 * int(kRows + kRulerBandRows + 2)));
}

TEST_F(AnnotationRowsTest, BarsAndSymbolsAreDrawnUnderTheRowsOfEveryBlock) {
    renderer.SetAnnotationRows({EvenBars("bars")});
    ASSERT_TRUE(RenderWrapped(40));
    const QImage view = View();
    const int perBlock = int(renderer.RowsPerBlock());
    for (int block = 0; block < 3; ++block) {
        const int lineTop = cells.LineTop(block * perBlock + int(kRulerBandRows + kRows));
        for (int offset = 0; offset < 10; ++offset) {
            const int column = block * 10 + offset;
            const QRect cell = cells.Cell(offset, lineTop);
            // The bar fills the cell: its corners away from the centred symbol show the bar colour.
            const QColor corner(view.pixel(cell.topLeft() + QPoint(1, 1)));
            EXPECT_EQ(corner == kBarColour, column % 2 == 0) << "column " << column;
            if (column % 2 != 0) {
                EXPECT_EQ(HasInk(view, cell), column % 3 == 0) << "column " << column;
            }
        }
    }
    // The name column carries the row's label beside its line.
    const int firstLine = cells.LineTop(int(kRulerBandRows + kRows));
    EXPECT_TRUE(HasInk(Names(), QRect(0, firstLine, Names().width(), cells.CellHeight())));
}

TEST_F(AnnotationRowsTest, BarHeightIsAShareOfTheCellFromItsBottomEdge) {
    AnnotationRow half = EvenBars("half");
    half.symbols.clear();
    half.heights.assign(kColumns, 0.5f);
    renderer.SetAnnotationRows({half});
    ASSERT_TRUE(RenderWrapped(40));
    const QRect cell = cells.Cell(0, cells.LineTop(int(kRulerBandRows + kRows)));
    const QImage view = View();
    EXPECT_EQ(QColor(view.pixel(cell.left() + 1, cell.bottom())), kBarColour);
    EXPECT_EQ(QColor(view.pixel(cell.left() + 1, cell.top())), QColor(Qt::white));
}

TEST_F(AnnotationRowsTest, PerColumnColoursOverrideTheRowColour) {
    AnnotationRow row = EvenBars("coloured");
    row.colours.assign(kColumns, 0);
    row.colours[2] = 0xFFFF0000u;
    renderer.SetAnnotationRows({row});
    ASSERT_TRUE(RenderWrapped(40));
    const int lineTop = cells.LineTop(int(kRulerBandRows + kRows));
    EXPECT_EQ(QColor(View().pixel(cells.Cell(2, lineTop).topLeft() + QPoint(1, 1))), QColor(Qt::red));
    EXPECT_EQ(QColor(View().pixel(cells.Cell(0, lineTop).topLeft() + QPoint(1, 1))), kBarColour);
}

TEST_F(AnnotationRowsTest, AboveSequencesTheLinesSitUnderTheBandAndTheRowsMoveDown) {
    renderer.SetAnnotationRows({EvenBars("a")}, AnnotationPlace::AboveSequences);
    ASSERT_TRUE(RenderWrapped(40));
    const QImage view = View();
    const QRect bar = cells.Cell(0, cells.LineTop(int(kRulerBandRows)));
    EXPECT_EQ(QColor(view.pixel(bar.topLeft() + QPoint(1, 1))), kBarColour);
    // Row 0 is one line lower than without annotations.
    const QPoint rowZero = cells.CellCentre(0, cells.LineTop(int(kRulerBandRows) + 1));
    EXPECT_EQ(renderer.GetRowIndex(rowZero), 0);
    EXPECT_EQ(
        QColor(view.pixel(cells.Cell(0, rowZero.y() - cells.CellHeight() / 2).topLeft() + QPoint(1, 1))),
        Background(LetterAt(0, 0)));
}

TEST_F(AnnotationRowsTest, HitOnAnAnnotationLineNamesItsRowAndColumnButNoSequence) {
    renderer.SetAnnotationRows({EvenBars("a"), EvenBars("b")});
    ASSERT_TRUE(RenderWrapped(40));
    const int perBlock = int(renderer.RowsPerBlock());
    // Second block, annotation row 1, column offset 4: column 14.
    const QPoint point = cells.CellCentre(4, cells.LineTop(perBlock + int(kRulerBandRows + kRows) + 1));
    EXPECT_EQ(renderer.GetAnnotationIndex(point), 1);
    EXPECT_EQ(renderer.GetResidueIndex(point), 14);
    EXPECT_EQ(renderer.GetRowIndex(point), -1);
    EXPECT_EQ(renderer.GetSequenceIndex(point), -1);
    EXPECT_EQ(renderer.GetSsKey(point), "");
    // A residue line and the band are no annotation.
    EXPECT_EQ(renderer.GetAnnotationIndex(cells.CellCentre(4, cells.LineTop(int(kRulerBandRows)))), -1);
    EXPECT_EQ(renderer.GetAnnotationIndex(cells.CellCentre(4, 0)), -1);
    EXPECT_EQ(renderer.GetAnnotationIndex(QPoint(-5, -5)), -1);
}

TEST_F(AnnotationRowsTest, ScrollToAnnotationBringsALineOfALaterBlockIntoView) {
    renderer.SetAnnotationRows({EvenBars("a")});
    // GIVEN a view of one block's worth (six grid rows) at the top
    ASSERT_TRUE(RenderWrapped(6));
    int x = 0;
    int y = 0;
    renderer.ScrollToAnnotation(25, 0, x, y);
    // THEN the scroll reaches the third block's annotation line, which the next view shows
    ASSERT_GT(y, 0);
    ASSERT_TRUE(RenderWrapped(6, y));
    bool found = false;
    for (const auto& [top, location] : renderer.RowLocations()) {
        if (location.kind != RenderSequenceData::RowLocation::kAnnotationLine) continue;
        EXPECT_EQ(location.annotation, 0);
        found = found || (location.firstColumn <= 25 && 25 < location.endColumn && top >= 0 &&
                          top + cells.CellHeight() <= cells.LineTop(6));
    }
    EXPECT_TRUE(found);
    // A line already in view needs no scrolling; a bad index or column changes nothing.
    int stillX = 3;
    int stillY = 4;
    renderer.ScrollToAnnotation(25, 0, stillX, stillY);
    EXPECT_EQ(stillY, 4);
    renderer.ScrollToAnnotation(25, 7, stillX, stillY);
    renderer.ScrollToAnnotation(kColumns + 5, 0, stillX, stillY);
    EXPECT_EQ(stillX, 3);
    EXPECT_EQ(stillY, 4);
}

TEST_F(AnnotationRowsTest, PicturesCountAndPaintTheLinesOfEveryBlock) {
    renderer.SetAnnotationRows({EvenBars("bars")});
    ASSERT_TRUE(RenderWrapped(40));
    RenderSequenceData::PicturePlan plan;
    ASSERT_TRUE(renderer.PlanPicture({0, 1, 2}, {}, true, plan));
    const int perBlock = int(kRulerBandRows + kRows + 1);
    EXPECT_EQ(plan.height, cells.LineTop(3 * perBlock));
    QImage image(int(plan.width), int(plan.height), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.PaintPicture(plan, painter, 0, image.height());
    painter.end();
    for (int block = 0; block < 3; ++block) {
        const int lineTop = cells.LineTop(block * perBlock + int(kRulerBandRows + kRows));
        const QPoint corner = cells.Cell(0, lineTop).topLeft() + QPoint(plan.nameWidth + 1, 1);
        EXPECT_EQ(QColor(image.pixel(corner)), kBarColour) << "block " << block;
    }
    // Pictures of chosen columns per row leave the whole-column rows out.
    ASSERT_TRUE(renderer.PlanPicture({}, {{0, {1, 2}}, {1, {3}}}, true, plan));
    for (const auto& line : plan.lines)
        EXPECT_NE(line.kind, RenderSequenceData::PicturePlan::Line::Kind::Annotation);
}

// Columns every row shares are columns of the alignment: the rows come along, cut to them.
TEST_F(AnnotationRowsTest, PicturesOfColumnsEveryRowSharesKeepTheLinesCutToThoseColumns) {
    renderer.SetAnnotationRows({EvenBars("bars")});
    ASSERT_TRUE(RenderWrapped(40));
    const std::vector<unsigned> chosen = {3, 4, 7};  // odd, even, odd: bar only in the second cell
    RenderSequenceData::PicturePlan plan;
    ASSERT_TRUE(renderer.PlanPicture({}, {{0, chosen}, {1, chosen}, {2, chosen}}, true, plan));
    EXPECT_EQ(plan.height, cells.LineTop(int(kRulerBandRows + kRows + 1)));
    QImage image(int(plan.width), int(plan.height), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.PaintPicture(plan, painter, 0, image.height());
    painter.end();
    const int lineTop = cells.LineTop(int(kRulerBandRows + kRows));
    const auto inside = [&](int position) {
        return cells.Cell(position, lineTop).center() + QPoint(plan.nameWidth, cells.CellHeight() / 4);
    };
    EXPECT_EQ(QColor(image.pixel(inside(1))), kBarColour) << "column 4 is even";
    EXPECT_EQ(QColor(image.pixel(inside(0))), QColor(Qt::white)) << "column 3 is odd";
    EXPECT_EQ(QColor(image.pixel(inside(2))), QColor(Qt::white)) << "column 7 is odd";
    EXPECT_GE(plan.nameWidth, QFontMetrics(testsupport::MonoFont()).horizontalAdvance("bars"));
}

TEST_F(AnnotationRowsTest, RowsShorterThanTheAlignmentAndEmptyRowsDrawNothingPastTheirEnd) {
    AnnotationRow shortRow;
    shortRow.label = "short";
    shortRow.heights = {1.0f};
    renderer.SetAnnotationRows({shortRow, AnnotationRow{}});
    ASSERT_TRUE(RenderWrapped(40));
    const int lineTop = cells.LineTop(int(kRulerBandRows + kRows));
    EXPECT_FALSE(
        HasInk(View(), QRect(cells.ColumnLeft(1), lineTop, cells.ColumnLeft(9), cells.CellHeight() * 2)));
}

TEST_F(AnnotationRowsTest, AViewStartingInsideTheLinesShowsTheRestOfThemFirst) {
    renderer.SetAnnotationRows({EvenBars("a"), EvenBars("b")});
    // GIVEN the view's top at the second annotation line of block 0
    const int top = cells.LineTop(int(kRulerBandRows + kRows) + 1);
    ASSERT_TRUE(RenderWrapped(12, top));
    // THEN that line is the view's first, and block 1 follows with its band
    EXPECT_EQ(renderer.GetAnnotationIndex(cells.CellCentre(0, 0)), 1);
    EXPECT_EQ(renderer.GetResidueIndex(cells.CellCentre(0, 0)), 0);
    const auto band = renderer.RowLocations().find(cells.LineTop(1));
    ASSERT_NE(band, renderer.RowLocations().end());
    EXPECT_TRUE(band->second.isRuler);
    EXPECT_EQ(band->second.firstColumn, 10u);
}

TEST_F(AnnotationRowsTest, UnwrappedViewShowsTheLinesUnderTheRowsFromTheFirstVisibleColumn) {
    renderer.SetAnnotationRows({EvenBars("a")});
    auto aspects = AspectsOfCells(10, 20, false);
    aspects.horizontalOffset = cells.ColumnLeft(5);
    ASSERT_TRUE(RenderScrolled(alignment, aspects, 0));
    const int lineTop = cells.LineTop(int(kRulerBandRows + kRows));
    const QPoint point = cells.CellCentre(2, lineTop);
    EXPECT_EQ(renderer.GetAnnotationIndex(point), 0);
    EXPECT_EQ(renderer.GetResidueIndex(point), 7);
    // Column 7 is odd: no bar; column 6 is even: a bar.
    EXPECT_EQ(QColor(View().pixel(cells.Cell(1, lineTop).topLeft() + QPoint(1, 1))), kBarColour);
    EXPECT_NE(QColor(View().pixel(cells.Cell(2, lineTop).topLeft() + QPoint(1, 1))), kBarColour);
}

TEST_F(AnnotationRowsTest, AboveSequencesScrollToAndHitTestsOfRowsCountTheLines) {
    renderer.SetAnnotationRows({EvenBars("a"), EvenBars("b")}, AnnotationPlace::AboveSequences);
    ASSERT_TRUE(RenderWrapped(7));
    // Blocks are 2 + 2 + 3 = 7 lines; row 2 of block 2 is grid row 14 + 2 + 2 + 2.
    int x = 0;
    int y = 0;
    renderer.ScrollTo(25, 2, x, y);
    ASSERT_TRUE(RenderWrapped(7, y));
    const QPoint corner = renderer.GetResidueCoordinate(25, 2);
    ASSERT_NE(corner, QPoint(-1, -1));
    EXPECT_EQ(renderer.GetSequenceIndex(corner), 2);
    EXPECT_EQ(renderer.GetResidueIndex(corner), 25);
    EXPECT_GE(corner.y(), 0);
    EXPECT_LE(corner.y() + cells.CellHeight(), cells.LineTop(7));
    // The lines above the rows of a shown block name their rows.
    int annotations = 0;
    for (const auto& [top, location] : renderer.RowLocations())
        if (location.kind == RenderSequenceData::RowLocation::kAnnotationLine) ++annotations;
    EXPECT_GT(annotations, 0);
}

TEST_F(AnnotationRowsTest, BlocksTallerThanTheViewStillEndWithTheirLines) {
    alignment = LetterRows(30, kColumns);
    renderer.SetAnnotationRows({EvenBars("a")});
    // GIVEN a view of 12 lines scrolled to the end of block 0 (2 + 30 + 1 lines)
    const int top = cells.LineTop(33 - 12);
    ASSERT_TRUE(RenderWrapped(12, top));
    bool found = false;
    for (const auto& [y, location] : renderer.RowLocations())
        found = found || (location.kind == RenderSequenceData::RowLocation::kAnnotationLine &&
                          location.firstColumn == 0);
    EXPECT_TRUE(found);
}

TEST_F(AnnotationRowsTest, CallsBeforeAnyRenderAndOverlongRowsAnswerSafely) {
    AnnotationRow cartoon;
    cartoon.label = "cartoon";
    cartoon.cartoon = true;
    cartoon.symbols = std::string(kColumns * 3, 'H');  // longer than the alignment
    AnnotationRow bars = EvenBars("bars");
    bars.heights.assign(kColumns * 3, 7.5f);  // beyond a whole cell: clipped to it
    renderer.SetAnnotationRows({cartoon, bars});
    int x = 3;
    int y = 4;
    renderer.ScrollToAnnotation(0, 0, x, y);
    EXPECT_EQ(renderer.GetAnnotationIndex(QPoint(0, 0)), -1);
    RenderSequenceData::PicturePlan plan;
    EXPECT_FALSE(renderer.PlanPicture({0}, {}, true, plan));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    // THEN a Render draws both rows; the bar stays inside its own line
    ASSERT_TRUE(RenderWrapped(40));
    const int barTop = cells.LineTop(int(kRulerBandRows + kRows) + 1);
    EXPECT_EQ(QColor(View().pixel(cells.Cell(0, barTop).topLeft() + QPoint(1, 0))), kBarColour);
    EXPECT_TRUE(HasInk(View(), cells.Cell(1, barTop - cells.CellHeight())));  // the cartoon's helix
}

}  // namespace
