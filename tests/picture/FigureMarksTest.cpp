// Marks of figures about sequences: each row's identity in a right-hand column, each line's first and last
// residue numbers, and frames around highlighted residues or columns with their labels above the block.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <tuple>

#include "msarender/picture/AlignmentPicture.h"
#include "support/AlignmentBuilder.h"

namespace {

using Text = FigureMarks::Text;

struct Drawing {
    QImage image;
    std::vector<Text> marks;
    std::vector<Text> labels;
    std::vector<FigureMarks::Box> boxes;
    int frameWidth = 0;
    QStringList warnings;
    QByteArray bytes;
};

Drawing Draw(boost::shared_ptr<SDM::Alignment> model, PictureSettings settings,
             OutputFormat format = OutputFormat::Png) {
    settings.showSecondaryStructure = false;
    AlignmentPicture picture(std::move(model), {settings, std::nullopt});
    EXPECT_EQ(picture.Prepare(), QString());
    Drawing drawing;
    QBuffer buffer(&drawing.bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(picture.EncodePage(0, buffer, format), QString());
    if (format == OutputFormat::Png) {
        EXPECT_TRUE(drawing.image.loadFromData(drawing.bytes, "PNG"));
        drawing.image = drawing.image.convertToFormat(QImage::Format_RGB32);
    }
    drawing.marks = picture.Marks().Marks();
    drawing.labels = picture.Marks().Labels();
    drawing.boxes = picture.Marks().Boxes();
    drawing.frameWidth = picture.Marks().FrameWidth();
    drawing.warnings = picture.Warnings();
    return drawing;
}

const CellGeometry& Cells() {
    static const CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    return cells;
}

int Advance(const QString& text) {
    return QFontMetrics(PictureSettings().Font()).horizontalAdvance(text);
}

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 160;
    return dark;
}

QRect TextArea(const Text& text) {
    return QRect(text.x, int(text.lineTop), text.width, Cells().CellHeight());
}

// Row 0 of a picture's block `block` of `rows` rows, below a ruler band.
std::int64_t RowTop(int block, int rows, int row, int extraLines = 0) {
    return Cells().Height(std::int64_t(block) * (kRulerBandRows + rows) + kRulerBandRows + row + extraLines);
}

// The reference has a gap in its last column, where "other" and "lone" have residues.
boost::shared_ptr<SDM::Alignment> Family() {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder
        .Seq("other", "MKILAWG")  // 4 of the 6 shared columns: M K L A
        .Seq("ref", "MKVLAY-")
        .Seq("third", "mKVLQY-")  // 5 of 6, the lower-case m included
        .Seq("lone", "------W");  // no column with a residue in both
    return builder.Build().model;
}

// Numbered from their names' ranges (c counts down), wrapped four columns a line in the tests.
boost::shared_ptr<SDM::Alignment> Numbered() {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a/11-18", "MK--VLAYGQ").Seq("b", "----MKVLAY").Seq("c/30-23", "MKVL--AYGQ");
    return builder.Build().model;
}

std::vector<QString> TextsOf(const std::vector<Text>& texts) {
    std::vector<QString> out;
    for (const Text& text : texts) out.push_back(text.text);
    return out;
}

TEST(FigureMarks, IdentityTextRoundsToAWholePercentButNeverClaimsAMatchItIsNot) {
    EXPECT_EQ(IdentityText(std::nullopt), "-");
    EXPECT_EQ(IdentityText(200.0 / 3), "67%");
    EXPECT_EQ(IdentityText(99.6), "99%");
    EXPECT_EQ(IdentityText(100), "100%");
    EXPECT_EQ(IdentityText(0), "0%");
}

TEST(FigureMarks, TheIdentityColumnCountsOnlyColumnsWhereBothHaveResidues) {
    PictureSettings plain;
    plain.reference = QStringLiteral("ref");
    PictureSettings withIdentity = plain;
    withIdentity.identity = true;
    const Drawing before = Draw(Family(), plain);
    const Drawing after = Draw(Family(), withIdentity);

    // The header over the column, then the rows: the reference first, then the file's order.
    EXPECT_EQ(TextsOf(after.marks), (std::vector<QString>{"%id", "100%", "67%", "83%", "-"}));
    const int width = std::max(Advance("100%"), Advance("%id"));
    const int columnX = before.image.width() + Cells().CellWidth();
    EXPECT_EQ(after.image.width(), columnX + width);
    EXPECT_EQ(after.image.height(), before.image.height());
    for (std::size_t row = 0; row < 4; ++row) {
        const Text& text = after.marks[row + 1];
        EXPECT_EQ(text.lineTop, RowTop(0, 4, int(row)));
        EXPECT_EQ(text.x, columnX);
        EXPECT_GT(DarkPixels(after.image, TextArea(text)), 0) << row;
    }
    // "-" is a short stroke in the middle of the line: nothing in its upper third.
    QRect dash = TextArea(after.marks[4]);
    dash.setHeight(Cells().CellHeight() / 3);
    EXPECT_EQ(DarkPixels(after.image, dash), 0);
    // Names and residues stay where they were.
    const QRect rows(0, 0, before.image.width(), before.image.height());
    EXPECT_EQ(after.image.copy(rows), before.image);
}

TEST(FigureMarks, WithoutAReferenceIdentityIsToTheConsensusOfTheRowsDrawn) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("x", "AAAA").Seq("y", "AAAC").Seq("z", "ACCC");  // consensus AAAC
    PictureSettings settings;
    settings.identity = true;
    settings.showRuler = false;
    EXPECT_EQ(TextsOf(Draw(builder.Build().model, settings).marks),
              (std::vector<QString>{"75%", "100%", "50%"}));
}

TEST(FigureMarks, ResidueNumbersCountEachLineFromTheNamesOwnRangeAndSkipLinesWithoutResidues) {
    PictureSettings plain;
    plain.wrap = true;
    plain.residuesPerLine = 4;
    PictureSettings numbered = plain;
    numbered.residueNumbers = true;
    const Drawing before = Draw(Numbered(), plain);
    const Drawing after = Draw(Numbered(), numbered);

    // (block, row, left, right); b has no residue in the first line.
    const std::vector<std::tuple<int, int, QString, QString>> expected = {
        {0, 0, "11", "12"}, {0, 2, "30", "27"}, {1, 0, "13", "16"}, {1, 1, "1", "4"},
        {1, 2, "26", "25"}, {2, 0, "17", "18"}, {2, 1, "5", "6"},   {2, 2, "24", "23"}};
    ASSERT_EQ(after.marks.size(), 2 * expected.size());
    const int cell = Cells().CellWidth();
    const int numberWidth = Advance("30");
    const int residuesBefore = before.image.width() - Cells().ColumnLeft(4);
    const int residuesAfter = residuesBefore + numberWidth + cell;
    EXPECT_EQ(after.image.width(), before.image.width() + 2 * (numberWidth + cell));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [block, row, left, right] = expected[i];
        const Text& first = after.marks[2 * i];
        const Text& last = after.marks[2 * i + 1];
        EXPECT_EQ(first.lineTop, RowTop(block, 3, row)) << i;
        EXPECT_EQ(last.lineTop, first.lineTop);
        EXPECT_EQ(first.text, left) << i;
        EXPECT_EQ(last.text, right) << i;
        EXPECT_TRUE(first.alignRight);
        EXPECT_EQ(first.x + first.width + cell, residuesAfter);  // a cell of white before the residues
        EXPECT_EQ(last.x, residuesAfter + Cells().ColumnLeft(4) + cell);
        EXPECT_GT(DarkPixels(after.image, TextArea(first)), 0) << i;
        EXPECT_GT(DarkPixels(after.image, TextArea(last)), 0) << i;
    }
    // b's first line has no numbers, and its residues moved right by the number column.
    const int top = int(RowTop(0, 3, 1));
    EXPECT_EQ(DarkPixels(after.image, QRect(residuesBefore, top, numberWidth, Cells().CellHeight())), 0);
    const QRect line(residuesAfter, int(RowTop(1, 3, 1)), Cells().ColumnLeft(4), Cells().CellHeight());
    EXPECT_EQ(after.image.copy(line), before.image.copy(line.translated(residuesBefore - residuesAfter, 0)));
}

TEST(FigureMarks, HighlightsReadResidueNumbersOfTheirSequenceAndColumnsOfTheAlignment) {
    const boost::shared_ptr<SDM::Alignment> model = Numbered();
    const HighlightList list = ResolveHighlights(
        *model, {"a/11-18:13-16", "a:13-16:#00ff00:site", "c:26-25", "columns:2-3:blue:a:b", "2:1"});
    ASSERT_EQ(list.error, QString());
    ASSERT_EQ(list.highlights.size(), 5u);
    const std::vector<std::pair<unsigned, unsigned>> columns = {{4, 7}, {4, 7}, {6, 7}, {1, 2}, {4, 4}};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(list.highlights[i].firstColumn, columns[i].first) << i;
        EXPECT_EQ(list.highlights[i].lastColumn, columns[i].second) << i;
    }
    EXPECT_EQ(list.highlights[1].colour, QColor(0, 255, 0));
    EXPECT_EQ(list.highlights[1].label, "site");
    EXPECT_EQ(list.highlights[3].label, "a:b");  // a label may hold colons
    EXPECT_FALSE(list.highlights[3].sequence);
    EXPECT_NE(list.highlights[0].colour, list.highlights[2].colour);  // defaults differ
    for (const auto& [spec, message] :
         {std::pair{"a", "needs NAME:START-END"}, std::pair{"columns:5-3", "ends before it starts"},
          std::pair{"zz:1-2", "zz"}, std::pair{"a:1-5", "a has residues 11-18"},
          std::pair{"c:31-30", "c has residues 30-23"}, std::pair{"columns:0-2", "columns 1-10"},
          std::pair{"columns:9-11", "columns 1-10"}, std::pair{"a:12:notacolour", "no colour"}}) {
        const HighlightList bad = ResolveHighlights(*model, {"columns:1-2", spec});
        EXPECT_TRUE(bad.error.startsWith("'" + QString::fromLatin1(spec) + "': ")) << bad.error.toStdString();
        EXPECT_TRUE(bad.error.contains(QLatin1String(message))) << bad.error.toStdString();
        EXPECT_TRUE(bad.highlights.empty());
    }
    EXPECT_EQ(CheckHighlightSyntax("a:1-2:red:x"), QString());
    EXPECT_FALSE(CheckHighlightSyntax("columns:").isEmpty());
}

// Names may hold colons: the longest name the alignment knows wins, and a quoted name is taken whole.
TEST(FigureMarks, HighlightsOfNamesWithColonsFindTheirSequence) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    // Residues of "sp|P1|X:1" stand at columns 2-9, of "sp|P1|X" at 0-7, of "x:5" at 0-9.
    builder.Seq("sp|P1|X:1", "--MKVLAYGQ").Seq("sp|P1|X", "MKVLAYGQ--").Seq("x:5", "MKVLAYGQRS");
    const boost::shared_ptr<SDM::Alignment> model = builder.Build().model;
    const HighlightList list = ResolveHighlights(
        *model, {"sp|P1|X:1:2-3:red:a:b", "sp|P1|X:2-3", "\"x:5\":7", "x:5:7:blue", "\"sp|P1|X\":1:green"});
    ASSERT_EQ(list.error, QString());
    ASSERT_EQ(list.highlights.size(), 5u);
    const std::vector<std::tuple<unsigned, unsigned, unsigned>> expected = {
        {0, 3, 4}, {1, 1, 2}, {2, 6, 6}, {2, 6, 6}, {1, 0, 0}};  // sequence, first and last column
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [sequence, first, last] = expected[i];
        EXPECT_EQ(list.highlights[i].sequence, model->getSequence(sequence)) << i;
        EXPECT_EQ(list.highlights[i].firstColumn, first) << i;
        EXPECT_EQ(list.highlights[i].lastColumn, last) << i;
    }
    EXPECT_EQ(list.highlights[0].colour, QColor(Qt::red));
    EXPECT_EQ(list.highlights[0].label, "a:b");
    EXPECT_EQ(list.highlights[3].colour, QColor(Qt::blue));
    EXPECT_EQ(list.highlights[4].colour, QColor("green"));
    // Only "x" before the range would be no sequence; a quote left open is a syntax error.
    EXPECT_TRUE(ResolveHighlights(*model, {"x:4"}).error.contains("no sequence named or numbered 'x'"));
    EXPECT_TRUE(CheckHighlightSyntax("\"x:5:7").contains("closing"));
    EXPECT_EQ(CheckHighlightSyntax("sp|P1|X:1:2-3:red"), QString());
    EXPECT_TRUE(CheckHighlightSyntax("x:5:y").contains("no colour"));
    // A sequence may even be called "columns" when quoted.
    EXPECT_TRUE(ResolveHighlights(*model, {"\"columns\":1"}).error.contains("'columns'"));
}

bool IsColour(QRgb pixel, QColor colour) {
    return pixel == colour.rgb();
}

TEST(FigureMarks, AFrameSurroundsTheHighlightedResiduesAndItsLabelStandsAboveTheirBlock) {
    PictureSettings plain;
    plain.wrap = true;
    plain.residuesPerLine = 4;
    PictureSettings framed = plain;
    framed.highlights = QStringList{"a:13-16:#00ff00:site"};
    const Drawing before = Draw(Numbered(), plain);
    const Drawing after = Draw(Numbered(), framed);
    const int cellHeight = Cells().CellHeight();
    EXPECT_EQ(after.image.height(), before.image.height() + cellHeight);  // one label line

    // The second block's rows move down by the label line; a's four residues there are framed.
    const int left = before.image.width() - Cells().ColumnLeft(4);
    const int top = int(RowTop(1, 3, 0, 1));
    ASSERT_EQ(after.boxes.size(), 1u);
    EXPECT_EQ(after.boxes[0].lineTop, top);
    EXPECT_EQ(after.boxes[0].rect, QRect(left, 0, Cells().ColumnLeft(4), cellHeight));
    const QColor green(0, 255, 0);
    const int middle = top + cellHeight / 2;
    const int right = left + Cells().ColumnLeft(4) - 1;
    EXPECT_TRUE(IsColour(after.image.pixel(left, middle), green));
    EXPECT_TRUE(IsColour(after.image.pixel(right, middle), green));
    EXPECT_TRUE(IsColour(after.image.pixel(left + Cells().CellWidth() * 2, top), green));
    EXPECT_TRUE(IsColour(after.image.pixel(left + Cells().CellWidth() * 2, top + cellHeight - 1), green));
    EXPECT_FALSE(IsColour(after.image.pixel(left + after.frameWidth, middle), green));
    EXPECT_FALSE(IsColour(after.image.pixel(left - 1, middle), green));
    // Inside the frame the residues are as before; the next row is only moved down.
    const QRect inner(left + after.frameWidth, top + after.frameWidth,
                      Cells().ColumnLeft(4) - 2 * after.frameWidth, cellHeight - 2 * after.frameWidth);
    EXPECT_EQ(after.image.copy(inner), before.image.copy(inner.translated(0, -cellHeight)));
    const QRect next(left, top + cellHeight, Cells().ColumnLeft(4), cellHeight);
    EXPECT_EQ(after.image.copy(next), before.image.copy(next.translated(0, -cellHeight)));

    // The label in the frame's colour on the line just above the block's rows.
    ASSERT_EQ(after.labels.size(), 1u);
    EXPECT_EQ(after.labels[0].lineTop, top - cellHeight);
    EXPECT_EQ(after.labels[0].x, left);
    int greenish = 0;
    for (int y = top - cellHeight; y < top; ++y)
        for (int x = left; x < left + Advance("site"); ++x) {
            const QColor pixel(after.image.pixel(x, y));
            greenish += pixel.green() > pixel.red() + 40 && pixel.green() > pixel.blue() + 40;
        }
    EXPECT_GT(greenish, 0);
    // Above the first block nothing was added.
    const QRect firstBlock(0, 0, before.image.width(), int(RowTop(1, 3, 0)) - Cells().RulerBandHeight());
    EXPECT_EQ(after.image.copy(firstBlock), before.image.copy(firstBlock));
}

TEST(FigureMarks, AColumnFrameRunsDownTheBlocksRowsWithEdgesAcrossOnlyAtItsEnds) {
    PictureSettings settings;
    settings.highlights = QStringList{"columns:2-3:#0000ff"};
    const Drawing drawing = Draw(Numbered(), settings);
    const QColor blue(0, 0, 255);
    ASSERT_EQ(drawing.boxes.size(), 3u);
    const int left = drawing.image.width() - Cells().ColumnLeft(10) + Cells().ColumnLeft(1);
    const int inside = left + Cells().CellWidth();
    for (int row = 0; row < 3; ++row) {
        const int top = int(RowTop(0, 3, row));
        EXPECT_TRUE(IsColour(drawing.image.pixel(left, top + 1), blue)) << row;
        EXPECT_TRUE(IsColour(drawing.image.pixel(left + Cells().ColumnLeft(2) - 1, top + 1), blue)) << row;
        EXPECT_EQ(IsColour(drawing.image.pixel(inside, top), blue), row == 0) << row;
        EXPECT_EQ(IsColour(drawing.image.pixel(inside, top + Cells().CellHeight() - 1), blue), row == 2)
            << row;
    }
    EXPECT_TRUE(drawing.labels.empty());
}

TEST(FigureMarks, AColumnFrameTakesInTheStructureLinesOfItsRowsAndAResidueFrameDoesNot) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("s", "MKVL").Structure("alpha", "HHHH").Seq("t", "MKVL");
    PictureSettings settings;
    settings.highlights = QStringList{"columns:2-3", "s:1-2"};
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const std::vector<FigureMarks::Box>& boxes = picture.Marks().Boxes();
    ASSERT_EQ(boxes.size(), 3u);  // s's column part, s's residues, t's column part
    EXPECT_EQ(boxes[0].rect.height(), 2 * Cells().CellHeight());
    EXPECT_EQ(boxes[1].rect.height(), Cells().CellHeight());
    EXPECT_EQ(boxes[2].lineTop, boxes[0].lineTop + 2 * Cells().CellHeight());
}

TEST(FigureMarks, VectorPagesDrawTheFrameAsRectanglesAndTheLabelAsText) {
    PictureSettings settings;
    settings.highlights = QStringList{"b:2-3:#00ff00:<site>"};
    settings.residueNumbers = true;
    const Drawing svg = Draw(Numbered(), settings, OutputFormat::Svg);
    const QString text = QString::fromUtf8(svg.bytes);
    ASSERT_EQ(svg.boxes.size(), 1u);
    const QRect rect = svg.boxes[0].rect;
    EXPECT_TRUE(
        text.contains(QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"#00ff00\"")
                          .arg(rect.left())
                          .arg(svg.boxes[0].lineTop)
                          .arg(svg.frameWidth)
                          .arg(rect.height())))
        << text.toStdString();
    EXPECT_TRUE(text.contains("&lt;site&gt;"));  // the label is text, never markup
    EXPECT_FALSE(text.contains("<site>"));
    const Drawing pdf = Draw(Numbered(), settings, OutputFormat::Pdf);
    EXPECT_TRUE(pdf.bytes.startsWith("%PDF"));
}

TEST(FigureMarks, HighlightsThatCannotBeDrawnAreNamedAndBadOnesStopThePicture) {
    PictureSettings closed;
    closed.includeGaps = false;
    closed.highlights = QStringList{"a:13-14"};
    EXPECT_TRUE(Draw(Numbered(), closed).warnings.join('\n').contains("--highlight needs the gaps shown"));
    PictureSettings hidden;
    hidden.hide = QStringLiteral("b");
    hidden.highlights = QStringList{"b:1-2::mark"};
    const Drawing drawing = Draw(Numbered(), hidden);
    EXPECT_TRUE(drawing.warnings.join('\n').contains("--highlight 'mark' frames nothing drawn"));
    EXPECT_TRUE(drawing.boxes.empty());
    PictureSettings bad;
    bad.highlights = QStringList{"a:1-3"};
    AlignmentPicture picture(Numbered(), {bad, std::nullopt});
    EXPECT_EQ(picture.Prepare(), "--highlight 'a:1-3': a has residues 11-18");
}

}  // namespace
