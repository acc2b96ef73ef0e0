// Wrapped alignments of many thousands of rows, whose blocks are taller than the view: every scroll position
// composes only the rows in view, in a pixmap no taller than the view plus a ruler band and a line, hit
// tests and ScrollTo agree with what is shown, and the residue strip store stays within its budget.

#include <QPixmap>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "renderer/PixmapAllocation.h"
#include "renderer/ViewTestFixture.h"
#include "sqv/UserProperties.h"

using namespace viewtest;
using renderertest::AspectsOfCells;
using renderertest::Letters;
using Location = RenderSequenceData::RowLocation;

namespace {

constexpr unsigned kRows = 20000;
constexpr unsigned kColumns = 150;
constexpr int kViewColumns = 32;
constexpr int kViewRows = 40;
constexpr int kNameWidth = 150;
constexpr int kFixedPerLine = 40;
constexpr unsigned kLongNameRow = 12345;  // far from every block boundary
constexpr unsigned kCurrentRow = 5;

// Rows with an "alpha" structure line: some at both ends of every block, and a few in between.
bool HasStructure(unsigned row) {
    return row == 1 || row == 4 || row + 3 == kRows || row % 997 == 0;
}

std::string StructureOf(unsigned row) {
    std::string letters;
    for (unsigned c = 0; c < kColumns; ++c) letters += "HHHHCCSSSC"[(c + row) % 10];
    return letters;
}

std::string NameOf(unsigned row) {
    if (row == kLongNameRow) return "far" + std::string(297, 'x');  // 300 characters
    return "seq" + std::to_string(row);
}

// Built once: twenty thousand sequences take a while to make. Tests reset the current row they use.
BuiltAlignment& TallAlignment() {
    static BuiltAlignment alignment = [] {
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Scheme(renderertest::MakeLetterScheme());
        for (unsigned r = 0; r < kRows; ++r) {
            builder.Seq(NameOf(r), Letters(kColumns, r));
            if (HasStructure(r)) builder.Structure("alpha", StructureOf(r));
        }
        return builder.Build();
    }();
    return alignment;
}

struct TallCase {
    int residuesPerLine;
    bool structure;
    bool ruler;
    bool currentRow;
};

TallCase CaseOf(const std::tuple<bool, bool, bool, bool>& flags) {
    return {std::get<0>(flags) ? RenderSequenceData::RenderAspects::kFitToWidth : kFixedPerLine,
            std::get<1>(flags), std::get<2>(flags), std::get<3>(flags)};
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<bool, bool, bool, bool>>& info) {
    const TallCase c = CaseOf(info.param);
    return std::string(c.residuesPerLine == kFixedPerLine ? "Fixed40" : "FitToWidth") +
           (c.structure ? "Structure" : "NoStructure") + (c.ruler ? "Ruler" : "NoRuler") +
           (c.currentRow ? "CurrentRow" : "NoCurrentRow");
}

/// The row and block that a view scrolled to a grid row of the whole alignment starts with.
struct Shown {
    unsigned block;
    unsigned row;
};

class TallBlocksFixture : public ViewFixture {
protected:
    void Configure(const TallCase& c) {
        tall = c;
        aspects = AspectsOfCells(kViewColumns, kViewRows, true, c.residuesPerLine);
        aspects.nameRect = QRect(0, 0, kNameWidth, cells.LineTop(kViewRows));
        aspects.showRuler = c.ruler;
        aspects.showSecondaryStructure = c.structure;
        gridToRow.clear();
        for (unsigned r = 0; r < kRows; ++r) {
            gridToRow.push_back(r);
            if (c.structure && HasStructure(r)) gridToRow.push_back(r);
        }
        TallAlignment().properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
    }

    // One frame as msaview renders it: the view composed without a current row (which would keep the old
    // view), then once more with the current row and the layout kept, for the name column's mark.
    bool Frame(std::int64_t top, int left = 0) {
        BuiltAlignment& alignment = TallAlignment();
        aspects.horizontalOffset = left;
        const int y = CellGeometry::SaturateToInt(top);
        renderer.TopScrollValue() = y;
        renderer.TopDrawnValue() = y;
        alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
        if (!RenderWith(alignment, aspects, false, laidOut)) return false;
        laidOut = true;
        if (!tall.currentRow) return true;
        alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, int(kCurrentRow));
        const bool rendered = RenderWith(alignment, aspects, false, true);
        alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, -1);
        return rendered;
    }
    bool FrameAtGridRow(std::int64_t gridRow) { return Frame(cells.Height(gridRow)); }

    unsigned PerBlock() const { return renderer.ResiduesPerBlock(); }
    std::int64_t BlockGridRows() const { return renderer.RowsPerBlock(); }
    // The last scroll position a host offers: the view's bottom at the end of the alignment.
    std::int64_t LastTop() const {
        const int top = renderer.GetVerticalScrollValue() - aspects.viewRect.height();
        return cells.LineTop(cells.LinesIn(top));
    }

    // What a view scrolled to `gridRow` starts with. A view at a ruler band shows the block's first row
    // first; with the ruler hidden, a view in the blank lines at a block's end starts with the next block.
    Shown FirstShown(std::int64_t gridRow) const {
        const unsigned block = unsigned(gridRow / BlockGridRows());
        const unsigned inBlock = unsigned(gridRow % BlockGridRows());
        if (tall.ruler && inBlock < kRulerBandRows) return {block, 0};
        const unsigned position = tall.ruler ? inBlock - kRulerBandRows : inBlock;
        if (position >= gridToRow.size()) return {block + 1, 0};
        return {block, gridToRow[position]};
    }
    unsigned LinesOfRow(unsigned row) const { return tall.structure && HasStructure(row) ? 2 : 1; }

    // The recorded residue lines, top to bottom.
    std::vector<std::pair<int, Location>> ResidueLines() const {
        std::vector<std::pair<int, Location>> lines;
        for (const auto& [top, location] : renderer.RowLocations())
            if (location.kind == Location::kBandOrResidueLine && !location.isRuler && location.row >= 0)
                lines.emplace_back(top, location);
        return lines;
    }

    // Everything a frame at `gridRow` must show: the rows the scroll position starts with, one after
    // another, each with its residues' colour, in pixmaps no taller than the view plus a band and a line.
    void ExpectComposedAt(std::int64_t gridRow) {
        SCOPED_TRACE("grid row " + std::to_string(gridRow));
        const QPixmap* view = renderer.GetAlignmentPixmap();
        const QPixmap* names = renderer.GetNamePixmap();
        ASSERT_NE(view, nullptr);
        ASSERT_NE(names, nullptr);
        const int limit = aspects.viewRect.height() + cells.RulerBandHeight() + cells.CellHeight();
        EXPECT_LE(view->height(), limit);
        EXPECT_LE(names->height(), limit);

        const auto lines = ResidueLines();
        ASSERT_FALSE(lines.empty());
        const Shown expected = FirstShown(gridRow);
        const unsigned horizontal = unsigned(cells.ColumnsIn(aspects.horizontalOffset));
        const unsigned shift = tall.residuesPerLine == kFixedPerLine ? horizontal : 0;
        EXPECT_EQ(lines.front().second.row, int(expected.row));
        EXPECT_EQ(lines.front().second.firstColumn, expected.block * PerBlock() + shift);
        EXPECT_LE(lines.front().first, cells.RulerBandHeight());

        // Each line follows the one above: the next row of its block, or the next block's first row
        // below a band.
        const QImage image = view->toImage();
        bool longNameShown = false;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const auto& [top, location] = lines[i];
            longNameShown = longNameShown || location.row == int(kLongNameRow);
            if (location.firstColumn < kColumns) {
                ASSERT_EQ(CellColour(image, QPoint(0, top)),
                          Background(Letters(kColumns, unsigned(location.row))[location.firstColumn]))
                    << "row " << location.row << " column " << location.firstColumn << " at y " << top;
            }
            if (i == 0) continue;
            const auto& [aboveTop, above] = lines[i - 1];
            const int step = cells.LineTop(LinesOfRow(unsigned(above.row)));
            if (location.firstColumn == above.firstColumn) {
                EXPECT_EQ(location.row, above.row + 1) << "at y " << top;
                EXPECT_EQ(top, aboveTop + step) << "row " << location.row;
            } else {
                EXPECT_EQ(location.firstColumn, above.firstColumn + PerBlock()) << "at y " << top;
                EXPECT_EQ(location.row, 0) << "at y " << top;
                EXPECT_EQ(top, aboveTop + step + cells.RulerBandHeight()) << "row " << location.row;
            }
        }
        // The view is filled to its bottom edge unless the alignment ends in it; with the ruler hidden, the
        // blank lines at a block's end are not composed and show white as well.
        // (A view at a later block's ruler band is checked by
        // ViewAtALaterBlocksRulerBandIsFilledToItsBottom.)
        const bool atLaterBand = tall.ruler && gridRow >= BlockGridRows() && gridRow % BlockGridRows() == 0;
        if (!atLaterBand &&
            cells.Height(gridRow) + aspects.viewRect.height() <= renderer.GetVerticalScrollValue()) {
            const int blankEnd = tall.ruler ? 0 : cells.RulerBandHeight();
            EXPECT_GE(renderer.GetSequenceViewSize().height(), aspects.viewRect.height() - blankEnd);
        }
        // The name column is only as wide as the labels in view.
        if (!longNameShown) {
            EXPECT_EQ(names->width(), kNameWidth);
        }
        if (tall.currentRow) ExpectCurrentRowMark(lines);
    }

    void ExpectCurrentRowMark(const std::vector<std::pair<int, Location>>& lines) {
        const QImage names = Names();
        for (const auto& [top, location] : lines) {
            const QColor mark(names.pixel(kNameWidth - 1, top + cells.CellHeight()));
            if (location.row == int(kCurrentRow))
                EXPECT_EQ(mark, QColor(Qt::blue)) << "current row at y " << top;
            else
                EXPECT_NE(mark, QColor(Qt::blue)) << "row " << location.row << " at y " << top;
        }
    }

    // Grid rows of scroll positions around the start of `block`: from a page before to a page after,
    // through the ruler band (whose lower line a host snaps to its top, as msaview does).
    std::vector<std::int64_t> AroundBoundary(unsigned block) const {
        std::vector<std::int64_t> rows;
        const std::int64_t boundary = std::int64_t(block) * BlockGridRows();
        for (int offset : {-kViewRows - 1, -kViewRows, -kViewRows + 1, -kViewRows / 2, -3, -2, -1, 0, 1, 2, 3,
                           kViewRows / 2, kViewRows, kViewRows + 1}) {
            if (tall.ruler && offset == 1) continue;
            rows.push_back(boundary + offset);
        }
        return rows;
    }

    TallCase tall;
    RenderSequenceData::RenderAspects aspects;
    std::vector<unsigned> gridToRow;  // the row of each grid row of a block, bands left out
    bool laidOut = false;
};

class TallBlocksTest : public TallBlocksFixture,
                       public ::testing::WithParamInterface<std::tuple<bool, bool, bool, bool>> {
protected:
    void SetUp() override { Configure(CaseOf(GetParam())); }
};

TEST_P(TallBlocksTest, EveryScrollPositionAcrossBlockBoundariesComposesTheRowsInView) {
    ASSERT_TRUE(FrameAtGridRow(0));
    ASSERT_GE(BlockGridRows(), kRulerBandRows + kRows);  // blocks far taller than the view
    ASSERT_GE(renderer.BlockCount(), 4u);
    ExpectComposedAt(0);

    std::vector<std::int64_t> positions;
    for (unsigned block = 1; block <= 3; ++block)
        for (std::int64_t row : AroundBoundary(block)) positions.push_back(row);
    positions.push_back(cells.LinesIn(CellGeometry::SaturateToInt(LastTop())));
    for (std::int64_t row : positions) {
        ASSERT_TRUE(FrameAtGridRow(row)) << "grid row " << row;
        ExpectComposedAt(row);
    }
    // The last position ends with the last row.
    const auto lines = ResidueLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().second.row, int(kRows - 1));
    EXPECT_EQ(lines.back().second.firstColumn, (renderer.BlockCount() - 1) * PerBlock());

    // Scrolling back up, then to the top.
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        ASSERT_TRUE(FrameAtGridRow(*it)) << "grid row " << *it;
        ExpectComposedAt(*it);
    }
    ASSERT_TRUE(FrameAtGridRow(0));
    ExpectComposedAt(0);
}

// GIVEN the view's top at the first grid row of blocks 1 to 3 (their ruler band when the ruler is shown)
TEST_P(TallBlocksTest, ViewAtALaterBlocksRulerBandIsFilledToItsBottom) {
    ASSERT_TRUE(FrameAtGridRow(0));
    for (unsigned block = 1; block <= 3; ++block) {
        const std::int64_t gridRow = std::int64_t(block) * BlockGridRows();
        ASSERT_TRUE(FrameAtGridRow(gridRow));
        EXPECT_GE(renderer.GetSequenceViewSize().height(), aspects.viewRect.height()) << "block " << block;
        // The last line of the view shows a residue line (or a line of one).
        const QPoint lastLine(0, aspects.viewRect.height() - 1);
        EXPECT_GE(renderer.GetRowIndex(lastLine), 0) << "block " << block;
        EXPECT_NE(CellColour(View(), QPoint(0, cells.LineKey(lastLine.y()))), QColor(Qt::white))
            << "block " << block;
    }
}

TEST_P(TallBlocksTest, EveryShownResidueLineAnswersHitTestsAndItsCoordinate) {
    ASSERT_TRUE(FrameAtGridRow(0));
    const std::int64_t crossing = 2 * BlockGridRows() - kViewRows / 2;
    const std::int64_t last = cells.LinesIn(CellGeometry::SaturateToInt(LastTop()));
    for (std::int64_t gridRow : {crossing, last}) {
        ASSERT_TRUE(FrameAtGridRow(gridRow));
        const auto lines = ResidueLines();
        ASSERT_GT(lines.size(), std::size_t(kViewRows / 2));
        for (const auto& [top, location] : lines) {
            for (int offset : {0, kViewColumns / 2, kViewColumns - 1}) {
                const unsigned column = location.firstColumn + unsigned(offset);
                if (column >= kColumns) continue;
                const QPoint inside = cells.CellCentre(offset, top);
                EXPECT_EQ(renderer.GetRowIndex(inside), location.row) << "y " << top;
                EXPECT_EQ(renderer.GetSequenceIndex(inside), location.row) << "y " << top;
                EXPECT_EQ(renderer.GetResidueIndex(inside), int(column)) << "y " << top;
                EXPECT_EQ(renderer.GetResidueCoordinate(column, unsigned(location.row)),
                          QPoint(cells.ColumnLeft(offset), top))
                    << "row " << location.row << " column " << column;
            }
        }
    }
}

TEST_P(TallBlocksTest, RenderingAtScrollToValuesShowsResiduesOfOtherBlocks) {
    ASSERT_TRUE(FrameAtGridRow(0));
    const unsigned perBlock = PerBlock();
    const unsigned blocks = renderer.BlockCount();
    // From the end of block 1, with the start of block 2 in view: targets above, inside and below.
    const std::int64_t starts[] = {2 * BlockGridRows() - kViewRows / 2};
    for (std::int64_t start : starts) {
        for (unsigned block = 0; block < blocks; ++block) {
            for (unsigned row : {0u, 2u, kRows / 3, kRows - 1}) {
                for (unsigned inBlock : {0u, unsigned(kViewColumns) + 3}) {
                    const unsigned column = block * perBlock + inBlock;
                    if (inBlock >= perBlock || column >= kColumns) continue;
                    SCOPED_TRACE("from grid row " + std::to_string(start) + " to row " + std::to_string(row) +
                                 " column " + std::to_string(column));
                    ASSERT_TRUE(Frame(cells.Height(start)));
                    int x = 0;
                    int y = CellGeometry::SaturateToInt(cells.Height(start));
                    renderer.ScrollTo(column, row, x, y);
                    ASSERT_TRUE(Frame(y, x));
                    const QPoint corner = renderer.GetResidueCoordinate(column, row);
                    ASSERT_TRUE(aspects.viewRect.contains(cells.Cell(0, 0).translated(corner)))
                        << "corner (" << corner.x() << ", " << corner.y() << ")";
                    EXPECT_EQ(CellColour(View(), corner), Background(Letters(kColumns, row)[column]));
                }
            }
        }
    }
}

TEST_P(TallBlocksTest, SavablePixmapPutsTheComposedNamesBesideTheComposedView) {
    ASSERT_TRUE(FrameAtGridRow(BlockGridRows() - kViewRows / 2));
    const QPixmap saved = renderer.GetSavablePixmap();
    ASSERT_FALSE(saved.isNull());
    const QSize names = renderer.GetNameViewSize();
    const QSize sequences = renderer.GetSequenceViewSize();
    EXPECT_EQ(saved.size(), QSize(names.width() + sequences.width(), sequences.height()));
    const auto lines = ResidueLines();
    ASSERT_FALSE(lines.empty());
    const QImage image = saved.toImage();
    const QImage view = View();
    for (const auto& entry : {lines.front(), lines.back()}) {
        const QPoint cell(0, entry.first);
        EXPECT_EQ(CellColour(image, cell + QPoint(names.width(), 0)), CellColour(view, cell));
    }
}

INSTANTIATE_TEST_SUITE_P(Views, TallBlocksTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool(), ::testing::Bool(),
                                            ::testing::Bool()),
                         CaseName);

class TallBlocksStoreTest : public TallBlocksFixture {
protected:
    void SetUp() override { Configure({RenderSequenceData::RenderAspects::kFitToWidth, false, true, false}); }

    // Bytes of every residue strip the store holds now.
    std::int64_t StoredStripBytes() const {
        std::int64_t bytes = 0;
        for (const auto& entry : access.ResidueBlocks())
            for (const auto& slot : entry.second)
                if (slot.pixmap) bytes += PixmapAllocation::BytesOf(*slot.pixmap);
        return bytes;
    }
    // Every residue line of the frame has its strip in the store.
    void ExpectStripsOfTheFrameKept() const {
        for (const auto& [top, location] : ResidueLines())
            EXPECT_NE(access.ResidueStrip(location.firstColumn / PerBlock(), unsigned(location.row)), nullptr)
                << "row " << location.row << " at y " << top;
    }
};

// Paging through the whole alignment in a taller and wider view: two blocks, fewer frames.
class TallBlocksPagingTest : public TallBlocksStoreTest {
protected:
    static constexpr int kPagingColumns = 75;
    static constexpr int kPagingRows = 120;

    void SetUp() override {
        TallBlocksStoreTest::SetUp();
        aspects.viewRect = renderertest::ViewOfCells(kPagingColumns, kPagingRows);
        aspects.nameRect = QRect(0, 0, kNameWidth, aspects.viewRect.height());
    }
    std::int64_t DefaultBudget() const {
        const QRect& view = aspects.viewRect;
        return std::max(std::int64_t(32) << 20, 8 * std::int64_t(view.width()) * view.height() * 4);
    }
    // Pages down from `first` through `pages` pages (all of the alignment when negative), calling `check`
    // after every frame.
    template <typename Check>
    void PageThrough(Check check, std::int64_t first = 0, int pages = -1) {
        ASSERT_TRUE(FrameAtGridRow(first));
        check(first);
        const std::int64_t page = kPagingRows - 1;
        const std::int64_t last = cells.LinesIn(CellGeometry::SaturateToInt(LastTop()));
        ASSERT_GT(last, std::int64_t(kRows));
        for (std::int64_t gridRow = first; gridRow < last && pages != 0; --pages) {
            gridRow = std::min(gridRow + page, last);
            ASSERT_TRUE(FrameAtGridRow(gridRow)) << "grid row " << gridRow;
            check(gridRow);
        }
    }
};

TEST_F(TallBlocksPagingTest, StripStoreStaysWithinASetBudgetWhilePagingThroughTheWholeAlignment) {
    const std::int64_t budget = std::int64_t(10) << 20;  // a little over two frames of strips
    renderer.SetStripCacheBudget(budget);
    int frames = 0;
    PageThrough([&](std::int64_t gridRow) {
        ASSERT_LE(renderer.StripCacheBytes(), budget) << "grid row " << gridRow;
        if (++frames % 64 == 0) {
            ASSERT_EQ(renderer.StripCacheBytes(), StoredStripBytes()) << "grid row " << gridRow;
            ExpectStripsOfTheFrameKept();
        }
    });
    EXPECT_GE(frames, int(renderer.BlockCount() * kRows / kPagingRows));
    EXPECT_EQ(renderer.StripCacheBytes(), StoredStripBytes());
    EXPECT_GT(renderer.StripCacheBytes(), 0);

    // Scrolling back to strips dropped long ago draws them again.
    for (std::int64_t gridRow : {std::int64_t(0), BlockGridRows() - kPagingRows / 2, BlockGridRows() + 500}) {
        ASSERT_TRUE(FrameAtGridRow(gridRow));
        ExpectComposedAt(gridRow);
        ExpectStripsOfTheFrameKept();
        EXPECT_LE(renderer.StripCacheBytes(), budget);
    }
}

TEST_F(TallBlocksPagingTest, DefaultBudgetKeepsTheStripStoreFlatWhilePagingThroughTheWholeAlignment) {
    const std::int64_t defaultBudget = DefaultBudget();
    PageThrough(
        [&](std::int64_t gridRow) { ASSERT_LE(renderer.StripCacheBytes(), defaultBudget) << gridRow; });
    std::int64_t wholeAlignment = 0;  // strip bytes of every row of every block
    for (unsigned block = 0; block < renderer.BlockCount(); ++block) {
        const unsigned columns = std::min(PerBlock(), kColumns - block * PerBlock());
        wholeAlignment += std::int64_t(kRows) * cells.ColumnLeft(columns) * cells.CellHeight() * 4;
    }
    ASSERT_GT(wholeAlignment, 4 * defaultBudget);  // without eviction the store would outgrow the budget
    EXPECT_LE(renderer.StripCacheBytes(), defaultBudget);
    EXPECT_GT(renderer.StripCacheBytes(), defaultBudget / 4);  // strips are kept for scrolling back
    EXPECT_EQ(renderer.StripCacheBytes(), StoredStripBytes());
}

TEST_F(TallBlocksPagingTest, ABudgetOfZeroRestoresTheDefault) {
    const std::int64_t small = std::int64_t(5) << 20;  // a little over one frame of strips
    renderer.SetStripCacheBudget(small);
    PageThrough([&](std::int64_t gridRow) { ASSERT_LE(renderer.StripCacheBytes(), small) << gridRow; }, 0, 8);
    renderer.SetStripCacheBudget(0);
    PageThrough(
        [&](std::int64_t gridRow) { ASSERT_LE(renderer.StripCacheBytes(), DefaultBudget()) << gridRow; },
        BlockGridRows() / 2, 8);
    EXPECT_GT(renderer.StripCacheBytes(), 2 * small);
}

// GIVEN frames that cross a block boundary, then frames inside one block
TEST_F(TallBlocksStoreTest, ABlockAddedForABoundaryInViewIsNotCountedOnceTheBoundaryIsGone) {
    const auto composedBlocks = [&] {
        std::vector<unsigned> blocks;
        for (const auto& [top, location] : renderer.RowLocations()) {
            const unsigned block = location.firstColumn / PerBlock();
            if (blocks.empty() || blocks.back() != block) blocks.push_back(block);
        }
        return blocks;
    };
    const auto rulerBands = [&] {
        int bands = 0;
        for (const auto& entry : renderer.RowLocations()) bands += entry.second.isRuler ? 1 : 0;
        return bands;
    };
    ASSERT_TRUE(FrameAtGridRow(kRows / 2));  // the first frame after the layout pass, inside block 0
    EXPECT_EQ(renderer.BlocksToRender(), 1u);
    EXPECT_EQ(composedBlocks(), std::vector<unsigned>{0});
    EXPECT_EQ(rulerBands(), 0);

    for (unsigned boundary : {1u, 2u}) {
        const std::int64_t start = std::int64_t(boundary) * BlockGridRows();
        ASSERT_TRUE(FrameAtGridRow(start - kViewRows / 2));
        EXPECT_EQ(renderer.BlocksToRender(), 2u);
        EXPECT_EQ(composedBlocks(), (std::vector<unsigned>{boundary - 1, boundary}));
        EXPECT_EQ(rulerBands(), 1);

        for (std::int64_t inside : {start - kViewRows * 3, start + kViewRows * 3}) {
            ASSERT_TRUE(FrameAtGridRow(inside));
            EXPECT_EQ(renderer.BlocksToRender(), 1u) << "grid row " << inside;
            EXPECT_EQ(composedBlocks().size(), 1u) << "grid row " << inside;
            EXPECT_EQ(rulerBands(), 0) << "grid row " << inside;
            ExpectComposedAt(inside);
        }
    }
}

// GIVEN the one row with a 300-character name, far from the block boundaries
TEST_F(TallBlocksStoreTest, NamePixmapWidensOnlyWhileALongNameIsInView) {
    const std::int64_t longNameLine = kRulerBandRows + kLongNameRow;
    ASSERT_TRUE(FrameAtGridRow(longNameLine - kViewRows / 2));
    EXPECT_GT(renderer.GetNamePixmap()->width(), kNameWidth);
    EXPECT_GE(renderer.GetNameViewSize().width(), renderer.GetNamePixmap()->width());
    ExpectComposedAt(longNameLine - kViewRows / 2);

    ASSERT_TRUE(FrameAtGridRow(longNameLine + 1));
    EXPECT_EQ(renderer.GetNamePixmap()->width(), kNameWidth);
    ExpectComposedAt(longNameLine + 1);
}

}  // namespace

namespace {

// GIVEN the tall alignment unwrapped, a view of a few dozen rows scrolled into its middle THEN only the rows
// in view (and the partly shown one) are drawn: each frame does not repaint every row below the view.
TEST_F(TallBlocksStoreTest, AnUnwrappedViewDrawsOnlyTheRowsInView) {
    aspects.wrap = false;
    const std::int64_t middle = kRows / 2;
    ASSERT_TRUE(FrameAtGridRow(middle));
    unsigned drawn = 0;
    for (const auto& entry : access.ResidueBlocks())
        for (const auto& slot : entry.second) drawn += slot.pixmap ? 1 : 0;
    EXPECT_GT(drawn, 0u);
    EXPECT_LE(drawn, unsigned(kViewRows) + 1);
    EXPECT_EQ(renderer.GetAlignmentPixmap()->height() - cells.CellHeight() / 2, aspects.viewRect.height());
    const auto lines = ResidueLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.begin()->second.row, int(middle) - int(kRulerBandRows));
}

}  // namespace

namespace {

// GIVEN structure lines shown WHEN the view's top jumps to every row with a structure, in three blocks THEN
// the cartoon store holds only the lines in sight, not every line ever shown.
TEST_F(TallBlocksStoreTest, CartoonLinesKeepOnlyTheViewsWorthWhilePaging) {
    Configure({RenderSequenceData::RenderAspects::kFitToWidth, true, true, false});
    unsigned places = 0;
    for (std::int64_t block = 0; block < 3; ++block) {
        for (std::size_t position = 0; position < gridToRow.size(); ++position) {
            const unsigned row = gridToRow[position];
            if (!HasStructure(row) || (position > 0 && gridToRow[position - 1] == row)) continue;
            ASSERT_TRUE(FrameAtGridRow(block * BlockGridRows() + kRulerBandRows + std::int64_t(position)));
            ++places;
            unsigned lines = 0;
            for (const auto& key : access.CartoonBlocks())
                for (const auto& entry : key.second)
                    for (const auto& slot : entry.second) lines += slot.pixmap ? 1 : 0;
            EXPECT_GE(lines, 1u) << "row " << row << " of block " << block;
            EXPECT_LE(lines, unsigned(kViewRows) + 1) << "row " << row << " of block " << block;
        }
    }
    EXPECT_GT(places, unsigned(kViewRows) + 1);  // enough places that keeping old lines would show
}

}  // namespace
