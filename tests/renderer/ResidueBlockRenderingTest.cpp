#include <gtest/gtest.h>

#include <QColor>

#include "common/PerformanceTimer.h"
#include "font/ColorConversion.h"
#include "model/AlignmentHelper.h"
#include "renderer/RenderSequenceDataTestAccess.h"
#include "renderer/RendererFixture.h"
#include "renderer/RendererTestSupport.h"
#include "residue/ResidueFactory.h"
#include "residue/ResidueRenderData.h"
#include "support/AlignmentBuilder.h"

using namespace renderertest;
using testsupport::AlignmentBuilder;
using testsupport::BuiltAlignment;

namespace {

using Access = RenderSequenceDataTestAccess;

std::uint64_t TimerCount(const wchar_t* name) {
    return Common::PerformanceManager::Instance().Get(name).count;
}
const wchar_t* const kBasesTimer = L"[RenderSequenceData::RenderResidueBases]";
const wchar_t* const kBlockTimer = L"[RenderSequenceData::RenderResidueBlock]";
const wchar_t* const kRenderTimer = L"[RenderSequenceData::Render]";

QColor Display(const Common::Color& color) {
    return QColor::fromRgba(SQC::ToDisplayColour(color));
}

class ResidueBlockRenderingTest : public RendererFixture {
protected:
    void SetUp() override { Common::PerformanceManager::Instance().Reset(); }

    /// The background of the strip cell `localColumn` of `row` in `block`, probed in the cell's top-left
    /// corner, where no letter ink reaches.
    QColor CellBackground(unsigned block, unsigned row, unsigned localColumn) const {
        const QPixmap* strip = access.ResidueStrip(block, row);
        if (strip == nullptr) return QColor();
        return QColor(PixelAt(*strip, cells.ColumnLeft(localColumn) + 1, 1));
    }

    /// Whether every pixel of a cell has one colour (a blank cell: no letter drawn in another colour).
    bool CellIsUniform(unsigned block, unsigned row, unsigned localColumn, QColor colour) const {
        const QImage image = access.ResidueStrip(block, row)->toImage();
        for (int y = 0; y < cells.CellHeight(); ++y)
            for (int x = 0; x < cells.CellWidth(); ++x)
                if (QColor(image.pixel(cells.ColumnLeft(localColumn) + x, y)) != colour) return false;
        return true;
    }
};

// GIVEN three rows of 100 distinct-coloured residues, wrapped into blocks of 40
TEST_F(ResidueBlockRenderingTest, EveryCellShowsItsResidueBackgroundInEveryBlock) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(MakeLetterScheme());
    std::vector<std::string> rows;
    for (unsigned r = 0; r < 3; ++r) {
        rows.push_back(Letters(100, r * 3));
        builder.Seq("seq" + std::to_string(r), rows.back());
    }
    BuiltAlignment built = builder.Build();
    ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 14)));  // 14 grid rows over blocks of 5
    ASSERT_EQ(access.BlocksToRender(), 3u);

    for (unsigned block = 0; block < 3; ++block) {
        for (unsigned row = 0; row < 3; ++row) {
            const QPixmap* strip = access.ResidueStrip(block, row);
            ASSERT_NE(strip, nullptr) << "block " << block << " row " << row;
            const unsigned columns = std::min(40u, 100u - block * 40);
            EXPECT_EQ(strip->size(), QSize(cells.ColumnLeft(columns), cells.CellHeight()));
            for (unsigned c = 0; c < columns; ++c) {
                const char letter = rows[row][block * 40 + c];
                EXPECT_EQ(CellBackground(block, row, c), Display(LetterScheme::Background(letter)))
                    << "block " << block << " row " << row << " column " << c;
            }
        }
    }
    EXPECT_EQ(access.ResidueStrip(0, 3), nullptr);  // the spare slot stays empty
}

TEST_F(ResidueBlockRenderingTest, SelectionMasksAndFixedBlocksColourTheirCells) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(MakeLetterScheme());
    builder.Seq("s0", Letters(30)).Seq("s1", Letters(30, 1)).Seq("s2", Letters(30, 2));
    builder.Select(1, 2, 4).Mask(0, 5, 6).FixedBlock(10, 11).Mask(2, 11, 12);
    BuiltAlignment built = builder.Build();
    ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 20)));

    const std::string row1 = Letters(30, 1);
    for (unsigned c = 2; c <= 4; ++c)
        EXPECT_EQ(CellBackground(0, 1, c),
                  Display(SDM::SelectedBackground(LetterScheme::Background(row1[c]))));
    EXPECT_EQ(CellBackground(0, 1, 1), Display(LetterScheme::Background(row1[1])));
    EXPECT_EQ(CellBackground(0, 1, 5), Display(LetterScheme::Background(row1[5])));

    EXPECT_TRUE(CellIsUniform(0, 0, 5, Qt::white));  // masked: white on white
    EXPECT_TRUE(CellIsUniform(0, 0, 6, Qt::white));
    EXPECT_FALSE(CellIsUniform(0, 0, 4, CellBackground(0, 0, 4)));  // an unmasked cell shows its letter

    const QColor grey(0x80, 0x80, 0x80);
    for (unsigned row = 0; row < 3; ++row) {
        EXPECT_EQ(CellBackground(0, row, 10), grey) << row;
        EXPECT_EQ(CellBackground(0, row, 11), grey) << row;  // fixed wins over the mask of row 2
    }
    EXPECT_TRUE(CellIsUniform(0, 2, 12, Qt::white));

    const auto& slots0 = access.ResidueBlocks().at(0);
    EXPECT_TRUE(slots0[1].selected);
    EXPECT_FALSE(slots0[0].selected);
}

// Strips copy their cells from remembered glyphs: whatever was drawn before, in whatever font, every cell
// must be the glyph cache's glyph for that cell's render data, cut to the cell.
TEST_F(ResidueBlockRenderingTest, EveryStripCellIsItsGlyphAcrossSelectionAndFontChanges) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(MakeLetterScheme());
    builder.Seq("s0", Letters(30)).Seq("s1", Letters(30, 1));
    builder.Select(1, 2, 4).Mask(0, 5, 6).FixedBlock(10, 11).Style(0, 3, SDM::Bold);
    BuiltAlignment built = builder.Build();

    auto expectCellsAreGlyphs = [&](const char* when) {
        const Corvane::AlignmentHelper helper(*built.view);
        const CellGeometry drawnCells(access.CellFont());  // the renderer's font, which may have changed
        for (unsigned row = 0; row < 2; ++row) {
            const QPixmap* strip = access.ResidueStrip(0, row);
            ASSERT_NE(strip, nullptr) << when;
            const QImage image = strip->toImage();
            ASSERT_EQ(image.size(), QSize(drawnCells.ColumnLeft(30), drawnCells.CellHeight())) << when;
            for (unsigned c = 0; c < 30; ++c) {
                ResidueRenderData data;
                access.GetRenderData(helper, data, row, c, false);
                const QImage glyph = ResidueFactory::Instance()->GetPixmap(data, access.Font())->toImage();
                const QImage drawn =
                    image.copy(drawnCells.Cell(int(c), 0)).convertToFormat(QImage::Format_RGB32);
                EXPECT_EQ(drawn, glyph.copy(drawnCells.Cell(0, 0)).convertToFormat(QImage::Format_RGB32))
                    << when << ": row " << row << " column " << c;
            }
        }
    };

    ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 20)));
    expectCellsAreGlyphs("first render");

    built.model->getSelection().clear();
    built.model->getSelection().select(0, 0, 8);
    built.model->selectionChanged();
    ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 20), true, false));
    expectCellsAreGlyphs("after the selection moved");

    FakeWidget larger(testsupport::MonoFont(16));
    ASSERT_TRUE(renderer.Render(&larger, *built.view, AspectsOfCells(80, 40), false,
                                false));  // room for 30 wider cells
    ASSERT_GT(access.CellFont().GetMaxWidth(), cells.CellWidth());
    expectCellsAreGlyphs("in a larger font");
}

TEST_F(ResidueBlockRenderingTest, RenderDataTranslatesTheModelResidue) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(MakeLetterScheme());
    SDM::MarkColors marks{Common::Color(255, 0, 0), Common::Color(0, 255, 0), Common::Color(0, 0, 255)};
    builder.Seq("s0", "ACDEF").Seq("s1", "GHIKL");
    builder.Mask(0, 0, 0).FixedBlock(1, 1).Mask(0, 1, 1).Select(1, 0, 0);
    builder.Mark(0, 2, 0x1E, marks).Mark(0, 3, 0x21, marks).Style(0, 4, SDM::BoldItalic);
    BuiltAlignment built = builder.Build();
    ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 20)));
    const Corvane::AlignmentHelper helper(*built.view);

    ResidueRenderData masked;
    access.GetRenderData(helper, masked, 0, 0, false);
    EXPECT_EQ(masked.residue, 'a');
    EXPECT_EQ(masked.textColour, 0xFFFFFFFFu);
    EXPECT_EQ(masked.backgroundColour, 0xFFFFFFFFu);

    ResidueRenderData fixedAndMasked;
    access.GetRenderData(helper, fixedAndMasked, 0, 1, false);
    EXPECT_EQ(fixedAndMasked.residue, 'C');
    EXPECT_EQ(fixedAndMasked.backgroundColour, 0xFF808080u);
    EXPECT_EQ(fixedAndMasked.textColour, 0xFF000000u);

    ResidueRenderData marked;
    access.GetRenderData(helper, marked, 0, 2, false);
    EXPECT_EQ(marked.lineFlags, 7);
    EXPECT_TRUE(marked.caret);
    EXPECT_EQ(marked.underlineColour, 0xFFFF0000u);
    EXPECT_EQ(marked.overlineColour, 0xFF00FF00u);
    EXPECT_EQ(marked.caretColour, 0xFF0000FFu);

    ResidueRenderData alwaysOnBits;
    access.GetRenderData(helper, alwaysOnBits, 0, 3, false);
    EXPECT_EQ(alwaysOnBits.lineFlags, 0);
    EXPECT_FALSE(alwaysOnBits.caret);

    ResidueRenderData styled;
    access.GetRenderData(helper, styled, 0, 4, false);
    EXPECT_EQ(styled.fontStyle, 3);

    ResidueRenderData selected;
    ResidueRenderData unselected;
    access.GetRenderData(helper, selected, 1, 0, false);
    access.GetRenderData(helper, unselected, 1, 0, true);
    const Common::Color background = LetterScheme::Background('G');
    EXPECT_EQ(selected.backgroundColour, SQC::ToDisplayColour(SDM::SelectedBackground(background)));
    EXPECT_EQ(unselected.backgroundColour, SQC::ToDisplayColour(background));

    ResidueRenderData outside;
    access.GetRenderData(helper, outside, 7, 0, false);  // no such row: a blank cell
    EXPECT_EQ(outside.backgroundColour, 0xFFFFFFFFu);
    access.GetRenderData(helper, outside, 0, 99, false);
    EXPECT_EQ(outside.textColour, 0xFFFFFFFFu);
}

// ---- Which rows and columns a block paints
// ------------------------------------------------------------------

class BlockRangeTest : public ResidueBlockRenderingTest {
protected:
    void SetUp() override {
        ResidueBlockRenderingTest::SetUp();
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Scheme(MakeLetterScheme());
        builder.Seq("short", Letters(45));
        for (unsigned r = 1; r < 7; ++r) builder.Seq("long" + std::to_string(r), Letters(100, r));
        built = builder.Build();
        ASSERT_TRUE(RenderWith(built, AspectsOfCells(40, 4)));  // a small view: one block drawn
        access.FreePixmaps();
        access.InitializePixmapBlocks(Corvane::AlignmentHelper(*built.view));
    }

    std::vector<unsigned> PaintedRows(unsigned block) const {
        std::vector<unsigned> rows;
        for (unsigned r = 0; r < 7; ++r)
            if (access.ResidueStrip(block, r) != nullptr) rows.push_back(r);
        return rows;
    }

    BuiltAlignment built;
};

TEST_F(BlockRangeTest, RowBoundsAreInclusiveAndMinusOneIsOpen) {
    const Corvane::AlignmentHelper helper(*built.view);
    EXPECT_TRUE(access.RenderResidueBlock(helper, 0, 40, 0, 3, 5));
    EXPECT_EQ(PaintedRows(0), (std::vector<unsigned>{3, 4, 5}));
    EXPECT_TRUE(access.RenderResidueBlock(helper, 40, 80, 1, -1, -1));
    EXPECT_EQ(PaintedRows(1), (std::vector<unsigned>{0, 1, 2, 3, 4, 5, 6}));
}

TEST_F(BlockRangeTest, ShortRowGetsOnlyItsResiduesAndLaterRowsTheFullBlock) {
    const Corvane::AlignmentHelper helper(*built.view);
    access.RenderResidueBlock(helper, 40, 80, 1, -1, -1);
    EXPECT_EQ(access.ResidueStrip(1, 0)->width(), cells.ColumnLeft(5));
    EXPECT_EQ(access.ResidueStrip(1, 1)->width(), cells.ColumnLeft(40));

    access.RenderResidueBlock(helper, 80, 120, 2, -1, -1);
    EXPECT_EQ(access.ResidueStrip(2, 0), nullptr);  // the block starts beyond the short row
    EXPECT_EQ(access.ResidueStrip(2, 1)->width(), cells.ColumnLeft(20));
    EXPECT_EQ(CellBackground(2, 1, 19), Display(LetterScheme::Background(Letters(100, 1)[99])));
}

TEST_F(BlockRangeTest, BlockStartingFarBeyondARowIsSkippedNotWrappedAround) {
    const Corvane::AlignmentHelper helper(*built.view);
    EXPECT_TRUE(access.RenderResidueBlock(helper, 46, 86, 1, -1, -1));  // first > the short row's 45 + 1
    EXPECT_EQ(access.ResidueStrip(1, 0), nullptr);
    EXPECT_EQ(access.ResidueStrip(1, 1)->width(), cells.ColumnLeft(40));
}

TEST_F(BlockRangeTest, RangeOutsideTheRowLeavesAWhiteStrip) {
    const Corvane::AlignmentHelper helper(*built.view);
    EXPECT_FALSE(access.RenderResidueBases(helper, 0, 1, 40, 40));  // the short row ends at 45
    const QPixmap* strip = access.ResidueStrip(1, 0);
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(CellIsUniform(1, 0, 0, Qt::white));
    EXPECT_TRUE(CellIsUniform(1, 0, 39, Qt::white));
}

TEST_F(BlockRangeTest, SlotsOutsideTheStoreAreRefused) {
    const Corvane::AlignmentHelper helper(*built.view);
    EXPECT_FALSE(access.RenderResidueBases(helper, 0, 99, 0, 10));
    EXPECT_FALSE(access.RenderResidueBases(helper, 8, 0, 0, 10));
    EXPECT_FALSE(access.RenderResidueBases(helper, 7, 0, 0, 10));  // the spare slot has no row
    EXPECT_EQ(access.ResidueStrip(0, 7), nullptr);
}

TEST_F(ResidueBlockRenderingTest, AlignmentThatLostRowsUnderAKeptLayoutIsDrawnSafely) {
    AlignmentBuilder builder(SDM::AminoAcid);
    for (unsigned r = 0; r < 5; ++r) builder.Seq("s" + std::to_string(r), Letters(80, r));
    BuiltAlignment built = builder.Build();
    const auto aspects = AspectsOfCells(40, 30, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(built, aspects));
    built.model->removeSequence(4);
    built.model->removeSequence(3);
    EXPECT_TRUE(RenderWith(built, aspects, true, false));
    EXPECT_EQ(access.ResidueStrip(0, 4), nullptr);
    EXPECT_NE(access.ResidueStrip(0, 2), nullptr);
}

// ---- Repainting only what must change
// -----------------------------------------------------------------------

class RepaintTest : public ResidueBlockRenderingTest {
protected:
    void SetUp() override {
        ResidueBlockRenderingTest::SetUp();
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Scheme(MakeLetterScheme());
        for (unsigned r = 0; r < 4; ++r) builder.Seq("s" + std::to_string(r), Letters(100, r));
        builder.Select(2, 45, 50);
        built = builder.Build();
    }

    std::vector<qint64> Strips() const {
        std::vector<qint64> strips;
        for (unsigned block = 0; block < 3; ++block)
            for (unsigned row = 0; row < 4; ++row) strips.push_back(KeyOf(access.ResidueStrip(block, row)));
        return strips;
    }

    BuiltAlignment built;
};

TEST_F(RepaintTest, WrapWithAKeptLayoutReusesCachedStrips) {
    const auto aspects = AspectsOfCells(40, 30, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(built, aspects));
    const auto before = Strips();
    for (qint64 strip : before) ASSERT_NE(strip, 0);
    const std::uint64_t calls = TimerCount(kBasesTimer);
    EXPECT_EQ(calls, 12u);
    EXPECT_EQ(TimerCount(kBlockTimer), 3u);
    EXPECT_EQ(TimerCount(kRenderTimer), 1u);

    ASSERT_TRUE(RenderWith(built, aspects));
    EXPECT_EQ(TimerCount(kBasesTimer), 2 * calls);  // every strip was asked for ...
    EXPECT_EQ(Strips(), before);                    // ... and none was painted again
    EXPECT_EQ(TimerCount(kRenderTimer), 2u);
}

TEST_F(RepaintTest, RedrawResiduesRepaintsEveryVisibleStripAndRecordsTheSelection) {
    const auto aspects = AspectsOfCells(40, 30, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(built, aspects));
    const auto before = Strips();
    ASSERT_TRUE(RenderWith(built, aspects, true, false));
    const auto after = Strips();
    for (std::size_t i = 0; i < before.size(); ++i) {
        ASSERT_NE(after[i], 0);
        EXPECT_NE(after[i], before[i]) << i;
    }
    EXPECT_TRUE(access.ResidueBlocks().at(1)[2].selected);
    EXPECT_FALSE(access.ResidueBlocks().at(0)[2].selected);
}

TEST_F(RepaintTest, UnderRedrawOnlyRowsInvolvedInTheSelectionArePaintedAgain) {
    const auto aspects = AspectsOfCells(40, 30, true, RenderSequenceData::RenderAspects::kFitToWidth);
    ASSERT_TRUE(RenderWith(built, aspects));
    ASSERT_TRUE(RenderWith(built, aspects, true, false));  // leaves the renderer in redraw mode
    ASSERT_TRUE(access.RedrawResidues());
    const Corvane::AlignmentHelper helper(*built.view);
    const qint64 uninvolved = KeyOf(access.ResidueStrip(1, 1));
    const qint64 involved = KeyOf(access.ResidueStrip(1, 2));

    EXPECT_TRUE(access.RenderResidueBases(helper, 1, 1, 40, 40));
    EXPECT_TRUE(access.RenderResidueBases(helper, 2, 1, 40, 40));
    EXPECT_EQ(KeyOf(access.ResidueStrip(1, 1)), uninvolved);
    EXPECT_NE(KeyOf(access.ResidueStrip(1, 2)), involved);

    // Deselected since: the strip drawn selected is involved and loses its highlight.
    built.model->getSelection().clear();
    built.model->selectionChanged();
    const Corvane::AlignmentHelper deselected(*built.view);
    EXPECT_TRUE(access.RenderResidueBases(deselected, 2, 1, 40, 40));
    EXPECT_FALSE(access.ResidueBlocks().at(1)[2].selected);
    const QColor plain = Display(LetterScheme::Background(Letters(100, 2)[45]));
    EXPECT_EQ(CellBackground(1, 2, 5), plain);
}

TEST_F(RepaintTest, UnwrappedViewPaintsItsBlockOnEveryCall) {
    const auto aspects = AspectsOfCells(40, 30, false);
    ASSERT_TRUE(RenderWith(built, aspects));
    const qint64 first = KeyOf(access.ResidueStrip(0, 0));
    ASSERT_NE(first, 0);
    ASSERT_TRUE(RenderWith(built, aspects));
    EXPECT_NE(KeyOf(access.ResidueStrip(0, 0)), first);
}

TEST_F(RepaintTest, KeptStripForShiftedColumnsIsPaintedAgain) {
    auto aspects = AspectsOfCells(40, 30, true, 0);
    ASSERT_TRUE(RenderWith(built, aspects));
    aspects.horizontalOffset = cells.ColumnLeft(3);
    ASSERT_TRUE(RenderWith(built, aspects, false, true));
    ASSERT_EQ(access.TopResidueIndex(), 3u);
    // Block 0 now shows columns 3 to 42.
    EXPECT_EQ(CellBackground(0, 0, 0), Display(LetterScheme::Background(Letters(100)[3])));
}

}  // namespace
