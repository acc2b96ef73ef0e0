#include "model/AlignmentHelper.h"
#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;
using renderertest::Letters;

namespace {

constexpr unsigned kColumns = 33;

// Five sequences of 33 letters; sequence 2 is hidden, so rows and sequence indexes differ after row 1.
// Sequence 0 carries keys alpha and beta, sequence 3 carries alpha.
BuiltAlignment HitTestAlignment() {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("s0", Letters(kColumns, 0))
        .Structure("alpha", std::string(kColumns, 'H'))
        .Structure("beta", std::string(kColumns, 'S'));
    builder.Seq("s1", Letters(kColumns, 1));
    builder.Seq("s2", Letters(kColumns, 2)).Hidden();
    builder.Seq("s3", Letters(kColumns, 3)).Structure("alpha", std::string(kColumns, 'C'));
    builder.Seq("s4", Letters(kColumns, 4));
    return builder.Build();
}

struct ViewCase {
    const char* name;
    bool wrap;
    int residuesPerLine;
    bool secondaryStructure;
    int topGridRow;   // vertical scroll, in grid rows
    int leftColumns;  // horizontal scroll, in columns
};

std::ostream& operator<<(std::ostream& out, const ViewCase& c) {
    return out << c.name;
}

class HitTestingTest : public ViewFixture {
protected:
    void SetUp() override { alignment = HitTestAlignment(); }

    bool RenderCase(const ViewCase& c) {
        auto aspects = AspectsOfCells(10, 14, c.wrap, c.residuesPerLine);
        aspects.showSecondaryStructure = c.secondaryStructure;
        aspects.horizontalOffset = cells.ColumnLeft(c.leftColumns);
        return RenderScrolled(alignment, aspects, cells.LineTop(c.topGridRow));
    }
    int SequenceOfRow(int row) const {
        return Corvane::AlignmentHelper(*alignment.view).SequenceOfRow(unsigned(row));
    }

    BuiltAlignment alignment;
};

class ResidueRoundTripTest : public HitTestingTest, public ::testing::WithParamInterface<ViewCase> {};

// For every residue the composed view shows: its coordinate leads back to it, and the view shows its colour
// there.
TEST_P(ResidueRoundTripTest, EveryShownResidueComesBackFromItsCoordinate) {
    ASSERT_TRUE(RenderCase(GetParam()));
    const QImage view = View();
    unsigned checked = 0;
    for (const auto& [top, location] : renderer.RowLocations()) {
        if (location.kind != RenderSequenceData::RowLocation::kBandOrResidueLine || location.row < 0)
            continue;
        const int sequence = SequenceOfRow(location.row);
        ASSERT_GE(sequence, 0);
        for (unsigned column = location.firstColumn; column < location.endColumn && column < kColumns;
             ++column) {
            const QRect cell = cells.Cell(int(column - location.firstColumn), top);
            const QPoint corner = renderer.GetResidueCoordinate(column, unsigned(sequence));
            ASSERT_EQ(corner, cell.topLeft()) << "sequence " << sequence << " column " << column;
            for (const QPoint& point : {corner, cell.bottomRight()}) {
                EXPECT_EQ(renderer.GetResidueIndex(point), int(column));
                EXPECT_EQ(renderer.GetRowIndex(point), location.row);
                EXPECT_EQ(renderer.GetSequenceIndex(point), sequence);
                EXPECT_EQ(renderer.GetSsKey(point), "");
                int foundSequence = -7;
                int foundColumn = -7;
                renderer.GetResidueLocation(point, foundSequence, foundColumn);
                EXPECT_EQ(foundSequence, sequence);
                EXPECT_EQ(foundColumn, int(column));
            }
            if (view.rect().contains(cell)) {  // a fixed block may be wider than the view
                EXPECT_EQ(CellColour(view, corner),
                          Background(Letters(kColumns, unsigned(sequence))[column]));
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 3u * 10u);  // at least three full residue lines were probed
}

INSTANTIATE_TEST_SUITE_P(
    Views, ResidueRoundTripTest,
    ::testing::Values(ViewCase{"WrapFitted", true, 0, false, 0, 0},
                      ViewCase{"WrapFittedStructureScrolled", true, 0, true, 4, 0},
                      ViewCase{"WrapFixedSevenStructure", true, 7, true, 0, 0},
                      ViewCase{"WrapFixedFifteenShifted", true, 15, false, 9, 3},
                      ViewCase{"WrapKeepLayoutScrolled", true, RenderSequenceData::RenderAspects::kFitToWidth,
                               true, 13, 0},
                      ViewCase{"NoWrapScrolledBothWays", false, 0, true, 3, 5}),
    [](const ::testing::TestParamInfo<ViewCase>& info) { return std::string(info.param.name); });

// GIVEN wrapping, structure lines on, no scrolling: band 0-1, s0 2, s0(alpha) 3, s0(beta) 4, s1 5, s3 6 ...
TEST_F(HitTestingTest, RulerBandsAndStructureLinesAnswerForTheirGridRows) {
    ASSERT_TRUE(RenderCase({"", true, 0, true, 0, 0}));
    const QPoint bandTop(cells.ColumnLeft(2) + 1, 1);
    EXPECT_EQ(renderer.GetRowIndex(bandTop), -1);
    EXPECT_EQ(renderer.GetSequenceIndex(bandTop), -1);
    EXPECT_EQ(renderer.GetResidueIndex(bandTop), 2);  // the band's top grid row still gives a column
    EXPECT_EQ(renderer.GetSsKey(bandTop), "");

    const QPoint bandBottom(cells.ColumnLeft(2) + 1, cells.LineTop(1) + 1);
    EXPECT_EQ(renderer.GetRowIndex(bandBottom), -1);
    EXPECT_EQ(renderer.GetResidueIndex(bandBottom), -1);
    EXPECT_EQ(renderer.GetSsKey(bandBottom), "");

    const QPoint alphaLine(cells.ColumnLeft(4), cells.LineTop(3) + cells.CellHeight() / 2);
    EXPECT_EQ(renderer.GetRowIndex(alphaLine), 0);
    EXPECT_EQ(renderer.GetSequenceIndex(alphaLine), 0);
    EXPECT_EQ(renderer.GetSsKey(alphaLine), "alpha");
    EXPECT_EQ(renderer.GetSsKey(QPoint(0, cells.LineTop(4))), "beta");
    EXPECT_EQ(renderer.GetRowIndex(QPoint(0, cells.LineTop(6))), 2);
    EXPECT_EQ(renderer.GetSequenceIndex(QPoint(0, cells.LineTop(6))), 3);  // row 2 shows sequence 3
    EXPECT_EQ(renderer.GetSsKey(QPoint(0, cells.LineTop(7))), "alpha");
    EXPECT_EQ(renderer.GetSequenceIndex(QPoint(0, cells.LineTop(7))), 3);
}

TEST_F(HitTestingTest, ColumnsReachOneCellPastTheBlockAndNoFurther) {
    ASSERT_TRUE(RenderCase({"", true, 0, false, 0, 0}));
    const int rowTop = cells.LineTop(2);
    EXPECT_EQ(renderer.GetResidueIndex(QPoint(cells.ColumnLeft(11) - 1, rowTop)), 10);
    EXPECT_EQ(renderer.GetResidueIndex(QPoint(cells.ColumnLeft(11), rowTop)), -1);
    EXPECT_EQ(renderer.GetResidueIndex(QPoint(-1, rowTop)), -1);  // left of the view
    EXPECT_EQ(renderer.GetRowIndex(QPoint(0, -1)), -1);           // above the view
    EXPECT_EQ(renderer.GetRowIndex(QPoint(0, cells.LineTop(200))), -1);
}

TEST_F(HitTestingTest, LocationRightOfTheLastColumnReportsTheColumnCount) {
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 30)));  // all four blocks
    // Block 3 starts at column 30; its ninth cell would be column 38.
    const auto& locations = renderer.RowLocations();
    const auto lastBlockRow = std::find_if(locations.begin(), locations.end(), [](const auto& entry) {
        return entry.second.firstColumn == 30 && entry.second.row == 0;
    });
    ASSERT_NE(lastBlockRow, locations.end());
    int sequence = -7;
    int column = -7;
    renderer.GetResidueLocation(QPoint(cells.ColumnLeft(8), lastBlockRow->first), sequence, column);
    EXPECT_EQ(sequence, 0);
    EXPECT_EQ(column, int(kColumns));
    EXPECT_EQ(renderer.GetResidueIndex(QPoint(cells.ColumnLeft(8), lastBlockRow->first)), 38);
}

TEST_F(HitTestingTest, ResidueCoordinateOfAHiddenOrUnknownSequenceIsNowhere) {
    ASSERT_TRUE(RenderCase({"", true, 0, false, 0, 0}));
    EXPECT_EQ(renderer.GetResidueCoordinate(0, 2), QPoint(-1, -1));   // hidden
    EXPECT_EQ(renderer.GetResidueCoordinate(0, 99), QPoint(-1, -1));  // beyond the alignment
    EXPECT_EQ(renderer.GetResidueCoordinate(10, 0),
              QPoint(0, cells.LineTop(6 + 2)));  // block 1's first column
}

TEST_F(HitTestingTest, QueriesBeforeTheFirstRenderFindNothing) {
    const QPoint point(1, 1);
    EXPECT_EQ(renderer.GetRowIndex(point), -1);
    EXPECT_EQ(renderer.GetSequenceIndex(point), -1);
    EXPECT_EQ(renderer.GetSsKey(point), "");
    EXPECT_EQ(renderer.GetResidueIndex(point), -1);
    int sequence = -7;
    int column = -7;
    renderer.GetResidueLocation(point, sequence, column);
    EXPECT_EQ(sequence, -1);
    EXPECT_EQ(column, -1);
    EXPECT_EQ(renderer.GetResidueCoordinate(0, 0), QPoint(-1, -1));
    int x = 11;
    int y = 22;
    renderer.ScrollTo(0, 0, x, y);
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 22);
    EXPECT_EQ(renderer.CopyImageData({0}, {}, false, true), nullptr);
}

// GIVEN a rendered view, WHEN the host's alignment loses its first two sequences without a new Render
TEST_F(HitTestingTest, QueriesAfterTheAlignmentLostRowsNeverReachStaleRows) {
    ASSERT_TRUE(RenderCase({"", true, 0, true, 0, 0}));
    const QPoint lastRowPoint(cells.ColumnLeft(1), cells.LineTop(8));  // row 3: sequence 4
    ASSERT_EQ(renderer.GetSequenceIndex(lastRowPoint), 4);
    alignment.model->removeSequence(0);
    alignment.model->removeSequence(0);

    EXPECT_EQ(renderer.GetRowIndex(lastRowPoint), 3);  // what the last composition recorded
    EXPECT_EQ(renderer.GetSequenceIndex(lastRowPoint), -1);
    int sequence = -7;
    int column = -7;
    renderer.GetResidueLocation(lastRowPoint, sequence, column);
    EXPECT_EQ(sequence, -1);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(renderer.GetResidueCoordinate(0, 3), QPoint(-1, -1));  // three sequences are left
    int x = 11;
    int y = 22;
    renderer.ScrollTo(5, 3, x, y);
    EXPECT_EQ(x, 11);
    EXPECT_EQ(y, 22);

    std::unique_ptr<QPixmap> rows(renderer.CopyImageData({0, 1, 2}, {}, false, true));
    EXPECT_NE(rows, nullptr);
    std::unique_ptr<QPixmap> columns(renderer.CopyImageData({}, {{3, {0, 1}}, {7, {2}}}, false, true));
    EXPECT_NE(columns, nullptr);

    while (alignment.model->size() > 0) alignment.model->removeSequence(0);
    EXPECT_EQ(renderer.GetSequenceIndex(lastRowPoint), -1);
    EXPECT_EQ(renderer.CopyImageData({0}, {}, false, true), nullptr);
}

}  // namespace
