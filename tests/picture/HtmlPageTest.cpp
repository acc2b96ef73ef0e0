// The HTML page's content as the library draws it: every residue cell a glyph of the picture's own pixels,
// the names column and strips cut from the picture, and text of the alignment kept out of the markup.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/HtmlPage.h"
#include "support/AlignmentBuilder.h"
#include "support/PicturePng.h"

namespace {

QImage Glyph(const HtmlPageContent& page, int index) {
    return page.glyphs.copy((index % HtmlPageContent::kGlyphsPerRow) * page.cellWidth,
                            (index / HtmlPageContent::kGlyphsPerRow) * page.cellHeight, page.cellWidth,
                            page.cellHeight);
}

int GlyphOfCell(const HtmlPageContent& page, int row, int column) {
    const int i = row * page.columns + column;
    if (page.bytesPerCell == 1) return std::uint8_t(page.cells[i]);
    return std::uint8_t(page.cells[2 * i]) | (std::uint8_t(page.cells[2 * i + 1]) << 8);
}

TEST(HtmlPageContent, EveryCellIsItsGlyphAndEqualCellsShareOne) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("first", "MKV-AWW")
        .Seq("second", "MKV-AWW")
        .Seq("third", "AKVLA--")
        .Structure("alpha", "HHEEC");
    PictureSettings settings;
    settings.colorScheme = QStringLiteral("zappo");
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const HtmlPageContent page = picture.PageContent();
    ASSERT_EQ(page.columns, 7);
    ASSERT_EQ(page.sequences.size(), 3u);
    ASSERT_EQ(page.cells.size(), 3 * 7 * page.bytesPerCell);
    const char* const rows[] = {"MKV-AWW", "MKV-AWW", "AKVLA--"};
    const QImage whole = testsupport::PicturePng(picture);
    const int residuesLeft = page.nameWidth + page.cellWidth;  // the picture keeps a cell after the names
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 7; ++column) {
            const int glyph = GlyphOfCell(page, row, column);
            ASSERT_LT(glyph, page.glyphResidues.size());
            EXPECT_EQ(page.glyphResidues[glyph], rows[row][column]) << row << ", " << column;
            const QImage cell = whole.copy(residuesLeft + column * page.cellWidth,
                                           int(page.sequences[row].top), page.cellWidth, page.cellHeight);
            EXPECT_EQ(Glyph(page, glyph), cell) << row << ", " << column;
        }
    // Equal rows share their glyphs; the W of a column and the next are one glyph; M and A are not.
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(GlyphOfCell(page, 0, column), GlyphOfCell(page, 1, column));
    EXPECT_EQ(GlyphOfCell(page, 0, 5), GlyphOfCell(page, 0, 6));
    EXPECT_NE(GlyphOfCell(page, 0, 0), GlyphOfCell(page, 2, 0));
    // The third row's structure line is a strip below its residues, as the picture draws it.
    const auto strip = std::find_if(page.strips.begin(), page.strips.end(), [&](const auto& s) {
        return s.top == page.sequences[2].top + page.cellHeight;
    });
    ASSERT_NE(strip, page.strips.end());
    ASSERT_EQ(strip->pieces.size(), 1u);
    EXPECT_EQ(strip->pieces[0], whole.copy(residuesLeft, int(strip->top), 7 * page.cellWidth, strip->height));
    ASSERT_EQ(page.namePieces.size(), 1u);
    EXPECT_EQ(page.namePieces[0].size(), QSize(page.nameWidth, int(page.height)));
}

// The tree, the numbers, the identities and the highlights with their labels are the picture's pixels: the
// tree in the names column, frames in the cells, labels in a strip of their own, the rest right of the cells.
TEST(HtmlPageContent, TreeAndFigureMarksAreCutFromThePicture) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("first", "MKV-AWWLK")
        .Seq("second", "MKI-AWWLR")
        .Seq("third", "AKVLA--LR")
        .Seq("fourth", "GGVLAE-LR");
    PictureSettings settings;
    settings.identity = true;
    settings.residueNumbers = true;
    settings.highlights =
        QStringList{QStringLiteral("columns:2-4:red:loop"), QStringLiteral("third:2-3:blue")};
    AlignmentPicture plain(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(plain.Prepare(), QString());
    settings.tree = QStringLiteral("upgma");
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const HtmlPageContent page = picture.PageContent();
    const QImage whole = testsupport::PicturePng(picture);
    const int cw = page.cellWidth;
    const int residuesLeft = page.nameWidth;  // with residue numbers the page keeps the picture's gutter
    const int residuesWidth = page.columns * cw;
    ASSERT_GE(whole.height(), page.height);  // and white below, for the last names' descenders
    EXPECT_EQ(residuesLeft + residuesWidth + page.rightWidth, whole.width());
    ASSERT_EQ(page.rightPieces.size(), 1u);
    EXPECT_EQ(page.rightPieces[0],
              whole.copy(residuesLeft + residuesWidth, 0, page.rightWidth, int(page.height)));
    const QImage firstRowRight =
        page.rightPieces[0].copy(0, int(page.sequences[0].top), page.rightWidth, page.cellHeight);
    QImage whiteRow(firstRowRight.size(), firstRowRight.format());
    whiteRow.fill(Qt::white);
    EXPECT_NE(firstRowRight, whiteRow) << "no number nor identity right of the first row";
    // The tree is what the names column gains over the same page without one.
    const int treeWidth = page.nameWidth - plain.PageContent().nameWidth;
    ASSERT_GT(treeWidth, 4 * cw);
    const QImage tree = page.namePieces[0].copy(0, 0, treeWidth, int(page.height));
    EXPECT_EQ(tree, whole.copy(0, 0, treeWidth, int(page.height)));
    QImage white(tree.size(), tree.format());
    white.fill(Qt::white);
    EXPECT_NE(tree, white) << "no tree drawn";
    // The label line between the ruler band and the rows is a strip of the picture's pixels.
    const std::int64_t rulerEnd = page.lines[0].top + page.lines[0].height;
    ASSERT_GT(page.sequences[0].top, rulerEnd);
    const auto label = std::find_if(page.strips.begin(), page.strips.end(),
                                    [&](const auto& s) { return s.top == rulerEnd; });
    ASSERT_NE(label, page.strips.end());
    EXPECT_EQ(label->height, page.sequences[0].top - rulerEnd);
    EXPECT_EQ(label->pieces.at(0), whole.copy(residuesLeft, int(rulerEnd), residuesWidth, label->height));
    // Framed cells are glyphs of their own, as the picture draws them.
    for (std::size_t row = 0; row < page.sequences.size(); ++row)
        for (int column = 0; column < page.columns; ++column)
            EXPECT_EQ(
                Glyph(page, GlyphOfCell(page, int(row), column)),
                whole.copy(residuesLeft + column * cw, int(page.sequences[row].top), cw, page.cellHeight))
                << row << ", " << column;
}

TEST(HtmlPageContent, LayoutsThePageDoesNotShowAreRefused) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "MKVLA").Seq("b", "MKV-A");
    testsupport::AlignmentBuilder single;
    single.Seq("a", "MKVLA");
    for (int variant = 0; variant < 2; ++variant) {
        PictureSettings settings;
        // Rows closed up share no columns; one sequence's columns are a picture without names.
        settings.includeGaps = variant != 0;
        if (variant == 1) settings.columns = QStringLiteral("2-3");
        AlignmentPicture picture((variant == 1 ? single : builder).Build().model, {settings, std::nullopt});
        ASSERT_EQ(picture.Prepare(), QString());
        EXPECT_NE(picture.CheckFormatLimits(OutputFormat::Html), QString()) << variant;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        EXPECT_NE(picture.EncodeHtml(buffer), QString()) << variant;
    }
}

// Wrapped, each row has a line in every block, showing the block's columns; its cells are the picture's.
TEST(HtmlPageContent, AWrappedPageHasALineForEachRowInEveryBlock) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "MKVLAWG").Seq("b", "MKV-A-G");
    PictureSettings settings;
    settings.wrap = true;
    settings.residuesPerLine = 3;
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    ASSERT_EQ(picture.CheckFormatLimits(OutputFormat::Html), QString());
    const HtmlPageContent page = picture.PageContent();
    ASSERT_EQ(page.columns, 7);
    EXPECT_EQ(page.lineColumns, 3);
    ASSERT_EQ(page.blocks.size(), 3u);
    ASSERT_EQ(page.rowLines.size(), 6u);
    ASSERT_EQ(page.sequences.size(), 2u);
    const int firstColumns[] = {0, 3, 6};
    const int ends[] = {3, 6, 7};
    const QImage whole = testsupport::PicturePng(picture);
    const int residuesLeft = page.nameWidth + page.cellWidth;
    const char* const rows[] = {"MKVLAWG", "MKV-A-G"};
    for (std::size_t i = 0; i < page.rowLines.size(); ++i) {
        const HtmlPageContent::RowLine& line = page.rowLines[i];
        const std::size_t block = i / 2;
        EXPECT_EQ(line.sequence, int(i % 2)) << i;
        EXPECT_EQ(line.first, firstColumns[block]) << i;
        EXPECT_EQ(line.end, ends[block]) << i;
        EXPECT_EQ(page.blocks[block].first, line.first);
        EXPECT_EQ(page.blocks[block].end, line.end);
        EXPECT_LT(page.blocks[block].top, line.top);  // the block's ruler band is above its rows
        for (int column = line.first; column < line.end; ++column) {
            const int glyph = GlyphOfCell(page, line.sequence, column);
            EXPECT_EQ(page.glyphResidues[glyph], rows[line.sequence][column]) << i << ", " << column;
            EXPECT_EQ(Glyph(page, glyph), whole.copy(residuesLeft + (column - line.first) * page.cellWidth,
                                                     int(line.top), page.cellWidth, page.cellHeight))
                << i << ", " << column;
        }
    }
    EXPECT_EQ(page.sequences[1].top, page.rowLines[1].top);  // a sequence's top is its first line's
    EXPECT_TRUE(page.columnNumbers.empty());                 // the ruler counts columns
}

// Chosen columns are the page's: their residues, the ruler's numbers of them, and where each run starts with
// the residues each sequence has before it, which its residue numbers count on from.
TEST(HtmlPageContent, ChosenColumnsAreThePagesColumnsWithTheirNumbers) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "MKVLAWG").Seq("b", "-KV-AWG");
    PictureSettings settings;
    settings.columns = QStringLiteral("2-3,6-7");
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    ASSERT_EQ(picture.CheckFormatLimits(OutputFormat::Html), QString());
    const HtmlPageContent page = picture.PageContent();
    ASSERT_EQ(page.columns, 4);
    EXPECT_EQ(page.columnNumbers, (std::vector<long long>{2, 3, 6, 7}));
    EXPECT_EQ(page.runStarts, (std::vector<int>{0, 2}));
    ASSERT_EQ(page.sequences.size(), 2u);
    EXPECT_EQ(page.sequences[0].residuesBefore, (std::vector<long long>{1, 5}));
    EXPECT_EQ(page.sequences[1].residuesBefore, (std::vector<long long>{0, 3}));
    const QImage whole = testsupport::PicturePng(picture);
    const int residuesLeft = page.nameWidth + page.cellWidth;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 4; ++column) {
            const int glyph = GlyphOfCell(page, row, column);
            EXPECT_EQ(page.glyphResidues[glyph], "KVWG"[column]) << row << ", " << column;
            EXPECT_EQ(Glyph(page, glyph),
                      whole.copy(residuesLeft + column * page.cellWidth, int(page.sequences[row].top),
                                 page.cellWidth, page.cellHeight))
                << row << ", " << column;
        }
}

// Blocks alike, the fixed columns hold one block's rows, which are the picture's beside every block: here the
// tree and the identities. With residue numbers, which differ from block to block, they hold every row.
TEST(HtmlPageContent, AWrappedPagesFixedColumnsAreOneBlockRepeated) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "MKVLAWGKK").Seq("b", "MKV-A-GRK").Seq("c", "AKVLAWGRR");
    PictureSettings settings;
    settings.wrap = true;
    settings.residuesPerLine = 3;
    settings.identity = true;
    settings.tree = QStringLiteral("upgma");
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const HtmlPageContent page = picture.PageContent();
    ASSERT_EQ(page.blocks.size(), 3u);
    const std::int64_t period = page.blocks[1].top;
    ASSERT_EQ(page.columnPeriod, period);
    ASSERT_EQ(page.namePieces.size(), 1u);
    ASSERT_EQ(page.rightPieces.size(), 1u);
    ASSERT_EQ(page.namePieces[0].height(), period);
    ASSERT_GT(page.rightWidth, 0);
    settings.tree.clear();
    AlignmentPicture plain(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(plain.Prepare(), QString());
    const int treeWidth = page.nameWidth - plain.PageContent().nameWidth;
    ASSERT_GT(treeWidth, 0);
    const QImage whole = testsupport::PicturePng(picture);
    const int right = page.nameWidth + page.cellWidth + page.lineColumns * page.cellWidth;
    for (std::size_t block = 0; block < 3; ++block) {
        const int top = int(page.blocks[block].top);
        EXPECT_EQ(page.namePieces[0].copy(0, 0, treeWidth, int(period)),
                  whole.copy(0, top, treeWidth, int(period)))
            << "tree beside block " << block;
        EXPECT_EQ(page.rightPieces[0], whole.copy(right, top, page.rightWidth, int(period)))
            << "identities beside block " << block;
    }
    settings.residueNumbers = true;
    AlignmentPicture numbered(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(numbered.Prepare(), QString());
    const HtmlPageContent numberedPage = numbered.PageContent();
    EXPECT_EQ(numberedPage.columnPeriod, 0);
    EXPECT_EQ(numberedPage.namePieces.at(0).height(), numberedPage.height);
}

// A ruler that numbers the reference's residues gives the page its numbers, none over the reference's gaps.
TEST(HtmlPageContent, ARulerByTheReferenceGivesThePageItsNumbers) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("other", "MKVLAWG").Seq("ref/10-14", "-KV-AWG");
    PictureSettings settings;
    settings.reference = QStringLiteral("ref/10-14");
    settings.rulerByReference = true;
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const long long none = RenderSequenceData::kNoRulerNumber;
    EXPECT_EQ(picture.PageContent().columnNumbers, (std::vector<long long>{none, 10, 11, none, 12, 13, 14}));
}

TEST(HtmlPage, TextOfTheAlignmentStaysDataInsideItsScriptElement) {
    testsupport::AlignmentBuilder builder;
    const std::string hostile = "</script><script>alert(1)</script>";
    builder.Seq(hostile, "MKVLA").Seq("<img src=x onerror=alert(2)>&amp;", "MKV-A");
    PictureSettings settings;
    settings.title = QStringLiteral("<b>title</b>");
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    QByteArray page;
    QBuffer buffer(&page);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_EQ(picture.EncodeHtml(buffer), QString());
    EXPECT_EQ(page.count("<script"), 3);  // the data, the cells' one block, the viewer
    EXPECT_EQ(page.count("</script>"), 3);
    EXPECT_FALSE(page.contains("<img")) << "markup of a name in the page";
    EXPECT_TRUE(page.contains("<title>&lt;b&gt;title&lt;/b&gt;</title>"));
    // The data reads back as the names given.
    const QByteArray open = "<script type=\"application/json\" id=\"msarender-data\">";
    const qsizetype start = page.indexOf(open) + open.size();
    const QJsonObject data =
        QJsonDocument::fromJson(page.mid(start, page.indexOf("</script>", start) - start)).object();
    const QJsonArray sequences = data.value("sequences").toArray();
    ASSERT_EQ(sequences.size(), 2);
    EXPECT_EQ(sequences[0].toObject().value("name").toString().toStdString(), hostile);
    EXPECT_EQ(sequences[1].toObject().value("name").toString(),
              QStringLiteral("<img src=x onerror=alert(2)>&amp;"));
}

QJsonObject DataOfPage(const QByteArray& page) {
    const QByteArray open = "<script type=\"application/json\" id=\"msarender-data\">";
    const qsizetype start = page.indexOf(open) + open.size();
    return QJsonDocument::fromJson(page.mid(start, page.indexOf("</script>", start) - start)).object();
}

// Pictures of few colours go in with a palette, others as they are: either way the pixels read back.
TEST(HtmlPage, PicturesReadBackPixelForPixel) {
    QImage shades(300, 40, QImage::Format_RGB32);  // 5 colours
    shades.fill(Qt::white);
    for (int x = 0; x < 300; ++x) shades.setPixel(x, x % 40, qRgb(x % 5 * 50, x % 5 * 50, x % 5 * 50));
    QImage gradient(256, 40, QImage::Format_RGB32);  // 256 x 40 colours
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 256; ++x) gradient.setPixel(x, y, qRgb(x, y * 6, 255 - x));
    HtmlPageContent content;
    content.namePieces = {shades, gradient};
    QByteArray page;
    QBuffer buffer(&page);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_EQ(EncodeHtmlPage(content, buffer), QString());
    const QJsonArray names = DataOfPage(page).value("names").toArray();
    ASSERT_EQ(names.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QImage read = QImage::fromData(QByteArray::fromBase64(names[i].toString().toLatin1()), "PNG");
        EXPECT_EQ(read.format() == QImage::Format_Indexed8, i == 0) << i;
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), content.namePieces[std::size_t(i)]) << i;
    }
}

// Cells beyond a block's worth of base64 go in several blocks, each whole groups of four characters, that
// decode one by one into the cells' zlib stream.
TEST(HtmlPage, CellsReadBackFromTheirBlocks) {
    HtmlPageContent content;
    content.cells.resize(3 << 20);
    std::uint32_t seed = 5;
    for (char& cell : content.cells)
        cell = char((seed = seed * 1664525u + 1013904223u) >> 24);  // incompressible
    QByteArray page;
    QBuffer buffer(&page);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_EQ(EncodeHtmlPage(content, buffer), QString());
    const QByteArray open = "<script type=\"application/octet-stream\" class=\"msarender-cells\">";
    QByteArray stream;
    int blocks = 0;
    for (qsizetype at = page.indexOf(open); at >= 0; at = page.indexOf(open, at)) {
        at += open.size();
        const QByteArray block = page.mid(at, page.indexOf("</script>", at) - at);
        ASSERT_EQ(block.size() % 4, 0) << "block " << blocks;
        const auto decoded = QByteArray::fromBase64Encoding(block, QByteArray::AbortOnBase64DecodingErrors);
        ASSERT_TRUE(decoded) << "block " << blocks;
        stream += *decoded;
        ++blocks;
    }
    EXPECT_GE(blocks, 4);  // 3 MB of bytes are 4 MB of base64
    QByteArray sized(4, '\0');
    qToBigEndian(quint32(content.cells.size()), sized.data());
    EXPECT_EQ(qUncompress(sized + stream), content.cells);
}

}  // namespace
