// --stats, --threshold and --by-conservation, run as a user runs them.

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>

#include "MsarenderRun.h"

namespace {

using ColumnStatsCommand = MsarenderRun;

QList<QByteArrayList> Table(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QList<QByteArrayList> rows;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) rows.append(line.split('\t'));
    return rows;
}

// Pixels of the residue area that are neither white nor black.
int ColouredPixels(const QString& path) {
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel(image.pixel(x, y));
            if (pixel.saturation() > 60) ++coloured;
        }
    return coloured;
}

TEST_F(ColumnStatsCommand, StatsHoldOneLinePerColumnDrawnNumberedAsTheRuler) {
    const RunResult run = Run({Data("globins4.sto"), "-o", Path("g.png"), "--stats", Path("g.tsv"),
                               "--columns", "5-7", "--ruler-origin", "3", "--hide", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("wrote " + Path("g.tsv").toUtf8() + " (3 columns)")) << run.out.constData();
    const QList<QByteArrayList> rows = Table(Path("g.tsv"));
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].mid(0, 9), (QByteArrayList{"column", "residues", "gaps", "occupancy", "consensus",
                                                 "consensus_percent", "conservation", "quality", "bits"}));
    for (int line = 1; line <= 3; ++line) {
        EXPECT_EQ(rows[line][0].toInt(), line + 2);  // columns 5-7 when column 3 is numbered 1
        EXPECT_EQ(rows[line][1].toInt() + rows[line][2].toInt(), 3);  // one of four sequences hidden
        ASSERT_EQ(rows[line].size(), rows[0].size());
        int letters = 0;
        for (int field = 9; field < rows[line].size(); ++field) letters += rows[line][field].toInt();
        EXPECT_EQ(letters, rows[line][1].toInt());
    }
    EXPECT_TRUE(QFileInfo::exists(Path("g.png")));
}

TEST_F(ColumnStatsCommand, NucleicAcidsLeaveConservationAndQualityEmpty) {
    ASSERT_EQ(Run({Data("srp-euk.sto"), "-o", Path("s.png"), "--stats", Path("s.tsv")}).exitCode, 0);
    const QList<QByteArrayList> rows = Table(Path("s.tsv"));
    ASSERT_GT(rows.size(), 100);
    // One column per letter the file holds: the four bases and its few ambiguity codes.
    const QByteArrayList letters = rows[0].mid(9);
    for (const char* base : {"A", "C", "G", "U"}) EXPECT_TRUE(letters.contains(base)) << base;
    EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
    EXPECT_TRUE(rows[1][6].isEmpty() && rows[1][7].isEmpty());
}

TEST_F(ColumnStatsCommand, AFailureKeepsTheUsersFileAndUsageErrorsStopFirst) {
    WriteFile("keep.tsv", "precious");
    // A column beyond the alignment: nothing is written over the file.
    EXPECT_EQ(
        Run({Data("globins4.sto"), "-o", Path("g.png"), "--stats", Path("keep.tsv"), "--columns", "900"})
            .exitCode,
        1);
    QFile kept(Path("keep.tsv"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("precious"));
    EXPECT_EQ(Run({Data("globins4.sto"), "-o", Path("g.png"), "--stats", Path("no/such/dir/s.tsv")}).exitCode,
              1);
    for (const QStringList& args :
         {QStringList{Data("globins4.sto"), "--threshold", "101"},
          QStringList{Data("globins4.sto"), "--threshold", "x"},
          QStringList{Data("globins4.sto"), Data("fn3.sto"), "-O", Path("o"), "--stats", Path("t.tsv")},
          QStringList{Data("globins4.sto"), "-o", Path("same.png"), "--stats", Path("same.png")}}) {
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
    }
    // The input is never replaced by its statistics.
    WriteFile("in.fa", ">a\nACDE\n>b\nACDF\n");
    const RunResult same = Run({Path("in.fa"), "-o", Path("in.png"), "--stats", Path("in.fa")});
    EXPECT_EQ(same.exitCode, 2);
    EXPECT_TRUE(same.err.contains("is the input")) << same.err.constData();
    QFile input(Path("in.fa"));
    ASSERT_TRUE(input.open(QIODevice::ReadOnly));
    EXPECT_EQ(input.readAll(), QByteArray(">a\nACDE\n>b\nACDF\n"));
}

TEST_F(ColumnStatsCommand, ThresholdAndConservationColourFewerResidues) {
    const QStringList common{Data("globins50.afa"), "--scheme", "zappo"};
    ASSERT_EQ(Run(common + QStringList{"-o", Path("all.png")}).exitCode, 0);
    ASSERT_EQ(Run(common + QStringList{"-o", Path("t0.png"), "--threshold", "0"}).exitCode, 0);
    ASSERT_EQ(Run(common + QStringList{"-o", Path("t80.png"), "--threshold", "80"}).exitCode, 0);
    ASSERT_EQ(Run(common + QStringList{"-o", Path("c.png"), "--by-conservation"}).exitCode, 0);
    const int all = ColouredPixels(Path("all.png"));
    const int consensus = ColouredPixels(Path("t0.png"));
    const int strict = ColouredPixels(Path("t80.png"));
    EXPECT_LT(consensus, all);
    EXPECT_LT(strict, consensus);
    EXPECT_GT(strict, 0);
    EXPECT_EQ(QImage(Path("c.png")).size(), QImage(Path("all.png")).size());
    EXPECT_LT(ColouredPixels(Path("c.png")), all);  // paled colours are less saturated
    const RunResult rna = Run({Data("srp-euk.sto"), "-o", Path("r.png"), "--by-conservation"});
    EXPECT_EQ(rna.exitCode, 0);
    EXPECT_TRUE(rna.err.contains("--by-conservation: conservation is scored for amino acids only"));
}

}  // namespace
