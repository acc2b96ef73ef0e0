#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;
using renderertest::Letters;

namespace {

constexpr unsigned kRows = 6;
constexpr unsigned kColumns = 60;
constexpr int kViewColumns = 10;

struct ScrollCase {
    const char* name;
    bool wrap;
    int residuesPerLine;
    bool secondaryStructure;
    int viewGridRows;
    int startGridRow;  // where the view is scrolled before ScrollTo
    int startColumn;
};

std::ostream& operator<<(std::ostream& out, const ScrollCase& c) {
    return out << c.name;
}

class ScrollToTest : public ViewFixture, public ::testing::WithParamInterface<ScrollCase> {
protected:
    void SetUp() override {
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Scheme(renderertest::MakeLetterScheme());
        for (unsigned r = 0; r < kRows; ++r) {
            builder.Seq("seq" + std::to_string(r), Letters(kColumns, r));
            if (r % 2 == 0) builder.Structure("alpha", std::string(kColumns, r == 2 ? 'S' : 'H'));
        }
        alignment = builder.Build();
        const ScrollCase& c = GetParam();
        aspects = AspectsOfCells(kViewColumns, c.viewGridRows, c.wrap, c.residuesPerLine);
        aspects.showSecondaryStructure = c.secondaryStructure;
    }
    bool RenderAt(int x, int y) {
        aspects.horizontalOffset = x;
        return RenderScrolled(alignment, aspects, y);
    }
    // The residue lies wholly inside the view rectangle and the view shows its colour there.
    ::testing::AssertionResult Shows(unsigned column, unsigned sequence) const {
        const QPoint corner = renderer.GetResidueCoordinate(column, sequence);
        const QRect viewArea(0, 0, cells.ColumnLeft(kViewColumns), cells.LineTop(GetParam().viewGridRows));
        if (!viewArea.contains(cells.Cell(0, 0).translated(corner)))
            return ::testing::AssertionFailure()
                   << "corner (" << corner.x() << ", " << corner.y() << ") outside";
        const QColor shown = CellColour(View(), corner);
        const QColor expected = Background(Letters(kColumns, sequence)[column]);
        if (shown != expected)
            return ::testing::AssertionFailure()
                   << "shows " << shown.name().toStdString() << " not " << expected.name().toStdString();
        return ::testing::AssertionSuccess();
    }

    BuiltAlignment alignment;
    RenderSequenceData::RenderAspects aspects;
};

// For targets all over the alignment, from a view scrolled into its middle: ScrollTo, then a Render at the
// values it gave, shows the target. Targets already shown leave both values untouched.
TEST_P(ScrollToTest, RenderAtTheReturnedValuesShowsTheTarget) {
    const ScrollCase& c = GetParam();
    const int startX = cells.ColumnLeft(c.startColumn);
    const int startY = cells.LineTop(c.startGridRow);
    int above = 0;
    int inside = 0;
    int below = 0;
    for (unsigned column : {0u, 7u, 10u, 13u, 24u, 31u, 45u, 50u, 59u}) {
        for (unsigned sequence = 0; sequence < kRows; ++sequence) {
            ASSERT_TRUE(RenderAt(startX, startY));
            const bool shownBefore = Shows(column, sequence);
            int x = startX;
            int y = startY;
            renderer.ScrollTo(column, sequence, x, y);
            if (shownBefore) {
                EXPECT_EQ(x, startX);
                EXPECT_EQ(y, startY);
            }
            (shownBefore ? inside : y < startY ? above : below) += 1;
            ASSERT_TRUE(RenderAt(x, y));
            EXPECT_TRUE(Shows(column, sequence))
                << "column " << column << " sequence " << sequence << " at x " << x << " y " << y;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_GT(above, 0);
    EXPECT_GT(below, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Views, ScrollToTest,
    ::testing::Values(ScrollCase{"WrapFittedShortView", true, 0, false, 6, 18, 0},
                      ScrollCase{"WrapFittedTallViewStructure", true, 0, true, 20, 30, 0},
                      ScrollCase{"WrapFixedWiderThanView", true, 25, false, 6, 12, 4},
                      ScrollCase{"WrapFixedStructure", true, 15, true, 7, 14, 0},
                      ScrollCase{"WrapKeepLayout", true, RenderSequenceData::RenderAspects::kFitToWidth, true,
                                 9, 25, 0},
                      ScrollCase{"NoWrap", false, 0, false, 5, 4, 20},
                      ScrollCase{"NoWrapStructure", false, 0, true, 6, 5, 30}),
    [](const ::testing::TestParamInfo<ScrollCase>& info) { return std::string(info.param.name); });

}  // namespace
