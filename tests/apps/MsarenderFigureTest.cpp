// The command's figures as a reader sees them: names, the gutter and margin around them, the ruler's numbers,
// and options that must either act or say why they do not.

#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QImage>

#include "MsarenderRun.h"

namespace {

using MsarenderFigure = MsarenderRun;

const QRgb kBlack = 0xFF000000u;
const QRgb kWhite = 0xFFFFFFFFu;

int CountDark(const QImage& image, const QRect& area) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return count;
}

// Row labels are drawn after one space.
int NameWidth(const QString& name, int points = 10) {
    return QFontMetrics(testsupport::MonoFont(points)).boundingRect(" " + name).width();
}

// globins4: HBB_HUMAN, HBA_HUMAN, MYG_PHYCA, GLB5_PETMA over 171 columns.
TEST_F(MsarenderFigure, NamesAreIdentifiersWithAGutterBeforeTheResidues) {
    ASSERT_EQ(Run({Data("globins4.sto"), "-o", Path("g.png")}).exitCode, 0);
    const QImage image(Path("g.png"));
    const int names = NameWidth("GLB5_PETMA");
    EXPECT_EQ(image.width(), names + cells.CellWidth() + cells.ColumnLeft(171));
    // The gutter is white on every sequence line.
    const QRect gutter(names, cells.RulerBandHeight(), cells.CellWidth(), cells.LineTop(4));
    EXPECT_EQ(CountDark(image, gutter), 0);

    // FASTA description lines only with --names full; --ranges appends counted residues.
    ASSERT_EQ(Run({Data("jalview_uniref50.fa"), "-o", Path("id.png")}).exitCode, 0);
    ASSERT_EQ(Run({Data("jalview_uniref50.fa"), "--names", "full", "-o", Path("full.png")}).exitCode, 0);
    const int idWidth = QImage(Path("id.png")).width();
    EXPECT_EQ(idWidth - NameWidth("Q93XJ9_SOLTU"),
              QImage(Path("full.png")).width() - NameWidth("FER1_SPIOL Ferredoxin-1, chloroplast precursor"))
        << "only the name column differs";
    ASSERT_EQ(Run({Data("globins4.sto"), "--ranges", "-o", Path("r.png")}).exitCode, 0);
    EXPECT_EQ(QImage(Path("r.png")).width(),
              NameWidth("GLB5_PETMA/1-149") + cells.CellWidth() + cells.ColumnLeft(171));
}

// Twice the density: the font of twice the size, and 192 dpi recorded in the file.
TEST_F(MsarenderFigure, ScaleDrawsForPrintAndRecordsTheDensity) {
    for (const char* name : {"s.png", "s.jpg"}) {
        const RunResult run = Run({Data("globins4.sto"), "--scale", "2", "-o", Path(name)});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        const QImage image(Path(name));
        const CellGeometry doubled(SQC::FontAttributes(testsupport::MonoFont(20)));
        EXPECT_EQ(image.width(), NameWidth("GLB5_PETMA", 20) + doubled.CellWidth() + doubled.ColumnLeft(171));
        EXPECT_EQ(image.height(), doubled.LineTop(4 + kRulerBandRows) + doubled.CellHeight() / 2);
        EXPECT_NEAR(image.dotsPerMeterX(), 192 / 0.0254, 1) << name;
        EXPECT_NEAR(image.dotsPerMeterY(), 192 / 0.0254, 1) << name;
    }
    EXPECT_EQ(Run({Data("globins4.sto"), "--scale", "9", "-o", Path("x.png")}).exitCode, 2);
}

TEST_F(MsarenderFigure, TheLastNamesDescendersLieInsideItsLine) {
    ASSERT_EQ(Run({Data("globins4.sto"), "--no-ruler", "-o", Path("g.png")}).exitCode, 0);
    const QImage image(Path("g.png"));
    ASSERT_EQ(image.height(), cells.LineTop(4) + margin);
    // GLB5_PETMA's underscore hangs below the baseline its letters stand on, and stays in its line.
    const int baseline = cells.Baseline(cells.LineTop(3));
    EXPECT_GT(
        CountDark(image, QRect(0, baseline + 1, NameWidth("GLB5_PETMA"), cells.LineTop(4) - baseline - 1)),
        0);
    EXPECT_EQ(CountDark(image, QRect(0, cells.LineTop(4), NameWidth("GLB5_PETMA"), margin)), 0);
}

// fn3 has 117 columns; columns 1-50 and 80-100 are drawn side by side.
TEST_F(MsarenderFigure, ChosenColumnsKeepTheirNumbersABreakMarkAndStructureLines) {
    ASSERT_EQ(Run({Data("fn3.sto"), "--columns", "1-50,80-100", "-o", Path("c.png")}).exitCode, 0);
    ASSERT_EQ(Run({Data("fn3.sto"), "-o", Path("all.png")}).exitCode, 0);
    const QImage chosen(Path("c.png"));
    const QImage all(Path("all.png"));
    EXPECT_EQ(chosen.height(), all.height()) << "the 11 structure lines stay";
    const int residues = all.width() - cells.ColumnLeft(117);
    ASSERT_EQ(chosen.width(), residues + cells.ColumnLeft(71));
    const int bottom = cells.RulerBandHeight() - 1;
    // The break between columns 50 and 80: a double bar across the band.
    const int breakX = residues + cells.ColumnLeft(50);
    EXPECT_EQ(chosen.pixel(breakX - 1, cells.CellHeight()), kBlack);
    EXPECT_EQ(chosen.pixel(breakX + 1, cells.CellHeight()), kBlack);
    // Column 90 (position 61) has its long tick, as in the whole picture; position 60 (column 89) none.
    const int tickY = bottom - cells.CellHeight() / 2 + 1;
    EXPECT_EQ(chosen.pixel(residues + cells.CentreX(60), tickY), kBlack);
    EXPECT_EQ(all.pixel(residues + cells.CentreX(89), tickY), kBlack);
    EXPECT_NE(chosen.pixel(residues + cells.CentreX(59), tickY), kBlack);
    // Rows and structure cartoons of the first columns look the same in both pictures (the last columns
    // before the break may end a cartoon differently).
    const QRect firstColumns(residues, cells.RulerBandHeight(), cells.ColumnLeft(45),
                             all.height() - cells.RulerBandHeight());
    EXPECT_EQ(all.copy(firstColumns), chosen.copy(firstColumns));
}

TEST_F(MsarenderFigure, WithoutGapsTheRulerHasNoNumbers) {
    ASSERT_EQ(Run({Data("globins4.sto"), "--no-gaps", "-o", Path("n.png")}).exitCode, 0);
    ASSERT_EQ(Run({Data("globins4.sto"), "-o", Path("g.png")}).exitCode, 0);
    const QImage gapless(Path("n.png"));
    const QImage gapped(Path("g.png"));
    const int residues = gapped.width() - cells.ColumnLeft(171);
    const QRect labels(residues, 2, cells.ColumnLeft(100), cells.CellHeight() - 2);
    EXPECT_GT(CountDark(gapped, labels), 0);
    EXPECT_EQ(CountDark(gapless, labels), 0);
}

TEST_F(MsarenderFigure, MisusedOptionsAreUsageErrorsOrWarnings) {
    for (const QStringList& args :
         {QStringList{"--columns", "abc"}, QStringList{"--columns", "5-1"}, QStringList{"--columns", "0-5"},
          QStringList{"--columns", "1-"}, QStringList{"--sequences", ""}, QStringList{"--names", "short"},
          QStringList{"--font-size", "0.5"}}) {
        const RunResult run = Run(QStringList{Data("globins4.sto"), "-o", Path("x.png")} + args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString() << run.err.constData();
        EXPECT_FALSE(QFile::exists(Path("x.png")));
    }
    const RunResult fractional = Run({Data("globins4.sto"), "--font-size", "7.5", "-o", Path("f.png")});
    EXPECT_EQ(fractional.exitCode, 0) << fractional.err.constData();

    for (const QStringList& args : {QStringList{"--width", "800"}, QStringList{"--font", "NoSuchFontAtAll"},
                                    QStringList{"--ruler-origin", "500"}}) {
        const RunResult run = Run(QStringList{Data("globins4.sto"), "-o", Path("w.png")} + args);
        EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("warning")) << args.join(' ').toStdString() << run.err.constData();
    }
    EXPECT_FALSE(Run({Data("globins4.sto"), "-o", Path("q.png")}).err.contains("warning"));
}

}  // namespace

namespace {

TEST_F(MsarenderFigure, ViewIsTheWindowAskedForAndRefusesWhatItCannotShow) {
    for (const char* size : {"400x300", "2000x300"})
        for (const char* wrap : {"-1", "60"}) {
            QStringList args{Data("fn3.sto"), "--view", size, "-o", Path("v.png")};
            if (QString(wrap) != "-1") args << "--wrap" << wrap;
            ASSERT_EQ(Run(args).exitCode, 0) << size << " wrap " << wrap;
            const QImage image(Path("v.png"));
            EXPECT_EQ(QString("%1x%2").arg(image.width()).arg(image.height()), QString(size))
                << "wrap " << wrap;
        }
    for (const QStringList& args :
         {QStringList{"--view", "400x300+0+900000"}, QStringList{"--view", "400x300+900000+0"},
          QStringList{"--view", "20000x20000"}, QStringList{"--view", "400x300", "--columns", "1-5"},
          QStringList{"--view", "400x300", "--sequences", "1"},
          QStringList{"--view", "400x300", "--no-gaps"}}) {
        const RunResult run = Run(QStringList{Data("fn3.sto"), "-o", Path("bad.png")} + args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("--view")) << run.err.constData();
        EXPECT_FALSE(QFile::exists(Path("bad.png")));
    }
}

// BMP holds 32,767 pixels a side: an alignment wider than that on one line is refused once read, before
// its model and layout are built; wrapped, the same alignment draws.
TEST_F(MsarenderFigure, AnAlignmentTooWideForTheFormatIsRefusedBeforeItIsLaidOut) {
    const int columns = int(32767 / cells.CellWidth()) + 10;
    WriteFile("wide.fa", ">a\n" + QByteArray(columns, 'A') + "\n>b\n" + QByteArray(columns, 'C') + "\n");
    const RunResult refused = Run({Path("wide.fa"), "-o", Path("wide.bmp")});
    EXPECT_EQ(refused.exitCode, 2) << "the format cannot hold what was asked for";
    EXPECT_TRUE(refused.err.contains(QByteArray::number(columns) + " columns")) << refused.err.constData();
    EXPECT_TRUE(refused.err.contains("--wrap")) << refused.err.constData();
    EXPECT_FALSE(QFile::exists(Path("wide.bmp")));
    EXPECT_EQ(Run({Path("wide.fa"), "--wrap", "100", "-o", Path("wide.bmp")}).exitCode, 0);
}

TEST_F(MsarenderFigure, InputsOfOneBaseNameGetPicturesOfTheirOwn) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
    ASSERT_TRUE(QFile::copy(Data("globins4.sto"), Path("a/x.sto")));
    ASSERT_TRUE(QFile::copy(Data("fn3.sto"), Path("b/x.sto")));
    const RunResult run = Run({Path("a/x.sto"), Path("b/x.sto"), "-O", Path("out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains("x-2.png")) << run.err.constData();
    EXPECT_EQ(QImage(Path("out/x.png")).height(), cells.LineTop(4 + kRulerBandRows) + margin);
    EXPECT_EQ(QImage(Path("out/x-2.png")).height(), cells.LineTop(98 + 11 + kRulerBandRows) + margin);
}

// `script` gives the command a terminal as standard output, as an interactive shell does.
TEST_F(MsarenderFigure, AnImageIsNotWrittenToATerminal) {
    QProcess process;
    process.start("script", {"-qec", QStringLiteral(MSARENDER_BINARY) + " " + Data("globins4.sto") + " -o -",
                             "/dev/null"});
    if (!process.waitForStarted()) GTEST_SKIP() << "no 'script' command to provide a terminal";
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    const QByteArray shown = process.readAll();
    EXPECT_TRUE(shown.contains("terminal")) << shown.constData();
    EXPECT_FALSE(shown.contains("PNG"));
}

// Letters are anti-aliased in few enough shades that a coloured alignment fits a 256-colour palette: the
// PNG then holds a byte a pixel, not three.
TEST_F(MsarenderFigure, ColouredAlignmentsAreWrittenWithAPalette) {
    const std::vector<QStringList> figures = {
        {Data("fn3.sto")},  // with its secondary-structure lines
        {Data("globins50.afa"), "--scheme", "zappo"},
        {Data("globins50.afa"), "--scheme", "taylor", "--scale", "3"},
        {Data("seaview_nuc.aln")},
        {Data("srp-euk.sto"), "--annotations", "all"},
    };
    for (const QStringList& arguments : figures) {
        const RunResult run = Run(arguments + QStringList{"-o", Path("p.png")});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
        QFile png(Path("p.png"));
        ASSERT_TRUE(png.open(QIODevice::ReadOnly));
        const QByteArray header = png.read(26);
        ASSERT_EQ(header.size(), 26);
        EXPECT_EQ(header[25], 3) << "colour type of " << arguments.join(' ').toStdString();
    }
}

}  // namespace
