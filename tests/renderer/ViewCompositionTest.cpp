#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <cstdlib>

#include "msarender/FontFactory.h"
#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;
using Location = RenderSequenceData::RowLocation;

namespace {

class ViewCompositionTest : public ViewFixture {
protected:
    // Every residue cell of `row` in the block starting at `firstColumn`, drawn from line top `top`.
    void ExpectRowCells(const QImage& view, unsigned row, unsigned firstColumn, unsigned count,
                        unsigned length, int top) {
        for (unsigned i = 0; i < count; ++i) {
            const unsigned column = firstColumn + i;
            const QColor expected = column < length ? Background(LetterAt(row, column)) : QColor(Qt::white);
            EXPECT_EQ(CellColour(view, QPoint(cells.ColumnLeft(int(i)), top)), expected)
                << "row " << row << " column " << column;
        }
    }
    void ExpectLocation(int y, int kind, int row, unsigned first, unsigned end, bool ruler,
                        const std::string& key) {
        const auto& locations = renderer.RowLocations();
        const auto it = locations.find(y);
        ASSERT_NE(it, locations.end()) << "no entry at y " << y;
        EXPECT_EQ(it->second.kind, kind) << y;
        EXPECT_EQ(it->second.row, row) << y;
        EXPECT_EQ(it->second.firstColumn, first) << y;
        EXPECT_EQ(it->second.endColumn, end) << y;
        EXPECT_EQ(it->second.isRuler, ruler) << y;
        EXPECT_EQ(it->second.ssKey, key) << y;
    }
};

// GIVEN 3 rows of 25 columns, a view 10 cells wide and tall enough for all three blocks
TEST_F(ViewCompositionTest, WrappedViewStacksEveryBlockUnderItsRulerBand) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 16)));
    const QImage view = View();
    const unsigned blockLines = kRulerBandRows + 3;  // ruler band + 3 rows

    ASSERT_EQ(renderer.RowLocations().size(), 3u * 4u);
    for (unsigned block = 0; block < 3; ++block) {
        const int bandTop = cells.LineTop(block * blockLines);
        ExpectLocation(bandTop, Location::kBandOrResidueLine, -1, block * 10, block * 10 + 10, true, "");
        // The band's lower grid row has no entry.
        EXPECT_EQ(renderer.RowLocations().count(bandTop + cells.CellHeight()), 0u);
        const QPixmap* band = access.RulerBand(block);
        ASSERT_NE(band, nullptr);
        const QImage bandImage = band->toImage();
        const int x = cells.CellWidth() / 3;
        for (int y : {1, cells.CellHeight() / 2, cells.RulerBandHeight() - 1})
            EXPECT_EQ(view.pixel(x, bandTop + y), bandImage.pixel(x, y)) << "band " << block;
        for (unsigned row = 0; row < 3; ++row) {
            const int top = cells.LineTop(block * blockLines + kRulerBandRows + row);
            ExpectLocation(top, Location::kBandOrResidueLine, int(row), block * 10, block * 10 + 10, false,
                           "");
            ExpectRowCells(view, row, block * 10, 10, 25, top);
        }
    }
    EXPECT_EQ(renderer.GetSequenceViewSize().width(), cells.ColumnLeft(10));
    EXPECT_GE(renderer.GetSequenceViewSize().height(), cells.BlockTop(3, blockLines));
    EXPECT_EQ(view.height(), renderer.GetSequenceViewSize().height() + cells.CellHeight() / 2);
}

// GIVEN blocks of 10 columns in a view 20 cells wide: the last block's line holds 5 of the 25 columns
TEST_F(ViewCompositionTest, TheLastBlocksBandStopsAtTheLastColumn) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(20, 16, true, 10)));
    const QImage view = View();
    const int bandMiddle = cells.LineTop(2 * (kRulerBandRows + 3)) + cells.CellHeight();
    EXPECT_NE(QColor(view.pixel(cells.ColumnLeft(5) - 1, bandMiddle)), QColor(Qt::white));
    EXPECT_FALSE(HasInk(view, QRect(cells.ColumnLeft(5), bandMiddle, cells.ColumnLeft(15), 1)));
    // A whole block's band ends at its block, not five columns later.
    const int firstBandMiddle = cells.CellHeight();
    EXPECT_NE(QColor(view.pixel(cells.ColumnLeft(10) - 1, firstBandMiddle)), QColor(Qt::white));
    EXPECT_FALSE(HasInk(view, QRect(cells.ColumnLeft(10), firstBandMiddle, cells.ColumnLeft(10), 1)));
}

// GIVEN a view scrolled to the second row of the first block (grid row 3)
TEST_F(ViewCompositionTest, ScrolledWrappedViewStartsAtTheFirstVisibleRowWithoutItsBand) {
    BuiltAlignment alignment = LetterRows(3, 25);
    ASSERT_TRUE(RenderScrolled(alignment, AspectsOfCells(10, 9), cells.LineTop(3)));
    ASSERT_EQ(renderer.FirstRow(), 1);
    const QImage view = View();

    ExpectLocation(0, Location::kBandOrResidueLine, 1, 0, 10, false, "");
    ExpectRowCells(view, 1, 0, 10, 25, 0);
    ExpectLocation(cells.LineTop(1), Location::kBandOrResidueLine, 2, 0, 10, false, "");
    // The next block begins with its band.
    ExpectLocation(cells.LineTop(2), Location::kBandOrResidueLine, -1, 10, 20, true, "");
    ExpectLocation(cells.LineTop(4), Location::kBandOrResidueLine, 0, 10, 20, false, "");
    ExpectRowCells(view, 0, 10, 10, 25, cells.LineTop(4));
}

// GIVEN wrapping with the ruler switched off
TEST_F(ViewCompositionTest, HiddenRulerLeavesBlankBandsBetweenBlocksAndRecordsNoBands) {
    BuiltAlignment alignment = LetterRows(2, 25);
    auto aspects = AspectsOfCells(10, 16);
    aspects.showRuler = false;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const QImage view = View();

    for (const auto& entry : renderer.RowLocations()) EXPECT_FALSE(entry.second.isRuler);
    // The first block has no band at all.
    ExpectLocation(0, Location::kBandOrResidueLine, 0, 0, 10, false, "");
    ExpectLocation(cells.LineTop(1), Location::kBandOrResidueLine, 1, 0, 10, false, "");
    EXPECT_EQ(renderer.RowLocations().count(cells.LineTop(2)), 0u);
    EXPECT_EQ(CellColour(view, QPoint(0, cells.LineTop(2))), QColor(Qt::white));
    EXPECT_EQ(CellColour(view, QPoint(0, cells.LineTop(3))), QColor(Qt::white));
    ExpectLocation(cells.LineTop(4), Location::kBandOrResidueLine, 0, 10, 20, false, "");
    ExpectRowCells(view, 0, 10, 10, 25, cells.LineTop(4));
}

// GIVEN no wrapping and a view scrolled 3 columns to the right
TEST_F(ViewCompositionTest, UnwrappedViewShowsOneBlockFromTheFirstVisibleColumn) {
    BuiltAlignment alignment = LetterRows(4, 40);
    auto aspects = AspectsOfCells(12, 8, false);
    aspects.horizontalOffset = cells.ColumnLeft(3);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const QImage view = View();

    EXPECT_EQ(renderer.GetSequenceViewSize(), QSize(cells.ColumnLeft(13), cells.LineTop(8)));
    ExpectLocation(0, Location::kBandOrResidueLine, -1, 3, 15, true, "");
    for (unsigned row = 0; row < 4; ++row) {
        const int top = cells.LineTop(kRulerBandRows + row);
        ExpectLocation(top, Location::kBandOrResidueLine, int(row), 3, 15, false, "");
        ExpectRowCells(view, row, 3, 12, 40, top);
    }
    EXPECT_EQ(renderer.RowLocations().size(), 5u);
}

// GIVEN row 0 with keys beta and alpha, row 1 with none, row 2 with alpha
TEST_F(ViewCompositionTest, SecondaryStructureLinesFollowTheirRowInKeyOrderWithLabels) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    builder.Seq("first", "ACDEFGHIK").Structure("beta", "CSSSCCHHH").Structure("alpha", "HHHHCCCSS");
    builder.Seq("second", "KIHGFEDCA");
    builder.Seq("third", "AAAACCCCD").Structure("alpha", "CCHHHHSSC");
    BuiltAlignment alignment = builder.Build();
    auto aspects = AspectsOfCells(12, 12, false);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const QImage view = View();

    // Band 0-1, first 2, first(alpha) 3, first(beta) 4, second 5, third 6, third(alpha) 7.
    ExpectLocation(cells.LineTop(2), Location::kBandOrResidueLine, 0, 0, 12, false, "");
    ExpectLocation(cells.LineTop(3), Location::kSecondaryStructureLine, 0, 0, 12, false, "alpha");
    ExpectLocation(cells.LineTop(4), Location::kSecondaryStructureLine, 0, 0, 12, false, "beta");
    ExpectLocation(cells.LineTop(5), Location::kBandOrResidueLine, 1, 0, 12, false, "");
    ExpectLocation(cells.LineTop(6), Location::kBandOrResidueLine, 2, 0, 12, false, "");
    ExpectLocation(cells.LineTop(7), Location::kSecondaryStructureLine, 2, 0, 12, false, "alpha");
    const std::vector<std::pair<int, std::string>> cartoonLines = {{3, "alpha"}, {4, "beta"}};
    const int middle = cells.CellHeight() / 2;
    for (const auto& [line, key] : cartoonLines) {
        const QImage strip = access.CartoonStrip(key, 0, 0)->toImage();
        for (int x = 0; x < strip.width(); x += cells.CellWidth() / 2)
            ASSERT_EQ(view.pixel(x, cells.LineTop(line) + middle), strip.pixel(x, middle))
                << key << " x " << x;
    }

    // The name column is exactly these labels, each on the bottom edge of its grid row.
    QPixmap expected(renderer.GetNamePixmap()->size());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setFont(testsupport::MonoFont());
    const std::vector<std::pair<int, QString>> labels = {{2, " first"},       {3, " first(alpha)"},
                                                         {4, " first(beta)"}, {5, " second"},
                                                         {6, " third"},       {7, " third(alpha)"}};
    for (const auto& [line, text] : labels) painter.drawText(0, cells.Baseline(cells.LineTop(line)), text);
    painter.end();
    EXPECT_EQ(Names(), expected.toImage());
}

// GIVEN a selected (bold) row and a plain row
TEST_F(ViewCompositionTest, FullySelectedRowsGetBoldLabels) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("plain", "ACDEF").Seq("chosen", "ACDEF").Select(1, 0, 4);
    BuiltAlignment alignment = builder.Build();
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(8, 6, false)));

    QPixmap expected(renderer.GetNamePixmap()->size());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setFont(testsupport::MonoFont());
    painter.drawText(0, cells.Baseline(cells.LineTop(2)), " plain");
    painter.setFont(SQC::FontFactory(testsupport::MonoFont()).GetFont(SDM::Bold));
    painter.drawText(0, cells.Baseline(cells.LineTop(3)), " chosen");
    painter.end();
    EXPECT_EQ(Names(), expected.toImage());
}

class CurrentRowTest : public ViewCompositionTest {
protected:
    void SetUp() override {
        alignment = LetterRows(3, 30);
        aspects = AspectsOfCells(10, 8, false);
        ASSERT_TRUE(RenderWith(alignment, aspects));
    }
    void MakeCurrent(int row) {
        alignment.properties().SetIntProperty(SQC::UserProperties::CurrSeqIndex, row);
    }

    BuiltAlignment alignment;
    RenderSequenceData::RenderAspects aspects;
};

TEST_F(CurrentRowTest, CurrentRowIsUnderlinedInBlueAcrossTheNameRectangle) {
    MakeCurrent(1);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const QImage names = Names();
    const int underline = cells.LineTop(4);  // the bottom edge of the row's line, below its descenders
    ASSERT_GE(names.width(), aspects.nameRect.width());
    for (int x : {0, aspects.nameRect.width() / 2, aspects.nameRect.width() - 1})
        EXPECT_EQ(QColor(names.pixel(x, underline)), QColor(Qt::blue)) << x;
    for (int line : {2, 4})  // the other rows' bottom edges
        EXPECT_NE(QColor(names.pixel(aspects.nameRect.width() - 1, cells.LineTop(line + 1))),
                  QColor(Qt::blue));
}

TEST_F(CurrentRowTest, CurrentRowKeepsTheComposedViewEvenWhenTheViewRectangleChanges) {
    const QPixmap* before = renderer.GetAlignmentPixmap();
    const QImage content = before->toImage();
    const auto locations = renderer.RowLocations();

    MakeCurrent(0);
    aspects.viewRect = renderertest::ViewOfCells(10, 12);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(renderer.GetAlignmentPixmap(), before);
    EXPECT_EQ(View(), content);
    EXPECT_EQ(renderer.RowLocations().size(), locations.size());

    MakeCurrent(-1);
    ASSERT_TRUE(RenderWith(alignment, aspects));
    EXPECT_EQ(View().height(),
              cells.LineTop(12) + cells.CellHeight() / 2);  // released again: the new view rectangle applies
}

TEST_F(ViewCompositionTest, SavablePixmapIsNullBeforeTheFirstComposition) {
    EXPECT_TRUE(renderer.GetSavablePixmap().isNull());
    BuiltAlignment empty = AlignmentBuilder(SDM::AminoAcid).Build();
    EXPECT_FALSE(RenderWith(empty, AspectsOfCells(10, 8)));
    EXPECT_TRUE(renderer.GetSavablePixmap().isNull());
}

TEST_F(ViewCompositionTest, SavablePixmapPutsTheNamesBesideTheView) {
    BuiltAlignment alignment = LetterRows(3, 30);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 8, false)));
    const QImage saved = renderer.GetSavablePixmap().toImage();
    const QSize names = renderer.GetNameViewSize();
    const QSize sequences = renderer.GetSequenceViewSize();
    ASSERT_EQ(saved.size(), QSize(names.width() + sequences.width(), sequences.height()));
    EXPECT_EQ(names.width(), QFontMetrics(testsupport::MonoFont()).boundingRect(" seq0").width());

    const QImage view = View();
    for (unsigned row = 0; row < 3; ++row) {
        const QPoint cell(cells.ColumnLeft(4), cells.LineTop(kRulerBandRows + row));
        EXPECT_EQ(CellColour(saved, cell + QPoint(names.width(), 0)), CellColour(view, cell));
        EXPECT_EQ(CellColour(saved, cell + QPoint(names.width(), 0)), Background(LetterAt(row, 4)));
    }
    const QImage nameColumn = Names();
    EXPECT_EQ(saved.copy(0, 0, names.width(), sequences.height()),
              nameColumn.copy(0, 0, names.width(), sequences.height()));
}

// A real-looking alignment, for a person to look at: set MSARENDER_SAVE_VIEW to a directory.
TEST_F(ViewCompositionTest, RealisticAlignmentComposesEveryRowOfEveryBlock) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme());
    const std::string humanAlpha =
        "-VLSPADKTNVKAAWGKVGAHAGEYGAEALERMFLSFPTTKTYFPHF-DLSHGSAQVKGHGKKVADALTNAVAHVDDMPNALSALSDLHAH";
    std::string structure;  // one letter per residue: helices with coil and a sheet between them
    for (char c : humanAlpha)
        if (c != '-') structure += "CCHHHHHHHHHHCCSSSSSC"[structure.size() % 20];
    builder.Seq("sp|P69905|HBA_HUMAN", humanAlpha).Structure("dssp", structure);
    builder.Seq(
        "sp|P01942|HBA_MOUSE",
        "-VLSGEDKSNIKAAWGKIGGHGAEYGAEALERMFASFPTTKTYFPHF-DVSHGSAQVKGHGKKVADALASAAGHLDDLPGALSALSDLHAH");
    builder.Seq(
        "sp|P68871|HBB_HUMAN",
        "HLTPEEKSAVTALWGKV--NVDEVGGEALGRLLVVYPWTQRFFESFGDLSTPDAVMGNPKVKAHGKKVLGAFSDGLAHLDNLKGTFATLSELHCD");
    builder.Seq(
        "sp|P02088|HBB_MOUSE",
        "HLTDAEKAAVSCLWGKV--NSDEVGGEALGRLLVVYPWTQRYFDSFGDLSSASAIMGNAKVKAHGKKVITAFNDGLNHLDSLKGTFASLSELHCD");
    builder.Seq(
        "sp|P02185|MYG_PHYMC",
        "VLSEGEWQLVLHVWAKVEADVAGHGQDILIRLFKSHPETLEKFDRFKHLKTEAEMKASEDLKKHGVTVLTALGAILKKKGHHEAELKPLAQS");
    builder.Select(2, 10, 25);
    BuiltAlignment alignment = builder.Build();
    auto aspects = AspectsOfCells(40, 30);
    aspects.nameRect = QRect(0, 0, 180, cells.LineTop(30));
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));

    unsigned residueLines = 0;
    unsigned cartoonLines = 0;
    for (const auto& entry : renderer.RowLocations()) {
        residueLines += entry.second.kind == Location::kBandOrResidueLine && !entry.second.isRuler ? 1 : 0;
        cartoonLines += entry.second.kind == Location::kSecondaryStructureLine ? 1 : 0;
    }
    EXPECT_EQ(residueLines, 5u * access.BlockCount());
    EXPECT_EQ(cartoonLines, access.BlockCount());
    EXPECT_TRUE(HasInk(Names(), QRect(0, 0, Names().width(), cells.LineTop(3))));

    if (const char* directory = std::getenv("MSARENDER_SAVE_VIEW")) {
        EXPECT_TRUE(renderer.GetSavablePixmap().save(QDir(directory).filePath("msarender_view.png")));
    }
}

}  // namespace
