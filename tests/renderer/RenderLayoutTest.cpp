#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "model/AlignmentHelper.h"
#include "renderer/RenderSequenceDataTestAccess.h"
#include "renderer/RendererFixture.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

using namespace renderertest;
using testsupport::AlignmentBuilder;
using testsupport::BuiltAlignment;

namespace {

BuiltAlignment RowsOfColumns(unsigned rows, unsigned columns) {
    AlignmentBuilder builder(SDM::AminoAcid);
    for (unsigned r = 0; r < rows; ++r) builder.Seq("seq" + std::to_string(r), Letters(columns, r));
    return builder.Build();
}

int FitToWidthValue(BuiltAlignment& alignment) {
    int value = -12345;
    alignment.properties().GetIntProperty(SQC::UserProperties::WVFitToWidthValueKey, value);
    return value;
}

class RenderLayoutTest : public RendererFixture {};

// GIVEN 5 rows of 100 columns and a view 40 cells wide, 20 cells high
TEST_F(RenderLayoutTest, WrappedViewFitsBlocksToTheViewWidth) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));

    EXPECT_EQ(access.ResiduesPerBlock(), 40);
    EXPECT_EQ(FitToWidthValue(alignment), 40);
    EXPECT_EQ(access.BlockCount(), 3u);
    EXPECT_EQ(access.RowsPerBlock(), 7u);
    EXPECT_EQ(access.BlocksToRender(), 3u);
    EXPECT_EQ(access.LastBlockRows(), 5);
    EXPECT_EQ(renderer.GetHorizontalScrollValue(), cells.ColumnLeft(40));
    EXPECT_EQ(renderer.GetVerticalScrollValue(), cells.LineTop(3 * 7));
    EXPECT_EQ(renderer.GetResidueBlockHeight(), cells.LineTop(7));
    EXPECT_EQ(renderer.GetResidueBlockWidth(), cells.ColumnLeft(40));
    // The widget's font became the residue font.
    EXPECT_EQ(access.CellFont().GetMaxWidth(), cells.CellWidth());
    EXPECT_EQ(access.Font().family(), testsupport::MonoFont().family());
}

TEST_F(RenderLayoutTest, UnwrappedViewIsOneBlockAsWideAsTheView) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20, false)));

    EXPECT_EQ(access.ResiduesPerBlock(), 40);
    EXPECT_EQ(access.BlockCount(), 3u);
    EXPECT_EQ(access.BlocksToRender(), 1u);
    EXPECT_EQ(access.LastBlockRows(), 5);
    EXPECT_EQ(renderer.GetHorizontalScrollValue(), cells.ColumnLeft(100));
    EXPECT_EQ(renderer.GetVerticalScrollValue(), cells.LineTop(7));
}

TEST_F(RenderLayoutTest, BlocksToRenderIsOneMoreThanWholeBlocksEvenWhenExact) {
    BuiltAlignment alignment = RowsOfColumns(5, 400);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 14)));
    EXPECT_EQ(access.RowsPerBlock(), 7u);
    EXPECT_EQ(access.BlocksToRender(), 3u);
}

TEST_F(RenderLayoutTest, LastBlockRowsCountsRowsBelowThePartialRulerBand) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);  // 5 blocks of 40
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 10)));
    EXPECT_EQ(access.BlockCount(), 5u);
    EXPECT_EQ(access.LastBlockRows(), 1);  // 10 mod 7 = 3 grid rows, 2 of them ruler band

    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 8)));
    EXPECT_EQ(access.LastBlockRows(), 5);  // only part of the band: all rows

    RenderSequenceData::RenderAspects noRuler = AspectsOfCells(40, 10);
    noRuler.showRuler = false;
    ASSERT_TRUE(RenderWith(alignment, noRuler));
    EXPECT_EQ(access.LastBlockRows(), 3);
}

TEST_F(RenderLayoutTest, FixedColumnsPerLineBeyondTheAlignmentPublishesTheAlignmentWidth) {
    BuiltAlignment alignment = RowsOfColumns(3, 50);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20, true, 60)));
    EXPECT_EQ(access.ResiduesPerBlock(), 60);
    EXPECT_EQ(FitToWidthValue(alignment), 50);
    EXPECT_EQ(access.BlockCount(), 1u);
    EXPECT_EQ(renderer.GetResidueBlockWidth(), cells.ColumnLeft(60));
}

TEST_F(RenderLayoutTest, ScrollPositionPicksTheTopBlock) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);
    renderer.TopScrollValue() =
        cells.LineTop(10) + cells.CellHeight() / 2;  // grid row 10: inside the second block
    ASSERT_TRUE(
        RenderWith(alignment, AspectsOfCells(40, 20, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    EXPECT_EQ(access.TopResidueIndex(), 40u);
    EXPECT_EQ(access.HorizontalViewScrollValue(), 0);
}

TEST_F(RenderLayoutTest, HorizontalOffsetRoundsUpToWholeCells) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20, false);
    aspects.horizontalOffset = cells.ColumnLeft(2) + cells.CellWidth() / 2;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    int sequenceStarter = -1;
    int residueStarter = -1;
    access.GetSequenceAndResidueStarters(sequenceStarter, residueStarter);
    EXPECT_EQ(residueStarter, 3);
    EXPECT_EQ(access.TopResidueIndex(), 3u);

    aspects.horizontalOffset = cells.ColumnLeft(2);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    access.GetSequenceAndResidueStarters(sequenceStarter, residueStarter);
    EXPECT_EQ(residueStarter, 2);
    EXPECT_EQ(sequenceStarter, 0);
}

TEST_F(RenderLayoutTest, WrapWithFittedColumnsAddsTheOffsetToEachBlockStart) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20, true, 0);
    aspects.horizontalOffset = cells.ColumnLeft(3);
    renderer.TopScrollValue() = cells.LineTop(7);  // the second block
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(access.HorizontalViewScrollValue(), 3);
    EXPECT_EQ(access.TopResidueIndex(), 43u);
}

TEST_F(RenderLayoutTest, NegativeScrollValuesCountAsTheTop) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);
    renderer.TopScrollValue() = cells.LineTop(-5);
    renderer.TopDrawnValue() = cells.LineTop(-3);
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20, true, 0);
    aspects.horizontalOffset = -cells.CellWidth();
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(access.TopResidueIndex(), 0u);
    EXPECT_EQ(access.FirstRow(), 0);
}

TEST_F(RenderLayoutTest, FirstRowFollowsTheDrawnOffsetBelowTheRulerBand) {
    BuiltAlignment alignment = RowsOfColumns(5, 200);
    renderer.TopDrawnValue() = cells.LineTop(4);  // grid row 4 of a block: row 2
    ASSERT_TRUE(
        RenderWith(alignment, AspectsOfCells(40, 20, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    EXPECT_EQ(access.FirstRow(), 2);

    renderer.TopDrawnValue() = cells.CellHeight();  // still inside the band
    ASSERT_TRUE(
        RenderWith(alignment, AspectsOfCells(40, 20, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    EXPECT_EQ(access.FirstRow(), 0);
}

// GIVEN rows with 2, 0 and 1 secondary-structure lines and the ruler shown
TEST_F(RenderLayoutTest, FindRowPositionWalksResidueAndStructureLines) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "ACDEF").Structure("alpha", "HHHSS").Structure("beta", "CCHHC");
    builder.Seq("b", "ACDEF");
    builder.Seq("c", "ACDEF").Structure("alpha", "SSSCC");
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    ASSERT_EQ(access.SsRowsPerRow(), (std::vector<unsigned>{2, 0, 1}));
    EXPECT_EQ(access.SsRowCount(), 3u);
    EXPECT_EQ(access.RowsPerBlock(), 3u + 3u + 2u);

    const std::vector<std::pair<int, int>> expected = {{2, 0}, {3, 0}, {4, 0}, {5, 1}, {6, 2},
                                                       {7, 2}, {1, 0}, {0, 0}, {9, 7}};
    for (const auto& [position, row] : expected) {
        int walked = position;
        access.FindRowPosition(walked);
        EXPECT_EQ(walked, row) << "grid position " << position;
    }
}

TEST_F(RenderLayoutTest, FindRowPositionWithoutStructureOnlySkipsTheBand) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    int position = 4;
    access.FindRowPosition(position);
    EXPECT_EQ(position, 2);

    aspects.showRuler = false;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    position = 4;
    access.FindRowPosition(position);
    EXPECT_EQ(position, 4);
}

// An RNA's own structure (#=GR SS) is a line under it, as a protein's is; its string marks the gaps.
TEST_F(RenderLayoutTest, NucleicAcidRowsGetALineUnderThemForEachPairingStructure) {
    AlignmentBuilder builder(SDM::NucleicAcid);
    builder.Seq("n1", "ACGT-ACGT")
        .Structure("SS", "((.(.).))")
        .Seq("n2", "ACGTTTGTA")
        .Seq("n3", "ACGTTTGTA")
        .Structure("SS", "<<.....>>")
        .Structure("hidden", "(.......)");
    builder.StructureVisible("hidden", false);
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(access.SsRowsPerRow(), (std::vector<unsigned>{1, 0, 1}));
    EXPECT_EQ(access.RowsPerBlock(), 3u + 2u + 2u);
    EXPECT_EQ(access.SsStringsPerRow()[0].at("SS"), "((.(-).))");
    EXPECT_EQ(access.SsStringsPerRow()[2].at("SS"), "<<.....>>");

    aspects.showSecondaryStructure = false;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(access.RowsPerBlock(), 3u + 2u);
}

TEST_F(RenderLayoutTest, VisibleKeyWithUnusableStructureKeepsItsKeyButNoGridRow) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "ACDEF").Structure("alpha", "HHHSS").Structure("bad", "HH");  // not one per residue
    builder.Seq("b", "ACDEF").Structure("alpha", "HHHHH").Structure("hidden", "SSSSS");
    builder.StructureVisible("hidden", false);
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));

    ASSERT_EQ(access.SsStringsPerRow().size(), 2u);
    EXPECT_EQ(access.SsStringsPerRow()[0].count("bad"), 1u);
    EXPECT_TRUE(access.SsStringsPerRow()[0].at("bad").empty());
    EXPECT_EQ(access.SsStringsPerRow()[1].count("hidden"), 0u);
    EXPECT_EQ(access.SsRowsPerRow(), (std::vector<unsigned>{1, 1}));
    EXPECT_EQ(access.RowsPerBlock(), 2u + 2u + 2u);
}

TEST_F(RenderLayoutTest, StructureIsNotCollectedWhenSwitchedOff) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "ACDEF").Structure("alpha", "HHHSS");
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));  // showSecondaryStructure false
    EXPECT_TRUE(access.SsRowsPerRow().empty());
    EXPECT_EQ(access.RowsPerBlock(), 3u);

    builder.StructuresShown(false);
    BuiltAlignment hidden = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(hidden, aspects));
    EXPECT_TRUE(access.SsRowsPerRow().empty());
}

// ---- Failure paths ----------------------------------------------------------------------------------------

TEST_F(RenderLayoutTest, AlignmentWithoutRowsRendersNothing) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "ACDEF").Hidden().Seq("b", "ACDEF").Hidden();
    BuiltAlignment alignment = builder.Build();
    EXPECT_FALSE(RenderWith(alignment, AspectsOfCells(40, 20)));
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(access.ResiduesPerBlock(), 0);
    EXPECT_EQ(access.Alignment(), alignment.view.get());  // remembered even so
}

TEST_F(RenderLayoutTest, ViewSmallerThanACellIsTooSmall) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.viewRect = QRect(0, 0, cells.ColumnLeft(40), cells.CellHeight() - 1);
    EXPECT_FALSE(RenderWith(alignment, aspects));
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(renderer.GetNamePixmap(), nullptr);
    EXPECT_EQ(access.ResiduesPerBlock(), 0);

    aspects.viewRect = QRect(0, 0, cells.CellWidth() - 1, cells.LineTop(20));
    EXPECT_FALSE(RenderWith(alignment, aspects));
}

TEST_F(RenderLayoutTest, EmptyOrInvertedViewIsTooSmallAndKeepsTheOldLayout) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(40, 20);
    aspects.viewRect = QRect(QPoint(100, 100), QPoint(-300, -300));  // inverted
    EXPECT_FALSE(RenderWith(alignment, aspects));
    aspects.viewRect = QRect();
    EXPECT_FALSE(RenderWith(alignment, aspects));
    EXPECT_EQ(access.ResiduesPerBlock(), 40);
    EXPECT_EQ(access.BlockCount(), 3u);
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);  // the failed layout pass freed the view
    EXPECT_TRUE(access.ResidueBlocks().empty());
}

TEST_F(RenderLayoutTest, KeepingALayoutThatNeverExistedFails) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    renderer.TopScrollValue() = cells.LineTop(3);
    EXPECT_FALSE(RenderWith(alignment, AspectsOfCells(40, 20), false, true));
    EXPECT_FALSE(RenderWith(alignment, AspectsOfCells(40, 20), true, false));
    EXPECT_EQ(access.ResiduesPerBlock(), 0);
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
}

TEST_F(RenderLayoutTest, WidgetFontBecomesTheResidueFont) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    const QFont large = testsupport::MonoFont(18);
    FakeWidget widget(large);
    ASSERT_TRUE(renderer.Render(&widget, *alignment.view, AspectsOfCells(40, 20), false, false));
    EXPECT_EQ(access.Font(), large);
    EXPECT_EQ(access.CellFont().GetMaxHeight(), SQC::FontAttributes(large).GetMaxHeight());
    EXPECT_NE(access.CellFont().GetMaxHeight(), cells.CellHeight());
}

TEST_F(RenderLayoutTest, NullDeviceAndNonWidgetDevicesUseTheApplicationFont) {
    BuiltAlignment alignment = RowsOfColumns(5, 100);
    const QFont previous = QGuiApplication::font();
    QFont big = testsupport::MonoFont(20);
    QGuiApplication::setFont(big);
    const SQC::FontAttributes bigCell(big);

    ASSERT_TRUE(renderer.Render(nullptr, *alignment.view, AspectsOfCells(40, 20), false, false));
    EXPECT_EQ(access.CellFont().GetMaxHeight(), bigCell.GetMaxHeight());

    QImage image(10, 10, QImage::Format_ARGB32);
    RenderSequenceData other;
    ASSERT_TRUE(other.Render(&image, *alignment.view, AspectsOfCells(40, 20), false, false));
    EXPECT_EQ(RenderSequenceDataTestAccess(other).CellFont().GetMaxWidth(), bigCell.GetMaxWidth());
    QGuiApplication::setFont(previous);
}

// ---- Path choice
// --------------------------------------------------------------------------------------------

// A layout pass is recognised by its result: a view of another width changes the columns per block.
class PathChoiceTest : public RenderLayoutTest {
protected:
    bool RelaidOutForNewWidth(RenderSequenceData::RenderAspects aspects, bool redraw = false,
                              bool keep = false) {
        const int columns = access.ResiduesPerBlock() == 30 ? 35 : 30;
        aspects.viewRect = ViewOfCells(columns, 20);
        EXPECT_TRUE(RenderWith(alignment, aspects, redraw, keep));
        return access.ResiduesPerBlock() == columns;
    }

    BuiltAlignment alignment = RowsOfColumns(5, 100);
};

TEST_F(PathChoiceTest, ScrollingAWrappedViewWithAutomaticWidthKeepsTheLayout) {
    const auto aspects = AspectsOfCells(40, 20, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    ASSERT_NE(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_FALSE(RelaidOutForNewWidth(aspects));
}

TEST_F(PathChoiceTest, UnwrappedViewKeepsTheLayout) {
    const auto aspects = AspectsOfCells(40, 20, false);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_FALSE(RelaidOutForNewWidth(aspects));
}

TEST_F(PathChoiceTest, WrappedViewWithFittedOrFixedWidthLaysOutEveryCall) {
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20, true, 0)));
    EXPECT_TRUE(RelaidOutForNewWidth(AspectsOfCells(40, 20, true, 0)));
}

TEST_F(PathChoiceTest, KeepLayoutOverridesTheRules) {
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20, true, 0)));
    EXPECT_FALSE(RelaidOutForNewWidth(AspectsOfCells(40, 20, true, 0), false, true));
    EXPECT_FALSE(RelaidOutForNewWidth(AspectsOfCells(40, 20, true, 0), true, false));
}

TEST_F(PathChoiceTest, LayoutChangedForcesALayoutUnlessACurrentRowIsSet) {
    auto aspects = AspectsOfCells(40, 20, false);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    aspects.layoutChanged = true;
    EXPECT_TRUE(RelaidOutForNewWidth(aspects));

    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20, false)));
    alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, 1);
    EXPECT_FALSE(RelaidOutForNewWidth(aspects));
    EXPECT_EQ(access.CurrentSequenceIndex(), 1);
}

TEST_F(PathChoiceTest, InitializeRenderingForcesTheNextLayout) {
    const auto aspects = AspectsOfCells(40, 20, false);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    renderer.InitializeRendering();
    EXPECT_TRUE(RelaidOutForNewWidth(aspects));
}

TEST_F(PathChoiceTest, FontChangeLaysOutAgainAndRebuildsTheCartoonDrawer) {
    const auto aspects = AspectsOfCells(40, 20, false);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const std::weak_ptr<const void> drawer = access.CartoonDrawerHandle();
    ASSERT_FALSE(drawer.expired());

    // A layout pass without a font change keeps the drawer (and its colours).
    alignment.properties().SetColorProperty(SQC::UserProperties::SSHelixColorKey, 0x0000FF);
    auto changed = aspects;
    changed.layoutChanged = true;
    ASSERT_TRUE(RenderWith(alignment, changed));
    EXPECT_FALSE(drawer.expired());

    alignment.properties().SetBoolProperty(SQC::UserProperties::FontChanged, true);
    EXPECT_TRUE(RelaidOutForNewWidth(aspects));
    bool fontChanged = true;
    alignment.properties().GetBoolProperty(SQC::UserProperties::FontChanged, fontChanged);
    EXPECT_FALSE(fontChanged);  // consumed
    EXPECT_TRUE(access.HasCartoonDrawer());
    EXPECT_TRUE(drawer.expired());  // the old drawer is gone: a new one took its place
}

TEST_F(PathChoiceTest, LayoutFreshAllowsOneExtraBlockOnce) {
    BuiltAlignment tall = RowsOfColumns(5, 400);  // 10 blocks of 40
    renderer.TopDrawnValue() = cells.LineTop(4);  // first row 2
    ASSERT_TRUE(
        RenderWith(tall, AspectsOfCells(40, 10, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    // 10 grid rows: 2 blocks; the last shows 1 row, shifted by the first row: no overflow yet.
    EXPECT_EQ(access.BlocksToRender(), 2u);
    EXPECT_TRUE(access.LayoutFresh());

    renderer.TopDrawnValue() = cells.LineTop(6);  // first row 4: the last block's rows overflow
    ASSERT_TRUE(
        RenderWith(tall, AspectsOfCells(40, 10, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    EXPECT_EQ(access.LastRow(), 5);
    EXPECT_EQ(access.BlocksToRender(), 3u);
    EXPECT_FALSE(access.LayoutFresh());

    ASSERT_TRUE(
        RenderWith(tall, AspectsOfCells(40, 10, true, RenderSequenceData::RenderAspects::kFitToWidth)));
    EXPECT_EQ(access.BlocksToRender(), 3u);  // not again
}

}  // namespace
