#include <QFontMetrics>
#include <memory>

#include "renderer/PixmapAllocation.h"
#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;

namespace {

using ColumnLists = std::map<unsigned, std::vector<unsigned>>;

class ImageExportTest : public ViewFixture {
protected:
    QImage Export(std::vector<unsigned> sequences, ColumnLists columns, bool includeGaps = true) {
        const std::unique_ptr<QPixmap> picture(
            renderer.CopyImageData(sequences, columns, false, includeGaps));
        return picture ? picture->toImage() : QImage();
    }
    int LabelWidth(const std::string& label) const {
        return QFontMetrics(testsupport::MonoFont()).boundingRect(QString::fromStdString(label)).width();
    }
    // `count` cells of one line from x, showing the given letters of `row` (LetterRows) in order.
    void ExpectCells(const QImage& image, int x, int top, unsigned row,
                     const std::vector<unsigned>& columns) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            EXPECT_EQ(CellColour(image, QPoint(x + cells.ColumnLeft(int(i)), top)),
                      Background(LetterAt(row, columns[i])))
                << "row " << row << " position " << i;
    }
    // Inset by a pixel: a name's last letter may touch the first residue cell.
    bool IsWhiteCell(const QImage& image, int x, int top) const {
        return !HasInk(image, QRect(x + 1, top + 1, W - 2, H - 2));
    }
};

// GIVEN blocks of 10 columns and a list of 4 columns of one row
TEST_F(ImageExportTest, OneRowColumnListHasNoNameColumn) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const QImage picture = Export({}, {{1, {3, 4, 5, 6}}});

    ASSERT_EQ(picture.size(), QSize(4 * W, 3 * H));  // ruler band + one residue line
    EXPECT_TRUE(HasInk(picture, QRect(0, 0, 4 * W, 2 * H)));
    ExpectCells(picture, 0, 2 * H, 1, {3, 4, 5, 6});
}

// GIVEN no wrapping and two rows with lists of 5 and 12 columns
TEST_F(ImageExportTest, ColumnListsOfFiveAndTwelveShareOneNameColumn) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12, false)));
    const std::vector<unsigned> five = {0, 1, 2, 3, 4};
    const std::vector<unsigned> twelve = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    const QImage picture = Export({}, {{0, five}, {2, twelve}});
    const int nameWidth = LabelWidth(" seq0");

    ASSERT_EQ(picture.size(), QSize(12 * W + nameWidth, 4 * H));
    ExpectCells(picture, nameWidth, 2 * H, 0, five);
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth + cells.ColumnLeft(5), 2 * H));
    ExpectCells(picture, nameWidth, 3 * H, 2, twelve);
    EXPECT_TRUE(HasInk(picture, QRect(0, 2 * H, nameWidth, H)));  // the names
    EXPECT_TRUE(HasInk(picture, QRect(0, 3 * H, nameWidth, H)));
}

TEST_F(ImageExportTest, WholeSequencesKeepTheRequestedOrder) {
    BuiltAlignment alignment = LetterRows(8, 12);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12, false)));
    const QImage picture = Export({7, 2}, {});
    const int nameWidth = LabelWidth(" seq7");
    std::vector<unsigned> all(12);
    for (unsigned c = 0; c < 12; ++c) all[c] = c;

    ASSERT_EQ(picture.size(), QSize(12 * W + nameWidth, 4 * H));
    ExpectCells(picture, nameWidth, 2 * H, 7, all);  // sequence 7 above sequence 2
    ExpectCells(picture, nameWidth, 3 * H, 2, all);
}

// GIVEN blocks of 10 columns, a 25-column list (given backwards) and a 3-column list
TEST_F(ImageExportTest, LongColumnListWrapsIntoBlocksWithTheirRulerBands) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    std::vector<unsigned> backwards;
    for (unsigned c = 25; c-- > 0;) backwards.push_back(c);
    const QImage picture = Export({}, {{0, backwards}, {1, {5, 6, 7}}});
    const int nameWidth = LabelWidth(" seq0");
    const int blockHeight = 4 * H;  // band, two rows

    ASSERT_EQ(picture.size(), QSize(10 * W + nameWidth, 3 * blockHeight));
    for (int block = 0; block < 3; ++block) {
        const int top = block * blockHeight;
        EXPECT_TRUE(HasInk(picture, QRect(nameWidth, top, 10 * W, 2 * H))) << "band " << block;
        const auto first = backwards.begin() + block * 10;
        const std::vector<unsigned> shown(first, block == 2 ? backwards.end() : first + 10);
        ExpectCells(picture, nameWidth, top + 2 * H, 0, shown);
    }
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth + cells.ColumnLeft(5),
                            2 * blockHeight + 2 * H));  // positions end at 24
    ExpectCells(picture, nameWidth, 3 * H, 1, {5, 6, 7});
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth, blockHeight + 3 * H));  // the short list ended in block 0

    std::vector<unsigned> twenty(backwards.begin(), backwards.begin() + 20);
    EXPECT_EQ(Export({}, {{0, twenty}, {1, {5}}}).height(), 2 * blockHeight);
}

// GIVEN a row A-C-DE
TEST_F(ImageExportTest, LeftOutGapsCloseUpTheResidues) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("gappy", "A-C-DE").Seq("full", "FGHIKL");
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));

    const QImage closed = Export({}, {{0, {0, 1, 2}}}, false);
    EXPECT_EQ(CellColour(closed, QPoint(0, 2 * H)), Background('A'));
    EXPECT_EQ(CellColour(closed, QPoint(W, 2 * H)), Background('C'));
    EXPECT_TRUE(IsWhiteCell(closed, 2 * W, 2 * H));

    const QImage open = Export({}, {{0, {0, 1, 2}}}, true);
    EXPECT_EQ(CellColour(open, QPoint(2 * W, 2 * H)), Background('C'));

    const QImage whole = Export({0}, {}, false);
    const int nameWidth = LabelWidth(" gappy");
    for (const auto& [position, letter] :
         std::vector<std::pair<int, char>>{{0, 'A'}, {1, 'C'}, {2, 'D'}, {3, 'E'}})
        EXPECT_EQ(CellColour(whole, QPoint(nameWidth + cells.ColumnLeft(position), 2 * H)),
                  Background(letter));
}

// GIVEN columns 1-3 of seq0 selected: a picture of whole sequences is the alignment itself, a picture of
// chosen columns shows what the user chose as the view shows it
TEST_F(ImageExportTest, OnlyColumnListPicturesShowTheSelection) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("seq0", renderertest::Letters(6)).Seq("seq1", renderertest::Letters(6, 1)).Select(0, 1, 3);
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const char letter = LetterAt(0, 2);
    const QColor selected = SQC::ToQColor(SDM::SelectedBackground(LetterScheme::Background(letter)));

    const QImage whole = Export({0, 1}, {});
    EXPECT_EQ(CellColour(whole, QPoint(LabelWidth(" seq0") + cells.ColumnLeft(2), 2 * H)),
              Background(letter));

    const QImage chosen = Export({}, {{0, {2}}});
    EXPECT_EQ(CellColour(chosen, QPoint(0, 2 * H)), selected);
}

TEST_F(ImageExportTest, ColumnsPastTheAlignedSequenceAreLeftOut) {
    BuiltAlignment alignment = LetterRows(2, 8);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const QImage picture = Export({}, {{0, {0, 500, 8, 1}}});
    ASSERT_EQ(picture.size(), QSize(4 * W, 3 * H));
    ExpectCells(picture, 0, 2 * H, 0, {0, 1});
    EXPECT_TRUE(IsWhiteCell(picture, 2 * W, 2 * H));
}

TEST_F(ImageExportTest, StructureLinesFollowTheirRowInWholeSequenceExports) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("first", "ACDEFGHI").Structure("alpha", "HHHHCCSS").Seq("second", "KLMNPQRS");
    BuiltAlignment alignment = builder.Build();
    auto aspects = AspectsOfCells(10, 12, false);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));

    const QImage picture = Export({0, 1}, {});
    const int nameWidth = LabelWidth(" first(alpha)");
    ASSERT_EQ(picture.size(), QSize(8 * W + nameWidth, 5 * H));  // band, first, its line, second
    EXPECT_EQ(CellColour(picture, QPoint(nameWidth, 2 * H)), Background('A'));
    EXPECT_TRUE(HasInk(picture, QRect(nameWidth, 3 * H, 8 * W, H)));  // the cartoon
    EXPECT_TRUE(HasInk(picture, QRect(0, 3 * H, nameWidth, H)));      // its label
    EXPECT_EQ(CellColour(picture, QPoint(nameWidth, 4 * H)), Background('K'));

    // Column lists never carry structure lines.
    EXPECT_EQ(Export({}, {{0, {0, 1}}, {1, {0, 1}}}).height(), 4 * H);
}

TEST_F(ImageExportTest, PictureTooLargeToAllocateIsNull) {
    BuiltAlignment alignment = LetterRows(2, 5000);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(30, 12, false)));
    ASSERT_GT(5000 * W, PixmapAllocation::kMaxSide);
    EXPECT_TRUE(Export({0, 1}, {}).isNull());

    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(60, 12)));  // wrapped, the same picture fits
    const QImage wrapped = Export({0, 1}, {});
    ASSERT_FALSE(wrapped.isNull());
    EXPECT_EQ(wrapped.height(), 4 * H * int(access.BlockCount()));
}

TEST_F(ImageExportTest, NothingSelectedGivesNoPicture) {
    BuiltAlignment alignment = LetterRows(2, 8);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    EXPECT_EQ(renderer.CopyImageData({}, {}, false, true), nullptr);
    EXPECT_EQ(renderer.CopyImageData({9, 12}, {}, false, true), nullptr);  // no such sequences
}

}  // namespace
