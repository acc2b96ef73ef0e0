// The msarender command, run as a user runs it: exit codes, messages, image sizes and files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "MsarenderRun.h"

namespace {

using MsarenderCommand = MsarenderRun;

// A FASTA alignment of `rows` sequences of `columns` residues.
QByteArray SyntheticFasta(int rows, int columns) {
    QByteArray text;
    const QByteArray residues = "ACDEFGHIKLMNPQRSTVWY";
    for (int r = 0; r < rows; ++r) {
        text += ">s" + QByteArray::number(r) + "\n";
        for (int c = 0; c < columns; ++c) text += residues[(r + c) % residues.size()];
        text += "\n";
    }
    return text;
}

TEST_F(MsarenderCommand, WithoutInputRendersTheBundledExampleAndSaysWhere) {
    const RunResult run = Run({});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("example.png")) << run.out.constData();
    const QImage image(Path("example.png"));
    ASSERT_FALSE(image.isNull());
    // fn3: 98 sequences, 11 of them with a secondary-structure line, 117 columns, a ruler band.
    EXPECT_EQ(image.height(), cells.LineTop(98 + 11 + kRulerBandRows) + margin);
    EXPECT_GT(image.width(), cells.ColumnLeft(117));
}

TEST_F(MsarenderCommand, WrapGivesBlocksOfTheRequestedWidthEachWithItsRuler) {
    // globins4: 4 sequences x 171 columns; blocks of 50 give 4 blocks.
    const RunResult run = Run({Data("globins4.sto"), "--wrap", "50", "-o", Path("g.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage image(Path("g.png"));
    EXPECT_EQ(image.height(), cells.BlockTop(4, 4 + kRulerBandRows) + margin);
    EXPECT_GT(image.width(), cells.ColumnLeft(50));
    EXPECT_LT(image.width(), cells.ColumnLeft(51) + 400);
}

TEST_F(MsarenderCommand, ColumnsOfOneSequenceHaveNoNameColumn) {
    const RunResult run =
        Run({Data("globins4.sto"), "--sequences", "2", "--columns", "1-5,10", "-o", Path("c.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage image(Path("c.png"));
    EXPECT_EQ(image.width(), cells.ColumnLeft(6));
    EXPECT_EQ(image.height(), cells.LineTop(kRulerBandRows + 1) + margin);
}

TEST_F(MsarenderCommand, NoRulerDropsTheBand) {
    const RunResult run = Run({Data("globins4.sto"), "--no-ruler", "-o", Path("n.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QImage(Path("n.png")).height(), cells.LineTop(4) + margin);
}

TEST_F(MsarenderCommand, OutputTypeFollowsTheExtension) {
    for (const char* name : {"a.jpg", "a.bmp", "a.ppm", "a.png"}) {
        const RunResult run = Run({Data("globins4.sto"), "--no-ruler", "-o", Path(name)});
        ASSERT_EQ(run.exitCode, 0) << name << run.err.constData();
        const QImage image(Path(name));
        EXPECT_EQ(image.height(), cells.LineTop(4) + margin) << name;
    }
    QFile ppm(Path("a.ppm"));
    ASSERT_TRUE(ppm.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ppm.read(2) == "P6");
}

TEST_F(MsarenderCommand, DashWritesPngToStandardOutput) {
    const RunResult run = Run({Data("globins4.sto"), "-o", "-", "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.startsWith("\x89PNG"));
    EXPECT_FALSE(QImage::fromData(run.out, "PNG").isNull());
}

TEST_F(MsarenderCommand, SeveralInputsWriteOneImageEachIntoTheDirectory) {
    const RunResult run = Run({Data("globins4.sto"), Data("seaview_nuc.aln"), "-O", Path("out")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_FALSE(QImage(Path("out/globins4.png")).isNull());
    EXPECT_FALSE(QImage(Path("out/seaview_nuc.png")).isNull());
}

TEST_F(MsarenderCommand, UsageErrorsExitWithTwoAndOneLine) {
    for (const QStringList& args :
         {QStringList{"--no-such-option"}, QStringList{"--scheme", "rainbow"}, QStringList{"--wrap", "-3"},
          QStringList{"a.aln", "b.aln"}, QStringList{"--view", "big"}}) {
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("msarender: ")) << run.err.constData();
    }
}

TEST_F(MsarenderCommand, HelpAndVersionSucceed) {
    EXPECT_TRUE(Run({"--help"}).out.contains("--wrap"));
    EXPECT_TRUE(Run({"--version"}).out.startsWith("msarender "));
}

TEST_F(MsarenderCommand, UnreadableInputsExitWithOneNamingFileAndLine) {
    RunResult run = Run({Path("missing.fa")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("missing.fa")) << run.err.constData();

    WriteFile("ragged.fa", ">a\nACDE\n>b\nACD\n");
    run = Run({Path("ragged.fa"), "-o", Path("r.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("ragged.fa:")) << run.err.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
}

TEST_F(MsarenderCommand, AnAlignmentWithoutResiduesFailsAndSkippedTextIsWarnedAbout) {
    WriteFile("empty.fa", ">a\n>b\n");
    RunResult run = Run({Path("empty.fa"), "-o", Path("e.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("empty.fa: the alignment holds no residues")) << run.err.constData();
    EXPECT_FALSE(QFile::exists(Path("e.png")));

    // The NEXUS reader by name: seqret's file ends with an ASSUMPTIONS block that holds nothing to draw.
    run = Run({Data("seaview_nuc.nex"), "--format", "nexus", "-o", Path("n.png")});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.startsWith("msarender: warning: " + Data("seaview_nuc.nex").toUtf8() + ":46: "))
        << run.err.constData();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(QFile::exists(Path("n.png")));
}

TEST_F(MsarenderCommand, AnExistingOutputIsReplacedOnlyByACompleteImage) {
    WriteFile("keep.png", "precious");
    WriteFile("bad.fa", ">a\nAC\n>b\nACDEF\n");
    EXPECT_EQ(Run({Path("bad.fa"), "-o", Path("keep.png")}).exitCode, 1);
    QFile kept(Path("keep.png"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("precious"));
    kept.close();

    EXPECT_EQ(Run({Data("globins4.sto"), "-o", Path("keep.png")}).exitCode, 0);
    EXPECT_FALSE(QImage(Path("keep.png")).isNull());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter("keep").size(), 1);
}

// More sequences than a pixmap is tall: one image by default; pages of whole rows, all of one width, only
// when asked, and the single picture of the same name does not stay behind.
TEST_F(MsarenderCommand, ATallAlignmentIsOneImageOrPagesOnRequest) {
    const int rows = cells.LinesIn(32000) + 500;
    WriteFile("tall.fa", SyntheticFasta(rows, 30));
    RunResult run = Run({Path("tall.fa"), "-o", Path("tall.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage whole(Path("tall.png"));
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(whole.height(), cells.LineTop(rows + int(kRulerBandRows)) + margin);
    EXPECT_FALSE(QFile::exists(Path("tall-001.png")));

    run = Run({Path("tall.fa"), "-o", Path("tall.png"), "--page-height", "32000"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("pages")) << run.out.constData();
    int linesDrawn = 0;
    int pages = 0;
    for (int page = 1; QFile::exists(Path(QStringLiteral("tall-%1.png").arg(page, 3, 10, QLatin1Char('0'))));
         ++page) {
        const QImage image(Path(QStringLiteral("tall-%1.png").arg(page, 3, 10, QLatin1Char('0'))));
        ASSERT_FALSE(image.isNull()) << page;
        EXPECT_LE(image.height(), 32000);
        EXPECT_EQ(image.width(), whole.width()) << page;
        EXPECT_EQ((image.height() - margin) % cells.CellHeight(), 0) << "page " << page << " cuts a row";
        linesDrawn += cells.LinesIn(image.height() - margin);
        ++pages;
    }
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(linesDrawn, rows + 2 * int(kRulerBandRows));  // the ruler band heads both pages
    EXPECT_FALSE(QFile::exists(Path("tall.png")));
}

// GIVEN an alignment that happens to be named like a picture THEN naming it as the output (directly, or
// through -O) is refused and the alignment stays as it was.
TEST_F(MsarenderCommand, AnOutputThatIsAnInputIsRefusedAndTheInputKept) {
    const QByteArray alignment = SyntheticFasta(3, 20);
    WriteFile("aln.png", alignment);
    RunResult run = Run({Path("aln.png"), "-o", Path("aln.png")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("input")) << run.err.constData();
    ASSERT_TRUE(QFile::link(Path("aln.png"), Path("linked.fa")));
    run = Run({Path("linked.fa"), "-o", Path("aln.png")});
    EXPECT_EQ(run.exitCode, 2);
    run = Run({Path("aln.png"), "-O", dir.path()});  // would write aln.png beside itself
    EXPECT_EQ(run.exitCode, 2);
    QFile kept(Path("aln.png"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), alignment);
}

// GIVEN no runtime folder in the environment and a link planted in the temporary folder where a predictable
// runtime folder would go THEN the run neither follows the link nor leaves a folder of its own behind.
TEST_F(MsarenderCommand, TheRuntimeFolderIsPrivateAndGoesWithTheRun) {
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    const QString target = Path("target");
    ASSERT_TRUE(QDir().mkpath(target));
    const QFile::Permissions before = QFile::permissions(target);
    const QString planted = shared.filePath(QStringLiteral("runtime-msarender-%1").arg(getuid()));
    ASSERT_TRUE(QFile::link(target, planted));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), shared.path());

    const RunResult run = Run({Data("globins4.sto"), "-o", Path("g.png")}, environment);
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_FALSE(run.err.contains("XDG_RUNTIME_DIR")) << run.err.constData();
    EXPECT_EQ(QFile::permissions(target), before);
    EXPECT_EQ(QDir(shared.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList{QFileInfo(planted).fileName()});
}

// GIVEN a picture of many pages WHEN the run is interrupted by SIGTERM or SIGINT once its first page is under
// way THEN no page and no part of one is left, and an older picture of the same name stays.
TEST_F(MsarenderCommand, AnInterruptedRunOfPagesLeavesNoPages) {
    WriteFile("many.fa", SyntheticFasta(4000, 600));
    for (int signal : {SIGTERM, SIGINT}) {
        WriteFile("many.png", "older picture");
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(MSARENDER_BINARY),
                      {Path("many.fa"), "-o", Path("many.png"), "--wrap", "60", "--page-height", "3000"});
        ASSERT_TRUE(process.waitForStarted());
        // Wait until a file of the first page appears: the pages are being written.
        const auto writing = [&] {
            return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size() > 2;
        };
        for (int waited = 0; waited < 30000 && !writing() && process.state() == QProcess::Running;
             waited += 5)
            QThread::msleep(5);
        ASSERT_TRUE(writing()) << "the run ended before its first page: "
                               << process.readAllStandardError().constData();
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"many.fa", "many.png"}))
            << "signal " << signal;
        QFile older(Path("many.png"));
        ASSERT_TRUE(older.open(QIODevice::ReadOnly));
        EXPECT_EQ(older.readAll(), QByteArray("older picture"));
    }
}

// GIVEN a disk too small for the picture THEN every format fails with exit 1 and the system's cause named
// with the path, an older picture stays and no temporary file is left. Needs a small tmpfs: skipped where
// mounting is not allowed.
TEST_F(MsarenderCommand, AFullDiskIsNamedAndLeavesTheOlderPictureAndNoTemporary) {
    const QString disk = Path("tiny");
    ASSERT_TRUE(QDir().mkpath(disk));
    if (QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        GTEST_SKIP() << "a 64 KiB tmpfs cannot be mounted here (it needs root)";
    struct Unmount {
        QString disk;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {disk}); }
    } unmount{disk};

    QStringList older;
    for (const char* name : {"a.png", "a.jpg", "a.bmp", "a.ppm"}) {
        QFile file(disk + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older");
        file.close();
        older.append(name);
        const RunResult run = Run({Data("fn3.sto"), "-o", file.fileName()});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_TRUE(run.err.contains("no space left on device")) << run.err.constData();
        EXPECT_TRUE(run.err.contains(file.fileName().toUtf8())) << run.err.constData();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("older")) << name;
        QStringList expected = older;
        expected.sort();
        EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected) << name;
    }
}

TEST_F(MsarenderCommand, AnUnknownOutputTypeIsAUsageErrorBeforeAnyInputIsRead) {
    const RunResult run = Run({Path("does-not-exist.fa"), "-o", Path("figure.tiff")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("figure.tiff")) << run.err.constData();
    EXPECT_FALSE(run.err.contains("does-not-exist")) << run.err.constData();
}

TEST_F(MsarenderCommand, ViewRendersTheComposedViewOfAHost) {
    const RunResult run =
        Run({Data("fn3.sto"), "--wrap", "0", "--view", "600x400+0+90", "-o", Path("v.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QImage image(Path("v.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 600);
}

}  // namespace

namespace {

TEST_F(MsarenderCommand, AnnotationsAddTheirLinesToEveryBlock) {
    // globins4: 4 sequences x 171 columns, one #=GC SS_cons line; blocks of 50 give 4 blocks.
    const RunResult run = Run({Data("globins4.sto"), "--wrap", "50", "--annotations",
                               "consensus,conservation,occupancy", "-o", Path("a.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QImage(Path("a.png")).height(), cells.BlockTop(4, 4 + kRulerBandRows + 3) + margin);
    EXPECT_FALSE(run.err.contains("not drawn")) << run.err.constData();  // the file has no annotations
}

TEST_F(MsarenderCommand, ConsensusStructureOfAnRnaFileIsDrawnWhenAskedAndEachSequencesUnderIt) {
    const RunResult plain = Run({Data("srp-euk.sto"), "--wrap", "60", "-o", Path("plain.png")});
    const RunResult bare = Run({Data("srp-euk.sto"), "--wrap", "60", "--no-ss", "-o", Path("bare.png")});
    const RunResult drawn =
        Run({Data("srp-euk.sto"), "--wrap", "60", "--annotations", "SS_cons", "-o", Path("ss.png")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.constData();
    ASSERT_EQ(bare.exitCode, 0) << bare.err.constData();
    ASSERT_EQ(drawn.exitCode, 0) << drawn.err.constData();
    EXPECT_GT(QImage(Path("ss.png")).height(), QImage(Path("plain.png")).height());
    // Each #=GR SS is a line under its sequence, left out by --no-ss.
    EXPECT_GT(QImage(Path("plain.png")).height(), QImage(Path("bare.png")).height());
    EXPECT_TRUE(plain.err.contains("#=GC SS_cons (line 78; --annotations ss_cons)")) << plain.err.constData();
    EXPECT_FALSE(plain.err.contains("#=GR SS")) << plain.err.constData();
    EXPECT_FALSE(drawn.err.contains("#=GC SS_cons")) << drawn.err.constData();
}

TEST_F(MsarenderCommand, UnknownAnnotationNameIsAWarningNotAFailure) {
    const RunResult run = Run({Data("globins4.sto"), "--annotations", "nonsense", "-o", Path("u.png")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("'nonsense' is neither computed nor in the file")) << run.err.constData();
}

}  // namespace

namespace {
using TreeCommand = MsarenderRun;
}  // namespace

TEST_F(TreeCommand, TreeOutWritesTheBuiltTreeThatTheNextRunReadsBack) {
    const RunResult built =
        Run({Data("globins50.afa"), "--tree", "nj", "--tree-out", Path("g.nwk"), "-o", Path("nj.png")});
    ASSERT_EQ(built.exitCode, 0) << built.err.constData();
    QFile tree(Path("g.nwk"));
    ASSERT_TRUE(tree.open(QIODevice::ReadOnly));
    const QByteArray newick = tree.readAll();
    EXPECT_TRUE(newick.endsWith(");\n"));
    EXPECT_EQ(newick.count(','), 49);  // 50 leaves
    EXPECT_EQ(newick.count('('), 48);  // an unrooted binary tree: three branches meet at its root
    const RunResult read = Run({Data("globins50.afa"), "--tree", Path("g.nwk"), "-o", Path("read.png")});
    ASSERT_EQ(read.exitCode, 0) << read.err.constData();
    EXPECT_FALSE(read.err.contains("warning")) << read.err.constData();
    EXPECT_EQ(QImage(Path("read.png")), QImage(Path("nj.png")));
}

TEST_F(TreeCommand, AnUnreadableTreeStopsWithItsPositionAndWritesNothing) {
    WriteFile("bad.nwk", "(HBA_HUMAN,\n HBB_HUMAN:0.1:0.2);");
    WriteFile("out.png", "keep");
    const RunResult run = Run({Data("globins4.sto"), "--tree", Path("bad.nwk"), "-o", Path("out.png")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(Path("bad.nwk").toUtf8() + ":2:15: expected ',' or ')', found ':'"))
        << run.err.constData();
    QFile kept(Path("out.png"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep");
}

TEST_F(TreeCommand, OptionsThatCannotGoTogetherAreUsageErrors) {
    for (const QStringList& arguments :
         {QStringList{"--tree-out", "t.nwk"}, QStringList{"--tree", "nj", "--tree-style", "radial"},
          QStringList{"--tree", "nj", "--view", "200x100"}}) {
        const RunResult run = Run(QStringList{Data("globins4.sto"), "-o", Path("x.png")} + arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString() << run.err.constData();
    }
}
