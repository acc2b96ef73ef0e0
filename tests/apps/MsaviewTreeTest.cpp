// A tree beside the viewer's rows: loaded from a Newick file or built by neighbour joining, the rows in its
// leaf order, the dendrogram drawn at their places (beside each block when wrapped), and a click on a branch
// selecting its clade.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <set>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "SelectionPicture.h"

namespace {

class TreeTest : public msaviewtest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(directory.isValid());
    }
    QString WriteTree(const QByteArray& newick) {
        const QString path = directory.filePath("family.nwk");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(newick);
        return path;
    }
    std::vector<std::string> RowNames() {
        std::vector<std::string> names;
        const RowMap& rows = view().Document()->Rows();
        for (int row = 0; row < rows.RowCount(); ++row)
            names.push_back(model().getSequence(unsigned(rows.SequenceOfRow(row)))->getIdentifier());
        return names;
    }
    // The middle of view row `row` in the tree strip's pixels (which share the viewport's top).
    int RowMiddle(int row) {
        for (const ShownLine& line : view().ShownLines())
            if (line.row == row) return line.top + cells.CellHeight() / 2;
        ADD_FAILURE() << "row " << row << " is not shown";
        return 0;
    }
    std::vector<std::string> SelectedNames() {
        std::vector<std::string> names;
        for (unsigned sequence : model().getSelection().sequences())
            names.push_back(model().getSequence(sequence)->getIdentifier());
        std::sort(names.begin(), names.end());
        return names;
    }
    void OpenGlobinsUnwrapped() {
        Open("globins4.sto");
        SetOptions([](DisplayOptions& options) { options.wrap = false; });
    }

    QTemporaryDir directory;
};

TEST_F(TreeTest, ALoadedTreeOrdersTheRowsAndStandsLeftOfTheNamesWithALeafAtEachRow) {
    OpenGlobinsUnwrapped();
    ASSERT_TRUE(window.LoadTree(WriteTree("((MYG_PHYCA,GLB5_PETMA),(HBA_HUMAN,HBB_HUMAN));")))
        << window.LastError().toStdString();
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"MYG_PHYCA", "GLB5_PETMA", "HBA_HUMAN", "HBB_HUMAN"}));
    ASSERT_TRUE(view().TreeShown());
    const QWidget& strip = view().TreeStrip();
    ASSERT_TRUE(strip.isVisible());
    EXPECT_EQ(strip.geometry().right() + 1, viewport()->geometry().left());
    EXPECT_EQ(strip.width(), 16 * cells.CellWidth());
    // Without branch lengths every leaf reaches the strip's right edge, on its row's middle.
    const QImage tree = const_cast<QWidget&>(strip).grab().toImage();
    for (int row = 0; row < 4; ++row) {
        EXPECT_LT(qGray(tree.pixel(strip.width() - 3, RowMiddle(row))), 128) << "leaf of row " << row;
        EXPECT_EQ(qGray(tree.pixel(strip.width() - 3, RowMiddle(row) - cells.CellHeight() / 2 + 1)), 255);
    }
}

TEST_F(TreeTest, AClickOnABranchSelectsItsCladeAndOnALeafItsSequence) {
    OpenGlobinsUnwrapped();
    ASSERT_TRUE(window.LoadTree(WriteTree("((MYG_PHYCA,GLB5_PETMA),(HBA_HUMAN,HBB_HUMAN));")));
    QWidget* strip = const_cast<QWidget*>(&view().TreeStrip());
    // The root is at x = 1, each clade of two halfway to the leaves, midway between its rows.
    const int globins = (RowMiddle(2) + RowMiddle(3)) / 2;
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(strip->width() / 4, globins));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"HBA_HUMAN", "HBB_HUMAN"}));
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(strip->width() - 6, RowMiddle(1)));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"GLB5_PETMA"}));
    const auto whole = model().getSelection().ranges(model().getSelection().sequences().front());
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].first, 0u);
    EXPECT_EQ(whole[0].last, model().columnCount() - 1);
}

TEST_F(TreeTest, ATreeThatCannotBeReadIsReportedWithItsPositionAndChangesNothing) {
    OpenGlobinsUnwrapped();
    const std::vector<std::string> before = RowNames();
    EXPECT_FALSE(window.LoadTree(WriteTree("((MYG_PHYCA,GLB5_PETMA),\n(HBA_HUMAN HBB_HUMAN));")));
    EXPECT_TRUE(window.LastError().contains("family.nwk:2:")) << window.LastError().toStdString();
    EXPECT_EQ(RowNames(), before);
    EXPECT_FALSE(view().TreeShown());
}

// Wrapped, every block shown has the tree beside its rows, and a click there selects that block's clade.
TEST_F(TreeTest, AWrappedViewHasTheTreeBesideEachBlock) {
    Open("globins4.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = true; });
    ASSERT_TRUE(window.LoadTree(WriteTree("((MYG_PHYCA,GLB5_PETMA),(HBA_HUMAN,HBB_HUMAN));")));
    ASSERT_TRUE(view().TreeShown());
    QWidget* strip = const_cast<QWidget*>(&view().TreeStrip());
    ASSERT_TRUE(strip->isVisible());
    const std::vector<ShownLine> lines = view().ShownLines();
    ASSERT_GE(lines.size(), 8u);
    ASSERT_NE(lines[0].firstColumn, lines[4].firstColumn) << "the view shows one block";
    const QImage tree = strip->grab().toImage();
    for (const ShownLine& line : lines) {
        if (line.top + cells.CellHeight() > tree.height()) continue;
        const int middle = line.top + cells.CellHeight() / 2;
        EXPECT_LT(qGray(tree.pixel(strip->width() - 3, middle)), 128)
            << "leaf of row " << line.row << " at y " << line.top;
        EXPECT_EQ(qGray(tree.pixel(strip->width() - 3, middle - cells.CellHeight() / 2 + 1)), 255);
    }
    // The root's stem stands in each block, and nothing of one block's tree runs into the next one's.
    EXPECT_LT(qGray(tree.pixel(1, (lines[5].top + lines[6].top) / 2 + cells.CellHeight() / 2)), 128);
    EXPECT_EQ(qGray(tree.pixel(1, lines[4].top - 1)), 255);
    const int globins = (lines[6].top + lines[7].top) / 2 + cells.CellHeight() / 2;
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(strip->width() / 4, globins));
    EXPECT_EQ(SelectedNames(), (std::vector<std::string>{"HBA_HUMAN", "HBB_HUMAN"}));
}

// Saved and copied pictures have the tree left of the names, beside every block, a leaf at each row.
TEST_F(TreeTest, PicturesOfTheViewHaveTheTreeBesideEveryBlock) {
    Open("globins4.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = true; });
    ASSERT_TRUE(window.LoadTree(WriteTree("((MYG_PHYCA,GLB5_PETMA),(HBA_HUMAN,HBB_HUMAN));")));
    const PictureRange all = PictureRange::OfAlignment(*view().Document());
    const SelectionPicture picture = view().PictureOf(all);
    const SelectionPicture plain(view().Renderer(), all, unsigned(view().Renderer().ResiduesPerBlock()));
    ASSERT_TRUE(picture.IsValid());
    const int treeWidth = view().TreeStrip().width();
    ASSERT_EQ(picture.TreeWidth(), treeWidth);
    EXPECT_EQ(picture.Size().width(), plain.Size().width() + treeWidth);
    const QImage image = picture.Paint();
    ASSERT_EQ(image.size(), picture.Size());
    using Line = RenderSequenceData::PicturePlan::Line;
    const int leafX = treeWidth - cells.CellWidth() - 1;  // without lengths every leaf reaches the right edge
    unsigned leaves = 0;
    std::set<unsigned> blocks;
    for (const Line& line : picture.Plan().lines) {
        if (line.kind != Line::Kind::Row) continue;
        const int middle = int(line.top) + cells.CellHeight() / 2;
        EXPECT_LT(qGray(image.pixel(leafX, middle)), 128)
            << "leaf of row " << line.row << " at y " << line.top;
        EXPECT_EQ(qGray(image.pixel(leafX, int(line.top) + 1)), 255);
        blocks.insert(line.first);
        ++leaves;
    }
    EXPECT_GE(blocks.size(), 2u);
    EXPECT_EQ(leaves, 4 * blocks.size());
    // Right of the tree, the picture is the one without it.
    EXPECT_EQ(image.copy(treeWidth, 0, plain.Size().width(), image.height()), plain.Paint());
}

TEST_F(TreeTest, SortingByTreeBuildsOneAndAnotherSortTakesTheTreeAway) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    view().SortRows(AlignmentView::RowSort::ByTree);
    ASSERT_TRUE(view().TreeShown());
    EXPECT_TRUE(view().TreeStrip().isVisible());
    SetOptions([](DisplayOptions& options) { options.wrap = true; });
    EXPECT_TRUE(view().TreeShown());
    EXPECT_TRUE(view().TreeStrip().isVisible());
    SetOptions([](DisplayOptions& options) { options.wrap = false; });
    EXPECT_TRUE(view().TreeShown());
    view().SortRows(AlignmentView::RowSort::ByName);
    EXPECT_FALSE(view().TreeShown());
    EXPECT_FALSE(view().TreeStrip().isVisible());
    // The tree is kept: sorting by it again brings it back without building another.
    view().SortRows(AlignmentView::RowSort::ByTree);
    EXPECT_TRUE(view().TreeShown());
}

}  // namespace
