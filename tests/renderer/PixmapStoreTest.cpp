#include <gtest/gtest.h>

#include <memory>

#include "font/ColorConversion.h"
#include "model/AlignmentHelper.h"
#include "renderer/RenderSequenceDataTestAccess.h"
#include "renderer/RendererFixture.h"
#include "renderer/RendererTestSupport.h"
#include "support/AlignmentBuilder.h"

using namespace renderertest;
using testsupport::AlignmentBuilder;
using testsupport::BuiltAlignment;

namespace {

using Access = RenderSequenceDataTestAccess;

BuiltAlignment RowsOfColumns(unsigned rows, unsigned columns) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(MakeLetterScheme());
    for (unsigned r = 0; r < rows; ++r) builder.Seq("seq" + std::to_string(r), Letters(columns, r));
    return builder.Build();
}

std::vector<unsigned> KeysOf(const Access::ResidueStore& store) {
    std::vector<unsigned> keys;
    for (const auto& entry : store) keys.push_back(entry.first);
    return keys;
}

bool AllEmpty(const Access::SlotVector& rowSlots) {
    for (const auto& slot : rowSlots)
        if (slot.pixmap) return false;
    return true;
}

class PixmapStoreTest : public RendererFixture {};

TEST_F(PixmapStoreTest, FreshRendererHoldsNothing) {
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(renderer.GetNamePixmap(), nullptr);
    EXPECT_EQ(renderer.GetResidueBlockHeight(), 0);
    EXPECT_EQ(renderer.GetResidueBlockWidth(), 0);
    EXPECT_EQ(renderer.GetHorizontalScrollValue(), 0);
    EXPECT_EQ(renderer.GetVerticalScrollValue(), 0);
    EXPECT_EQ(renderer.GetSequenceViewSize(), QSize(0, 0));
    EXPECT_EQ(renderer.NameRect(), QRect(QPoint(0, 0), QPoint(-1, -1)));
    EXPECT_TRUE(access.ResidueBlocks().empty());
    EXPECT_TRUE(access.CartoonBlocks().empty());
    EXPECT_TRUE(access.RulerBlocks().empty());
    EXPECT_EQ(access.FirstRow(), -1);
    EXPECT_EQ(access.LastRow(), -1);
    int width = -1;
    int height = -1;
    renderer.GetSize(width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST_F(PixmapStoreTest, SizeJoinsNameAndSequenceWidthsAtTheSequenceHeight) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    renderer.NameRect() = QRect(0, 0, 500, 10);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    EXPECT_EQ(renderer.NameRect(), AspectsOfCells(40, 20).nameRect);  // replaced by the call's record
    int width = 0;
    int height = 0;
    renderer.GetSize(width, height);
    ASSERT_GT(renderer.GetSequenceViewSize().width(), 0);
    ASSERT_GT(renderer.GetNameViewSize().width(), 0);
    EXPECT_EQ(width, renderer.GetNameViewSize().width() + renderer.GetSequenceViewSize().width());
    EXPECT_EQ(height, renderer.GetSequenceViewSize().height());
}

// GIVEN 3 rows of 100 columns in blocks of 40
TEST_F(PixmapStoreTest, LayoutPassShapesOneEntryPerBlockWithASlotPerRowAndASpare) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    EXPECT_EQ(KeysOf(access.ResidueBlocks()), (std::vector<unsigned>{0, 1, 2}));
    for (const auto& entry : access.ResidueBlocks()) EXPECT_EQ(entry.second.size(), 4u);
    EXPECT_EQ(access.RulerBlocks().size(), 3u);

    // The store as the layout pass leaves it, before any block is drawn.
    access.FreePixmaps();
    access.InitializePixmapBlocks(Corvane::AlignmentHelper(*alignment.view));
    EXPECT_EQ(KeysOf(access.ResidueBlocks()), (std::vector<unsigned>{0, 1, 2}));
    for (const auto& entry : access.ResidueBlocks()) {
        EXPECT_EQ(entry.second.size(), 4u);
        EXPECT_TRUE(AllEmpty(entry.second));
    }
    ASSERT_EQ(access.RulerBlocks().size(), 3u);
    EXPECT_TRUE(AllEmpty(access.RulerBlocks()));
}

TEST_F(PixmapStoreTest, SecondLayoutPassReplacesTheShapeInsteadOfAppending) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    ASSERT_EQ(access.RulerBlocks().size(), 3u);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(20, 20)));
    EXPECT_EQ(access.RulerBlocks().size(), 5u);
    EXPECT_EQ(KeysOf(access.ResidueBlocks()), (std::vector<unsigned>{0, 1, 2, 3, 4}));
}

TEST_F(PixmapStoreTest, CartoonStoreListsEveryKeyVisibleOrNot) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(50)).Structure("alpha", std::string(50, 'H'));
    builder.Seq("b", Letters(50)).Structure("beta", std::string(50, 'S'));
    builder.StructureVisible("beta", false);
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(20, 30);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));

    ASSERT_EQ(access.CartoonBlocks().size(), 2u);
    for (const auto& [key, blocks] : access.CartoonBlocks()) {
        EXPECT_EQ(blocks.size(), 3u) << key;
        for (const auto& block : blocks) EXPECT_EQ(block.second.size(), 3u) << key;
    }
    EXPECT_EQ(access.CartoonStrip("beta", 0, 1), nullptr);  // hidden key: no line drawn
    EXPECT_NE(access.CartoonStrip("alpha", 0, 0), nullptr);
}

TEST_F(PixmapStoreTest, FreePixmapsEmptiesTheStoresButKeepsCartoonKeys) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", Letters(50)).Structure("alpha", std::string(50, 'H'));
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(20, 30);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    ASSERT_NE(access.ResidueStrip(0, 0), nullptr);

    access.FreePixmaps();
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(renderer.GetNamePixmap(), nullptr);
    EXPECT_TRUE(access.ResidueBlocks().empty());
    ASSERT_EQ(access.CartoonBlocks().size(), 1u);
    EXPECT_TRUE(access.CartoonBlocks().begin()->second.empty());
    EXPECT_TRUE(AllEmpty(access.RulerBlocks()));
    access.FreePixmaps();  // freeing an empty store does nothing
    EXPECT_EQ(access.CartoonBlocks().size(), 1u);
}

TEST_F(PixmapStoreTest, FreeRulerRowsEmptiesTheBandsAndKeepsTheirCount) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 30)));
    ASSERT_NE(access.RulerBand(0), nullptr);
    access.FreeRulerRows();
    EXPECT_EQ(access.RulerBlocks().size(), 3u);
    EXPECT_TRUE(AllEmpty(access.RulerBlocks()));
    access.FreeRulerRows();
    EXPECT_EQ(access.RulerBlocks().size(), 3u);
    EXPECT_NE(access.ResidueStrip(0, 0), nullptr);  // residue strips are not ruler rows
}

TEST_F(PixmapStoreTest, EmptyAlignmentColumnsGiveNoBlockEntries) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "").Structure("alpha", "");
    BuiltAlignment alignment = builder.Build();
    RenderSequenceData::RenderAspects aspects = AspectsOfCells(20, 30);
    aspects.showSecondaryStructure = true;
    renderer.Render(&device, *alignment.view, aspects, false, false);
    EXPECT_EQ(access.MaxTotalLength(), 0u);
    EXPECT_TRUE(access.ResidueBlocks().empty());
    EXPECT_EQ(access.ResidueStrip(0, 0), nullptr);

    access.FreePixmaps();
    access.InitializePixmapBlocks(Corvane::AlignmentHelper(*alignment.view));
    EXPECT_TRUE(access.ResidueBlocks().empty());
    EXPECT_TRUE(access.RulerBlocks().empty());
    ASSERT_EQ(access.CartoonBlocks().size(), 1u);
    EXPECT_TRUE(access.CartoonBlocks().begin()->second.empty());
}

TEST_F(PixmapStoreTest, InitializeRenderingDropsThePixmapsButKeepsTheLayout) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    ASSERT_NE(renderer.GetAlignmentPixmap(), nullptr);
    ASSERT_NE(renderer.GetNamePixmap(), nullptr);

    renderer.InitializeRendering();
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(renderer.GetNamePixmap(), nullptr);
    EXPECT_EQ(renderer.GetResidueBlockWidth(), cells.ColumnLeft(40));
    EXPECT_EQ(access.ResiduesPerBlock(), 40);
    EXPECT_TRUE(access.ResidueBlocks().empty());

    // A kept layout now finds no residue entries: nothing is drawn, nothing breaks.
    EXPECT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20), false, true));
    EXPECT_EQ(access.ResidueStrip(0, 0), nullptr);

    renderer.UninitializeRendering();
    EXPECT_EQ(renderer.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(renderer.GetResidueBlockHeight(), cells.LineTop(3 + kRulerBandRows));
}

TEST_F(PixmapStoreTest, RedrawDropsResidueStripsAndKeepsBands) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    const auto aspects = AspectsOfCells(40, 30, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const qint64 strip = KeyOf(access.ResidueStrip(1, 2));
    const qint64 band = KeyOf(access.RulerBand(1));
    ASSERT_NE(strip, 0);
    ASSERT_NE(band, 0);

    ASSERT_TRUE(RenderWith(alignment, aspects, true, false));
    EXPECT_NE(KeyOf(access.ResidueStrip(1, 2)), strip);
    EXPECT_EQ(KeyOf(access.RulerBand(1)), band);

    // Scrolling with the layout kept: strips stay, bands are painted anew.
    const qint64 redrawnStrip = KeyOf(access.ResidueStrip(1, 2));
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(KeyOf(access.ResidueStrip(1, 2)), redrawnStrip);
    EXPECT_NE(KeyOf(access.RulerBand(1)), band);
    EXPECT_NE(KeyOf(access.RulerBand(1)), 0);
}

// ---- Copies
// -------------------------------------------------------------------------------------------------

TEST_F(PixmapStoreTest, CopyOutlivesItsReleasedSource) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    auto source = std::make_unique<RenderSequenceData>();
    ASSERT_TRUE(source->Render(&device, *alignment.view, AspectsOfCells(40, 20), false, false));
    const QRgb firstCell = PixelAt(*source->GetAlignmentPixmap(), 1, cells.RulerBandHeight() + 1);

    RenderSequenceData copy(*source);
    EXPECT_EQ(copy.GetAlignmentPixmap(), source->GetAlignmentPixmap());  // shared, not duplicated
    Access copyAccess(copy);
    const QPixmap* strip = copyAccess.ResidueStrip(0, 0);
    ASSERT_NE(strip, nullptr);

    source->UninitializeRendering();
    source.reset();

    ASSERT_NE(copy.GetAlignmentPixmap(), nullptr);
    EXPECT_EQ(PixelAt(*copy.GetAlignmentPixmap(), 1, cells.RulerBandHeight() + 1), firstCell);
    EXPECT_EQ(QColor(PixelAt(*strip, 1, 1)), SQC::ToQColor(LetterScheme::Background('A')));
    EXPECT_TRUE(copy.Render(&device, *alignment.view, AspectsOfCells(40, 20), false, true));
    EXPECT_NE(copy.GetAlignmentPixmap(), nullptr);
}

TEST_F(PixmapStoreTest, LayoutPassOfTheSourceLeavesTheCopysPixmapsIntact) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    RenderSequenceData copy;
    copy = renderer;
    Access copyAccess(copy);
    const QPixmap* band = copyAccess.RulerBand(0);
    ASSERT_NE(band, nullptr);

    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(30, 20)));  // frees and rebuilds the source's stores
    EXPECT_EQ(band->width(), cells.ColumnLeft(40 + 5));
    EXPECT_FALSE(band->isNull());
    EXPECT_EQ(copyAccess.ResiduesPerBlock(), 40);

    copy = copy;  // self-assignment changes nothing
    EXPECT_EQ(copyAccess.RulerBand(0), band);
}

TEST_F(PixmapStoreTest, DestroyingWithoutUninitializeReleasesEverything) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    std::weak_ptr<QPixmap> strip;
    std::weak_ptr<QPixmap> composed;
    {
        RenderSequenceData local;
        ASSERT_TRUE(local.Render(&device, *alignment.view, AspectsOfCells(40, 20), false, false));
        strip = Access(local).ResidueStripHandle(0, 0);
        composed = Access(local).AlignmentPixmapHandle();
        ASSERT_FALSE(strip.expired());
        ASSERT_FALSE(composed.expired());
    }
    EXPECT_TRUE(strip.expired());
    EXPECT_TRUE(composed.expired());
}

TEST_F(PixmapStoreTest, ReleasingTheSourceKeepsTheCopysShareAlive) {
    BuiltAlignment alignment = RowsOfColumns(3, 100);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(40, 20)));
    auto copy = std::make_unique<RenderSequenceData>(renderer);
    const std::weak_ptr<QPixmap> strip = access.ResidueStripHandle(0, 1);
    renderer.UninitializeRendering();
    EXPECT_FALSE(strip.expired());
    copy->UninitializeRendering();
    EXPECT_TRUE(strip.expired());
}

}  // namespace
