#include <QFontMetrics>
#include <memory>

#include "msarender/AnnotationRowFactory.h"
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
        return !HasInk(image, cells.Cell(0, top).translated(x, 0).adjusted(1, 1, -1, -1));
    }
};

// GIVEN blocks of 10 columns and a list of 4 columns of one row
TEST_F(ImageExportTest, OneRowColumnListHasNoNameColumn) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const QImage picture = Export({}, {{1, {3, 4, 5, 6}}});

    const int line = cells.RulerBandHeight();
    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(4), cells.LineTop(3)));  // ruler band + one residue line
    EXPECT_TRUE(HasInk(picture, QRect(0, 0, cells.ColumnLeft(4), cells.RulerBandHeight())));
    ExpectCells(picture, 0, line, 1, {3, 4, 5, 6});
}

// GIVEN no wrapping and two rows with lists of 5 and 12 columns
TEST_F(ImageExportTest, ColumnListsOfFiveAndTwelveShareOneNameColumn) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12, false)));
    const std::vector<unsigned> five = {0, 1, 2, 3, 4};
    const std::vector<unsigned> twelve = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};
    const QImage picture = Export({}, {{0, five}, {2, twelve}});
    const int nameWidth = LabelWidth(" seq0");

    const int first = cells.RulerBandHeight();
    const int second = cells.LineTop(3);

    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(12) + nameWidth, cells.LineTop(4)));
    ExpectCells(picture, nameWidth, first, 0, five);
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth + cells.ColumnLeft(5), first));
    ExpectCells(picture, nameWidth, second, 2, twelve);
    EXPECT_TRUE(HasInk(picture, QRect(0, first, nameWidth, cells.CellHeight())));  // the names
    EXPECT_TRUE(HasInk(picture, QRect(0, second, nameWidth, cells.CellHeight())));
}

TEST_F(ImageExportTest, WholeSequencesKeepTheRequestedOrder) {
    BuiltAlignment alignment = LetterRows(8, 12);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12, false)));
    const QImage picture = Export({7, 2}, {});
    const int nameWidth = LabelWidth(" seq7");
    std::vector<unsigned> all(12);
    for (unsigned c = 0; c < 12; ++c) all[c] = c;

    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(12) + nameWidth, cells.LineTop(4)));
    ExpectCells(picture, nameWidth, cells.RulerBandHeight(), 7, all);  // sequence 7 above sequence 2
    ExpectCells(picture, nameWidth, cells.LineTop(3), 2, all);
}

// GIVEN blocks of 10 columns, a 25-column list (given backwards) and a 3-column list
TEST_F(ImageExportTest, LongColumnListWrapsIntoBlocksWithTheirRulerBands) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    std::vector<unsigned> backwards;
    for (unsigned c = 25; c-- > 0;) backwards.push_back(c);
    const QImage picture = Export({}, {{0, backwards}, {1, {5, 6, 7}}});
    const int nameWidth = LabelWidth(" seq0");
    const unsigned blockLines = kRulerBandRows + 2;  // band, two rows
    const int blockHeight = cells.LineTop(blockLines);
    const int band = cells.RulerBandHeight();

    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(10) + nameWidth, 3 * blockHeight));
    for (int block = 0; block < 3; ++block) {
        const int top = int(cells.BlockTop(block, blockLines));
        EXPECT_TRUE(HasInk(picture, QRect(nameWidth, top, cells.ColumnLeft(10), band))) << "band " << block;
        const auto first = backwards.begin() + block * 10;
        const std::vector<unsigned> shown(first, block == 2 ? backwards.end() : first + 10);
        ExpectCells(picture, nameWidth, top + band, 0, shown);
    }
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth + cells.ColumnLeft(5),
                            2 * blockHeight + band));  // positions end at 24
    const int secondLine = band + cells.CellHeight();
    ExpectCells(picture, nameWidth, secondLine, 1, {5, 6, 7});
    // The short list ended in block 0.
    EXPECT_TRUE(IsWhiteCell(picture, nameWidth, blockHeight + secondLine));

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

    const int line = cells.RulerBandHeight();
    const QImage closed = Export({}, {{0, {0, 1, 2}}}, false);
    EXPECT_EQ(CellColour(closed, QPoint(0, line)), Background('A'));
    EXPECT_EQ(CellColour(closed, QPoint(cells.ColumnLeft(1), line)), Background('C'));
    EXPECT_TRUE(IsWhiteCell(closed, cells.ColumnLeft(2), line));

    const QImage open = Export({}, {{0, {0, 1, 2}}}, true);
    EXPECT_EQ(CellColour(open, QPoint(cells.ColumnLeft(2), line)), Background('C'));

    const QImage whole = Export({0}, {}, false);
    const int nameWidth = LabelWidth(" gappy");
    for (const auto& [position, letter] :
         std::vector<std::pair<int, char>>{{0, 'A'}, {1, 'C'}, {2, 'D'}, {3, 'E'}})
        EXPECT_EQ(CellColour(whole, QPoint(nameWidth + cells.ColumnLeft(position), line)),
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
    const int line = cells.RulerBandHeight();
    EXPECT_EQ(CellColour(whole, QPoint(LabelWidth(" seq0") + cells.ColumnLeft(2), line)), Background(letter));

    const QImage chosen = Export({}, {{0, {2}}});
    EXPECT_EQ(CellColour(chosen, QPoint(0, line)), selected);
}

TEST_F(ImageExportTest, ColumnsPastTheAlignedSequenceAreLeftOut) {
    BuiltAlignment alignment = LetterRows(2, 8);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const QImage picture = Export({}, {{0, {0, 500, 8, 1}}});
    const int line = cells.RulerBandHeight();
    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(4), cells.LineTop(3)));
    ExpectCells(picture, 0, line, 0, {0, 1});
    EXPECT_TRUE(IsWhiteCell(picture, cells.ColumnLeft(2), line));
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
    const int nameWidth = LabelWidth(" first(alpha)");  // the structure line's label, as drawn
    // Band, first, its structure line, second.
    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(8) + nameWidth, cells.LineTop(5)));
    EXPECT_EQ(CellColour(picture, QPoint(nameWidth, cells.RulerBandHeight())), Background('A'));
    const QRect cartoon(nameWidth, cells.LineTop(3), cells.ColumnLeft(8), cells.CellHeight());
    EXPECT_TRUE(HasInk(picture, cartoon));
    EXPECT_TRUE(HasInk(picture, QRect(0, cartoon.top(), nameWidth, cells.CellHeight())));  // its label
    EXPECT_EQ(CellColour(picture, QPoint(nameWidth, cells.LineTop(4))), Background('K'));

    // Chosen columns keep their rows' structure lines, cut to those columns.
    const QImage chosen = Export({}, {{0, {0, 1, 6, 7}}, {1, {0, 1, 6, 7}}});
    ASSERT_EQ(chosen.height(), cells.LineTop(5));
    EXPECT_TRUE(HasInk(chosen, QRect(nameWidth, cells.LineTop(3), cells.ColumnLeft(4), cells.CellHeight())));
    EXPECT_EQ(CellColour(chosen, QPoint(nameWidth + cells.ColumnLeft(2), cells.LineTop(4))), Background('R'));
    // Without gaps the rows would close up under their cartoons: no structure lines then.
    EXPECT_EQ(Export({}, {{0, {0, 1}}, {1, {0, 1}}}, false).height(), cells.LineTop(4));
}

// An RNA's own structure is a line under it: each paired column in its helix's colour, loops left white;
// without gaps the line closes up with the residues, its brackets still paired.
TEST_F(ImageExportTest, AnRnaStructureLineStandsUnderItsSequenceWithItsPairsInTheirHelixColour) {
    AlignmentBuilder builder(SDM::NucleicAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("first", "ACG-UCGU").Structure("SS", "(((..)))").Seq("second", "ACGUACGU");
    BuiltAlignment alignment = builder.Build();
    auto aspects = AspectsOfCells(10, 12, false);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const QColor helix = QColor::fromRgb(AnnotationRowFactory::HelixColour(0));
    const int nameWidth = LabelWidth(" first(SS)");
    const auto lineColours = [&](const QImage& picture, unsigned columns) {
        std::string seen;
        for (unsigned column = 0; column < columns; ++column) {
            const QColor colour =
                CellColour(picture, QPoint(nameWidth + cells.ColumnLeft(int(column)), cells.LineTop(3)));
            seen += colour == helix ? 'h' : colour == QColor(Qt::white) ? '.' : '?';
        }
        return seen;
    };

    const QImage picture = Export({0, 1}, {});
    // Band, first, its structure line, second.
    ASSERT_EQ(picture.size(), QSize(cells.ColumnLeft(8) + nameWidth, cells.LineTop(5)));
    EXPECT_EQ(lineColours(picture, 8), "hhh..hhh");
    EXPECT_TRUE(HasInk(picture, QRect(0, cells.LineTop(3), nameWidth, cells.CellHeight())));  // its label
    EXPECT_EQ(CellColour(picture, QPoint(nameWidth, cells.LineTop(4))), Background('A'));

    const QImage closedUp = Export({0, 1}, {}, false);
    EXPECT_EQ(lineColours(closedUp, 7), "hhh.hhh");
}

TEST_F(ImageExportTest, PictureTooLargeToAllocateIsNull) {
    BuiltAlignment alignment = LetterRows(2, 5000);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(30, 12, false)));
    ASSERT_GT(cells.Width(5000), PixmapAllocation::kMaxSide);
    EXPECT_TRUE(Export({0, 1}, {}).isNull());

    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(60, 12)));  // wrapped, the same picture fits
    const QImage wrapped = Export({0, 1}, {});
    ASSERT_FALSE(wrapped.isNull());
    EXPECT_EQ(wrapped.height(), cells.BlockTop(access.BlockCount(), kRulerBandRows + 2));
}

TEST_F(ImageExportTest, NothingSelectedGivesNoPicture) {
    BuiltAlignment alignment = LetterRows(2, 8);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    EXPECT_EQ(renderer.CopyImageData({}, {}, false, true), nullptr);
    EXPECT_EQ(renderer.CopyImageData({9, 12}, {}, false, true), nullptr);  // no such sequences
}

}  // namespace
