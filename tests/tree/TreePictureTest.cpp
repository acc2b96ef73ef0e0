// A picture beside its tree: rows in leaf order, the dendrogram's lines at the pixels its cells give in every
// block of a wrapped picture, and as one SVG path.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>

#include "msarender/picture/AlignmentPicture.h"
#include "support/AlignmentBuilder.h"

namespace {

// Depths: C and A 2, B 2, D 4 (the deepest); the inner nodes 1.
const char* const kTree = "[C and A, then B and D] ((C:1,A:1):1,(B:1,'D':3):1);";

boost::shared_ptr<SDM::Alignment> Family() {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("A", "VLSPADKTNVKAAWGKVGAHAGEYGAEALERMFLSFPTTKTYFPHF")
        .Seq("B", "VHLTPEEKSAVTALWGKVNVDEVGGEALGRLLVVYPWTQRFFESF")
        .Seq("C", "VLSEGEWQLVLHVWAKVEADVAGHGQDILIRLFKSHPETLEKFDRF")
        .Seq("D", "VLSEGEWQLVLHVWAKVEADVAGHGQDILIRLFKSHPETLEKFDRY");
    return builder.Build().model;
}

class TreePicture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile file(TreePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kTree);
    }
    QString TreePath() const { return dir.filePath("family.nwk"); }
    PictureSettings Settings() const {
        PictureSettings settings;
        settings.wrap = true;
        settings.residuesPerLine = 20;  // three blocks
        settings.tree = TreePath();
        return settings;
    }
    QByteArray Encoded(AlignmentPicture& picture, OutputFormat format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_EQ(picture.EncodePage(0, buffer, format), QString());
        return bytes;
    }
    QImage Raster(AlignmentPicture& picture) {
        QImage image;
        EXPECT_TRUE(image.loadFromData(Encoded(picture, OutputFormat::Png), "PNG"));
        return image;
    }

    const CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    const int treeWidth = cells.CellWidth() * 24;  // the drawn width; one more cell of white before the names
    QTemporaryDir dir;
};

// The x of a depth, and the y of the i-th row of block `block` (4 rows under a ruler band each).
int X(int width, double share) {
    return int(std::lround(share * width));
}
int RowY(const CellGeometry& cells, int block, int row) {
    return cells.LineTop(block * 6 + 2 + row) + cells.CellHeight() / 2;
}

}  // namespace

TEST_F(TreePicture, RowsFollowTheLeavesAndTheNamesMoveRightOfTheTree) {
    AlignmentPicture picture(Family(), {Settings(), std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    EXPECT_TRUE(picture.Warnings().isEmpty()) << picture.Warnings().join('\n').toStdString();
    PictureSettings without = Settings();
    without.tree.clear();
    without.sequences = "C,A,B,D";  // the name column is measured on the first of the longest names
    AlignmentPicture plain(Family(), {without, std::nullopt});
    ASSERT_EQ(plain.Prepare(), QString());
    EXPECT_EQ(picture.PageSize(0), plain.PageSize(0) + QSize(treeWidth + cells.CellWidth(), 0));
    const int nameX = treeWidth + cells.CellWidth() + 1;
    const std::vector<int> expected{2, 0, 1, 3};  // C, A, B, D
    for (int block = 0; block < 3; ++block)
        for (int row = 0; row < 4; ++row) {
            const auto cell = picture.CellAt(0, nameX, RowY(cells, block, row));
            ASSERT_TRUE(cell.has_value());
            EXPECT_EQ(cell->sequence, expected[std::size_t(row)]) << "block " << block << " row " << row;
            EXPECT_EQ(cell->column, -1);
        }
    EXPECT_FALSE(picture.CellAt(0, treeWidth / 2, RowY(cells, 0, 0)).has_value());  // over the tree
}

TEST_F(TreePicture, BranchesAreDrawnToScaleInEveryBlock) {
    AlignmentPicture picture(Family(), {Settings(), std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const QImage image = Raster(picture);
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    for (int block = 0; block < 3; ++block) {
        SCOPED_TRACE(block);
        const int c = RowY(cells, block, 0), a = RowY(cells, block, 1), b = RowY(cells, block, 2),
                  d = RowY(cells, block, 3);
        EXPECT_EQ(image.pixel(X(treeWidth, 0.375), c), black);  // C's branch, from depth 1 to 2
        EXPECT_EQ(image.pixel(X(treeWidth, 0.75), d), black);   // D's reaches the tree's right edge
        EXPECT_EQ(image.pixel(treeWidth, d), black);
        EXPECT_EQ(image.pixel(X(treeWidth, 0.75), b), white);               // B's stops at depth 2
        EXPECT_EQ(image.pixel(X(treeWidth, 0.25), (c + a) / 2), black);     // the node joining C and A
        EXPECT_EQ(image.pixel(0, ((c + a) / 2 + (b + d) / 2) / 2), black);  // the root
        EXPECT_EQ(image.pixel(X(treeWidth, 0.125), (c + a) / 2), black);    // the branch above C and A
        EXPECT_EQ(image.pixel(X(treeWidth, 0.125), c), white);
        EXPECT_EQ(image.pixel(treeWidth + 2, d), white);  // the gap before the names
    }
    // Above the first leaf: the ruler band has no tree.
    for (int x = 0; x <= treeWidth; ++x) ASSERT_EQ(image.pixel(x, cells.CellHeight()), white) << x;
}

TEST_F(TreePicture, ACladogramPutsEveryLeafAtTheRightEdge) {
    PictureSettings settings = Settings();
    settings.cladogram = true;
    AlignmentPicture picture(Family(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const QImage image = Raster(picture);
    EXPECT_EQ(image.pixel(treeWidth, RowY(cells, 1, 2)), qRgb(0, 0, 0));                 // B
    EXPECT_EQ(image.pixel(X(treeWidth, 0.25), RowY(cells, 1, 2)), qRgb(255, 255, 255));  // B starts at half
}

TEST_F(TreePicture, SvgDrawsTheTreeAsPaths) {
    AlignmentPicture picture(Family(), {Settings(), std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const QByteArray svg = Encoded(picture, OutputFormat::Svg);
    // D's branch of the second block, from its parent at depth 1 to the right edge.
    const QByteArray branch =
        QStringLiteral("M%1 %2L%3 %2").arg(X(treeWidth, 0.25)).arg(RowY(cells, 1, 3)).arg(treeWidth).toUtf8();
    EXPECT_TRUE(svg.contains(branch)) << branch.toStdString();
    EXPECT_TRUE(svg.contains("stroke=\"#000000\"")) << svg.left(2000).toStdString();
}

TEST_F(TreePicture, BadTreesAndMismatchesReachTheUser) {
    PictureSettings settings = Settings();
    settings.tree = dir.filePath("missing.nwk");
    AlignmentPicture missing(Family(), {settings, std::nullopt});
    EXPECT_TRUE(missing.Prepare().startsWith(settings.tree + ": cannot read the tree"));

    QFile file(TreePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("((C,A),(B,E));");
    file.close();
    AlignmentPicture partial(Family(), {Settings(), std::nullopt});
    ASSERT_EQ(partial.Prepare(), QString());
    ASSERT_EQ(partial.Warnings().size(), 1);
    EXPECT_EQ(
        partial.Warnings()[0],
        "the tree and the alignment differ: 1 sequence not in the tree, drawn below it: D; 1 leaf naming no "
        "sequence of the alignment, left out: E");
    const auto last = partial.CellAt(0, treeWidth + cells.CellWidth() + 1, RowY(cells, 0, 3));
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->sequence, 3);  // D, below the tree's rows
}

// Chosen columns leave the rows whole: they follow the leaves, and every block gets the tree beside them.
TEST_F(TreePicture, ChosenColumnsKeepTheRowsInTheTreesOrder) {
    PictureSettings settings = Settings();
    settings.columns = "3-12,30-44";  // 25 columns: two blocks of 20 and 5
    AlignmentPicture picture(Family(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const QImage image = Raster(picture);
    const int nameX = treeWidth + cells.CellWidth() + 1;
    const int residueLeft = image.width() - cells.ColumnLeft(20);
    const std::vector<int> expected{2, 0, 1, 3};  // C, A, B, D
    for (int block = 0; block < 2; ++block)
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE(testing::Message() << "block " << block << " row " << row);
            const auto name = picture.CellAt(0, nameX, RowY(cells, block, row));
            ASSERT_TRUE(name.has_value());
            EXPECT_EQ(name->sequence, expected[std::size_t(row)]);
            // The first cell of a block: columns 3 and 30 + 10 = 40 (1-based).
            const auto cell = picture.CellAt(0, residueLeft + 1, RowY(cells, block, row));
            ASSERT_TRUE(cell.has_value());
            EXPECT_EQ(cell->sequence, expected[std::size_t(row)]);
            EXPECT_EQ(cell->column, block == 0 ? 2 : 39);
        }
    for (int block = 0; block < 2; ++block) {
        EXPECT_EQ(image.pixel(X(treeWidth, 0.375), RowY(cells, block, 0)), qRgb(0, 0, 0)) << block;  // C's
        EXPECT_EQ(image.pixel(treeWidth, RowY(cells, block, 3)), qRgb(0, 0, 0)) << block;            // D's
    }
}

TEST_F(TreePicture, BuiltTreesPutTheClosestSequencesSideBySide) {
    for (const char* method : {"nj", "upgma"}) {
        PictureSettings settings = Settings();
        settings.tree = method;
        AlignmentPicture picture(Family(), {settings, std::nullopt});
        ASSERT_EQ(picture.Prepare(), QString());
        EXPECT_EQ(picture.Tree().Leaves().size(), 4u);
        // C and D differ in one residue: neighbours in the rows.
        std::vector<int> rows;
        for (int row = 0; row < 4; ++row)
            rows.push_back(
                picture.CellAt(0, treeWidth + cells.CellWidth() + 1, RowY(cells, 0, row))->sequence);
        const auto c = std::find(rows.begin(), rows.end(), 2) - rows.begin();
        const auto d = std::find(rows.begin(), rows.end(), 3) - rows.begin();
        EXPECT_EQ(std::abs(c - d), 1) << method;
    }
}
