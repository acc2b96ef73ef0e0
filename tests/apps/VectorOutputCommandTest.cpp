// SVG, PDF and EPS from the msarender command, read back by the tools a reader of the figure uses: an XML
// parser, Poppler, librsvg and Ghostscript. A test whose tool is missing says so and skips.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <cmath>
#include <vector>

#include "MsarenderRun.h"

namespace {

using MsarenderCommand = MsarenderRun;

const QStringList kGlobinNames = {"HBB_HUMAN", "HBA_HUMAN", "MYG_PHYCA", "GLB5_PETMA"};
const int kGlobinColumns = 171;
// The program measures its pictures at the resolution of its images, as these do.
int Dpi() {
    return QImage(1, 1, QImage::Format_RGB32).logicalDpiX();
}
double PointsPerPixel() {
    return 72.0 / Dpi();
}

#define REQUIRE_TOOL(name)                                              \
    if (QStandardPaths::findExecutable(QStringLiteral(name)).isEmpty()) \
    GTEST_SKIP() << name << " is not installed; scripts/setup.sh installs it"

struct SvgRect {
    QRect rect;
    QColor fill;
};
struct SvgText {
    QString text;
    QPointF at;
};

// What an SVG holds: filled rectangles and texts, placed by their groups' translations.
struct SvgContent {
    std::vector<SvgRect> rects;
    std::vector<SvgText> texts;
    QString error;
};

QPointF Translation(const QString& transform) {
    static const QRegularExpression matrix(QStringLiteral("matrix\\(1,0,0,1,([-\\d.]+),([-\\d.]+)\\)"));
    const QRegularExpressionMatch m = matrix.match(transform);
    return m.hasMatch() ? QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QPointF();
}

SvgContent ReadSvg(const QString& path) {
    SvgContent content;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {{}, {}, QStringLiteral("cannot open")};
    QXmlStreamReader xml(&file);
    struct Group {
        QString fill;
        QPointF offset;
    };
    std::vector<Group> groups{{QString(), QPointF()}};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) groups.pop_back();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            Group group = groups.back();
            if (a.hasAttribute("fill")) group.fill = a.value("fill").toString();
            if (a.hasAttribute("transform")) group.offset = Translation(a.value("transform").toString());
            groups.push_back(group);
        } else if (xml.name() == QLatin1String("rect")) {
            const QPointF at =
                groups.back().offset + QPointF(a.value("x").toDouble(), a.value("y").toDouble());
            const QSizeF size(a.value("width").toDouble(), a.value("height").toDouble());
            const QString fill = a.hasAttribute("fill") ? a.value("fill").toString() : groups.back().fill;
            content.rects.push_back({QRectF(at, size).toRect(), QColor(fill)});
        } else if (xml.name() == QLatin1String("text")) {
            const QPointF at =
                groups.back().offset + QPointF(a.value("x").toDouble(), a.value("y").toDouble());
            content.texts.push_back({xml.readElementText().trimmed(), at});
        }
    }
    if (xml.hasError()) content.error = xml.errorString();
    return content;
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Rows of the letters C, D, L and Q, which leave their cells' centres to the background (each in its own
// colour of the Clustal scheme): cells can be compared at their centres.
QByteArray HollowLetters(int rows, int columns) {
    QByteArray text;
    for (int r = 0; r < rows; ++r) {
        text += ">hollow" + QByteArray::number(r) + "\n";
        for (int c = 0; c < columns; ++c) text += "CDLQ"[(r + c) % 4];
        text += "\n";
    }
    return text;
}

class VectorOutputCommand : public MsarenderCommand {
protected:
    // `input` unwrapped as `name`.png and as `name`.<type>; the PNG.
    QImage WritePair(const QString& input, const QString& name, const QString& type) {
        for (const QString& suffix : {QStringLiteral("png"), type}) {
            const RunResult run = Run({input, "-o", Path(name + "." + suffix)});
            EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        }
        return QImage(Path(name + ".png")).convertToFormat(QImage::Format_RGB32);
    }
    QImage WriteGlobins(const QString& type) { return WritePair(Data("globins4.sto"), "globins", type); }
    // The fraction of the residue cells of an unwrapped picture of `rows` x `columns` whose colour at
    // `probe` (from the cell's top-left corner) is the same in both pictures.
    double SameCells(const QImage& png, const QImage& other, int rows, int columns, QPoint probe) const {
        const int nameWidth = png.width() - cells.ColumnLeft(columns);
        int same = 0;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column) {
                const QPoint at =
                    QPoint(nameWidth + cells.ColumnLeft(column), cells.LineTop(int(kRulerBandRows) + row)) +
                    probe;
                if (other.rect().contains(at) && Near(png.pixel(at), other.pixel(at), 40)) ++same;
            }
        return double(same) / (rows * columns);
    }
    double SameGlobinCells(const QImage& png, const QImage& other, QPoint probe) const {
        return SameCells(png, other, int(kGlobinNames.size()), kGlobinColumns, probe);
    }
    // How much of the ink of `area` the pictures share: dark pixels in both over dark pixels in either.
    static double SharedInk(const QImage& png, const QImage& other, const QRect& area) {
        int both = 0, either = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const bool inPng = qGray(png.pixel(x, y)) < 128;
                const bool inOther = other.rect().contains(x, y) && qGray(other.pixel(x, y)) < 128;
                both += inPng && inOther;
                either += inPng || inOther;
            }
        return either == 0 ? 0 : double(both) / either;
    }
};

TEST_F(VectorOutputCommand, SvgIsXmlWithEveryNameAndRulerNumberAsText) {
    const RunResult run = Run({Data("globins4.sto"), "--wrap", "50", "-o", Path("g.svg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const SvgContent svg = ReadSvg(Path("g.svg"));
    ASSERT_TRUE(svg.error.isEmpty()) << svg.error.toStdString();
    QStringList texts;
    for (const SvgText& text : svg.texts) texts.append(text.text);
    // Four blocks, each naming the four sequences in the file's order.
    QStringList names;
    for (const QString& text : texts)
        if (kGlobinNames.contains(text)) names.append(text);
    EXPECT_EQ(names, kGlobinNames + kGlobinNames + kGlobinNames + kGlobinNames);
    for (int number = 10; number <= 170; number += 10)
        EXPECT_TRUE(texts.contains(QString::number(number))) << number;
    EXPECT_TRUE(texts.contains("1"));
    // Every residue letter is text: 4 x 171 cells, the gaps among them.
    const int letters = int(std::count_if(svg.texts.begin(), svg.texts.end(), [](const SvgText& text) {
        return text.text.size() == 1 && (text.text[0].isUpper() || text.text[0] == '.');
    }));
    EXPECT_EQ(letters, 4 * kGlobinColumns);
}

TEST_F(VectorOutputCommand, SvgCellRectanglesLieWhereThePngHasTheirColour) {
    const QImage png = WriteGlobins("svg");
    const SvgContent svg = ReadSvg(Path("globins.svg"));
    ASSERT_TRUE(svg.error.isEmpty()) << svg.error.toStdString();
    int cellRuns = 0;
    for (const SvgRect& run : svg.rects) {
        if (run.rect.height() != cells.CellHeight() || run.rect.width() % cells.CellWidth() != 0) continue;
        if (run.rect.top() < cells.RulerBandHeight()) continue;
        ++cellRuns;
        for (const QPoint corner : {run.rect.topLeft() + QPoint(1, 1), run.rect.topRight() + QPoint(-1, 1)})
            EXPECT_EQ(QColor(png.pixel(corner)), run.fill) << corner.x() << "," << corner.y();
    }
    EXPECT_GE(cellRuns, int(kGlobinNames.size()));
    // Runs of equal neighbours are merged: fewer rectangles than cells.
    EXPECT_LT(cellRuns, int(kGlobinNames.size()) * kGlobinColumns);
}

TEST_F(VectorOutputCommand, RasterisedSvgAndPdfShowTheColoursOfThePng) {
    REQUIRE_TOOL("rsvg-convert");
    REQUIRE_TOOL("pdftoppm");
    const int rows = 6;
    const int columns = 40;
    WriteFile("hollow.fa", HollowLetters(rows, columns));
    const QImage png = WritePair(Path("hollow.fa"), "hollow", "svg");
    ASSERT_EQ(Run({Path("hollow.fa"), "-o", Path("hollow.pdf")}).exitCode, 0);
    ASSERT_EQ(RunProgram("rsvg-convert", {Path("hollow.svg"), "-o", Path("from-svg.png")}).exitCode, 0);
    ASSERT_EQ(RunProgram("pdftoppm", {"-r", QString::number(Dpi()), "-png", "-singlefile", Path("hollow.pdf"),
                                      Path("from-pdf")})
                  .exitCode,
              0);
    for (const char* name : {"from-svg.png", "from-pdf.png"}) {
        const QImage other = QImage(Path(name));
        ASSERT_FALSE(other.isNull()) << name;
        // rsvg leaves the page transparent where nothing is drawn: over white, as a reader sees it.
        QImage flat(other.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, other);
        EXPECT_NEAR(other.width(), png.width(), 1) << name;
        EXPECT_GE(SameCells(png, flat, rows, columns, QPoint(cells.CellWidth() / 2, cells.CellHeight() / 2)),
                  0.98)
            << name;
        EXPECT_GE(SameCells(png, flat, rows, columns, QPoint(1, 1)), 0.99) << name;
    }
}

TEST_F(VectorOutputCommand, PdfTextIsTheNamesInOrder) {
    REQUIRE_TOOL("pdftotext");
    ASSERT_EQ(Run({Data("globins4.sto"), "-o", Path("g.pdf")}).exitCode, 0);
    const RunResult text = RunProgram("pdftotext", {Path("g.pdf"), "-"});
    ASSERT_EQ(text.exitCode, 0) << text.err.constData();
    QStringList names;
    for (const QString& word : QString(text.out).split(QRegularExpression("\\s+")))
        if (kGlobinNames.contains(word)) names.append(word);
    EXPECT_EQ(names, kGlobinNames);
}

TEST_F(VectorOutputCommand, PdfPagesHoldWholeBlocksOnPagesOfThePngPagesSize) {
    REQUIRE_TOOL("pdftotext");
    REQUIRE_TOOL("pdfinfo");
    // Four blocks of six lines (ruler band and four rows); pages of two blocks and the margin below them.
    const QString pageHeight = QString::number(cells.BlockTop(2, 4 + kRulerBandRows) + margin);
    for (const char* name : {"g.pdf", "g.png"}) {
        const RunResult run =
            Run({Data("globins4.sto"), "--wrap", "50", "--page-height", pageHeight, "-o", Path(name)});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    const QImage page = QImage(Path("g-001.png"));
    ASSERT_FALSE(page.isNull());
    const RunResult info = RunProgram("pdfinfo", {Path("g.pdf")});
    ASSERT_EQ(info.exitCode, 0) << info.err.constData();
    EXPECT_TRUE(QString(info.out).contains(QRegularExpression("Pages:\\s+2\\n"))) << info.out.constData();
    const QRegularExpressionMatch size =
        QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(QString(info.out));
    ASSERT_TRUE(size.hasMatch()) << info.out.constData();
    EXPECT_NEAR(size.captured(1).toDouble(), page.width() * PointsPerPixel(), 1);
    EXPECT_NEAR(size.captured(2).toDouble(), page.height() * PointsPerPixel(), 1);

    for (const char* number : {"1", "2"}) {
        const RunResult text = RunProgram("pdftotext", {"-f", number, "-l", number, Path("g.pdf"), "-"});
        ASSERT_EQ(text.exitCode, 0) << text.err.constData();
        QStringList names;
        for (const QString& word : QString(text.out).split(QRegularExpression("\\s+")))
            if (kGlobinNames.contains(word)) names.append(word);
        // Two whole blocks, nothing of the other page.
        EXPECT_EQ(names, kGlobinNames + kGlobinNames) << "page " << number;
    }
}

// --scale is pixel density: vector pages keep their size in points, and widths and page heights count
// pixels at 1x, so the layout does not change with it.
TEST_F(VectorOutputCommand, ScaleMakesDensePixelsButTheSameLayoutAndVectorPages) {
    REQUIRE_TOOL("pdfinfo");
    REQUIRE_TOOL("pdftotext");
    const auto pdfSize = [&](const QString& path) {
        const RunResult info = RunProgram("pdfinfo", {path});
        const QRegularExpressionMatch size =
            QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(QString(info.out));
        EXPECT_TRUE(size.hasMatch()) << info.out.constData();
        return QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    };
    QImage pngs[2];
    QSizeF pdfs[2];
    for (int scale : {1, 2}) {
        const QString name = QStringLiteral("s%1").arg(scale);
        for (const QString& suffix : {QStringLiteral("png"), QStringLiteral("pdf"), QStringLiteral("svg")}) {
            const RunResult run = Run({Data("globins4.sto"), "--wrap", "0", "--width", "400", "--scale",
                                       QString::number(scale), "-o", Path(name + "." + suffix)});
            ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        }
        pngs[scale - 1] = QImage(Path(name + ".png"));
        pdfs[scale - 1] = pdfSize(Path(name + ".pdf"));
        QFile svg(Path(name + ".svg"));
        ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
        const QRegularExpressionMatch svgWidth =
            QRegularExpression("<svg [^>]*width=\"([\\d.]+)\"").match(QString(svg.read(400)));
        ASSERT_TRUE(svgWidth.hasMatch());
        EXPECT_NEAR(svgWidth.captured(1).toDouble(), pngs[scale - 1].width() / scale, 1) << "scale " << scale;
        // The letters keep their size on the page: 10 points.
        const RunResult words = RunProgram("pdftotext", {"-bbox", Path(name + ".pdf"), "-"});
        const QRegularExpressionMatch word = QRegularExpression(
                                                 "yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" "
                                                 "yMax=\"([\\d.]+)\">HBB_HUMAN<")
                                                 .match(QString(words.out));
        ASSERT_TRUE(word.hasMatch()) << words.out.left(600).constData();
        EXPECT_NEAR(word.captured(2).toDouble() - word.captured(1).toDouble(), 10 * 1.17, 1.5);
    }
    // Twice the pixels each way, the same blocks of the same columns: within the rounding of the font's
    // cells to whole pixels (a few percent), where before the width stayed and the blocks doubled.
    EXPECT_NEAR(pngs[1].width(), 2 * pngs[0].width(), 0.04 * pngs[1].width());
    EXPECT_NEAR(pngs[1].height(), 2 * pngs[0].height(), 0.04 * pngs[1].height());
    EXPECT_NEAR(pdfs[1].width(), pdfs[0].width(), 0.04 * pdfs[0].width());
    EXPECT_NEAR(pdfs[1].height(), pdfs[0].height(), 0.04 * pdfs[0].height());
    EXPECT_NEAR(pdfs[0].width(), pngs[0].width() * PointsPerPixel(), 1);

    // A page height counts the same pixels at every scale.
    const QString pageHeight =
        QString::number(cells.BlockTop(2, 4 + kRulerBandRows) + margin + cells.CellHeight());
    for (const char* scale : {"1", "2"}) {
        const RunResult run = Run({Data("globins4.sto"), "--wrap", "50", "--page-height", pageHeight,
                                   "--scale", scale, "-o", Path(QStringLiteral("p%1.png").arg(scale))});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_TRUE(QFile::exists(Path(QStringLiteral("p%1-002.png").arg(scale)))) << scale;
        EXPECT_FALSE(QFile::exists(Path(QStringLiteral("p%1-003.png").arg(scale)))) << scale;
    }
}

// A page taller than the 14,400 points many PDF readers show is still written, with advice.
TEST_F(VectorOutputCommand, APdfPageTooTallForReadersComesWithAdvice) {
    const int rows = int(std::ceil(14400 / PointsPerPixel() / cells.CellHeight())) + 10;
    WriteFile("tall.fa", HollowLetters(rows, 8));
    const RunResult tall = Run({Path("tall.fa"), "-o", Path("tall.pdf")});
    ASSERT_EQ(tall.exitCode, 0) << tall.err.constData();
    EXPECT_TRUE(tall.out.contains("--page-height")) << tall.out.constData();
    EXPECT_TRUE(QFile::exists(Path("tall.pdf")));
    const QString pageHeight = QString::number(cells.LineTop(rows / 2));
    const RunResult paged = Run({Path("tall.fa"), "--page-height", pageHeight, "-o", Path("paged.pdf")});
    ASSERT_EQ(paged.exitCode, 0) << paged.err.constData();
    EXPECT_FALSE(paged.out.contains("--page-height")) << paged.out.constData();
    EXPECT_TRUE(paged.out.contains("3 pages")) << paged.out.constData();  // half the rows, and the ruler band
}

TEST_F(VectorOutputCommand, EpsPassesGhostscriptAndHoldsTheNamesAsText) {
    REQUIRE_TOOL("gs");
    const QImage png = WriteGlobins("eps");
    QFile eps(Path("globins.eps"));
    ASSERT_TRUE(eps.open(QIODevice::ReadOnly));
    const QByteArray document = eps.readAll();
    EXPECT_TRUE(document.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    const QByteArray box = "%%BoundingBox: 0 0 " +
                           QByteArray::number(int(std::ceil(png.width() * PointsPerPixel()))) + ' ' +
                           QByteArray::number(int(std::ceil(png.height() * PointsPerPixel()))) + '\n';
    EXPECT_TRUE(document.contains(box)) << box.constData();
    for (const QString& name : kGlobinNames)
        EXPECT_TRUE(document.contains(name.toLatin1() + ")")) << name.toStdString();

    const RunResult check =
        RunProgram("gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=nullpage", Path("globins.eps")});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    EXPECT_FALSE(check.out.contains("Error")) << check.out.constData();
    // Its cells where the PNG has them.
    const RunResult raster =
        RunProgram("gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m",
                          "-r" + QString::number(Dpi()), "-dTextAlphaBits=4", "-dEPSCrop",
                          "-sOutputFile=" + Path("from-eps.png"), Path("globins.eps")});
    ASSERT_EQ(raster.exitCode, 0) << raster.out.constData();
    const QImage fromEps(Path("from-eps.png"));
    EXPECT_GE(SameGlobinCells(png, fromEps, QPoint(1, 1)), 0.99);

    // The names in the PNG's letters: the font is embedded. Large letters, where the screen font's hinting
    // is small beside the shapes (a standard font's letters share a third of their ink with ours).
    for (const char* type : {"png", "eps"}) {
        const RunResult run =
            Run({Data("globins4.sto"), "--font-size", "24", "-o", Path(QString("large.") + type)});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    ASSERT_EQ(RunProgram("gs", {"-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=png16m",
                                "-r" + QString::number(Dpi()), "-dTextAlphaBits=4", "-dEPSCrop",
                                "-sOutputFile=" + Path("large-eps.png"), Path("large.eps")})
                  .exitCode,
              0);
    const QImage large(Path("large.png"));
    const CellGeometry largeCells{SQC::FontAttributes(testsupport::MonoFont(24))};
    const QRect names(0, largeCells.RulerBandHeight(), large.width() - largeCells.ColumnLeft(kGlobinColumns),
                      largeCells.LineTop(int(kGlobinNames.size())));
    EXPECT_GE(SharedInk(large, QImage(Path("large-eps.png")), names), 0.7);
}

TEST_F(VectorOutputCommand, OutputTypeIsCheckedBeforeReadingAndEpsHasNoPages) {
    // No input is read: the missing file is never named.
    for (const QStringList& args : {QStringList{"-o", Path("f.eps"), "--page-height", "100"},
                                    QStringList{"-o", Path("f.svg"), "--output-format", "tiff"},
                                    QStringList{"-o", Path("f.svg"), "--view", "100x100"}}) {
        const RunResult run = Run(QStringList{Path("missing.fa")} + args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(run.err.contains("missing.fa")) << run.err.constData();
        EXPECT_TRUE(run.err.startsWith("msarender: ")) << run.err.constData();
    }
    EXPECT_TRUE(Run({Path("missing.fa"), "-o", Path("f.eps"), "--page-height", "100"}).err.contains("EPS"));
}

TEST_F(VectorOutputCommand, OutputFormatOverridesTheExtension) {
    const RunResult run = Run({Data("globins4.sto"), "--output-format", "svg", "-o", Path("figure.out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(ReadSvg(Path("figure.out")).error.isEmpty());
    const RunResult toDir = Run({Data("globins4.sto"), "--output-format", "pdf", "-O", Path("dir")});
    ASSERT_EQ(toDir.exitCode, 0) << toDir.err.constData();
    QFile pdf(Path("dir/globins4.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
}

}  // namespace
