// Pictures that cannot be finished are refused before anything is painted, with their size and its causes;
// the budget is an option.

#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>

#include "MsarenderRun.h"

namespace {

class PictureLimits : public MsarenderRun {
protected:
    // fn3 with its first sequence renamed to a name of `length` letters, wherever the name stands.
    QString WithLongName(int length) {
        QFile seed(Data("fn3.sto"));
        EXPECT_TRUE(seed.open(QIODevice::ReadOnly));
        QByteArray text = seed.readAll();
        const QList<QByteArray> lines = text.split('\n');
        QByteArray first;
        for (const QByteArray& line : lines)
            if (!line.isEmpty() && !line.startsWith('#') && !line.startsWith("//")) {
                first = line.split(' ').first();
                break;
            }
        EXPECT_FALSE(first.isEmpty());
        text.replace(first + ' ', QByteArray(length, 'N') + ' ');
        WriteFile("long.sto", text);
        return Path("long.sto");
    }
    QStringList Outputs() const {
        return QDir(dir.path()).entryList({"*.png", ".*.part"}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(PictureLimits, AHugePictureIsRefusedAtOnceWithItsSizeAndCauses) {
    const QString input = WithLongName(2773);
    QElapsedTimer timer;
    timer.start();
    const RunResult run =
        Run({input, "-o", Path("huge.png"), "--wrap", "1", "--font-size", "200", "--scale", "3.125"});
    EXPECT_LT(timer.elapsed(), 30000);  // planned and refused, not painted for hours
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    const QString message = QString::fromLocal8Bit(run.err);
    EXPECT_TRUE(message.contains("pixels")) << message.toStdString();
    EXPECT_TRUE(message.contains("name column")) << message.toStdString();
    EXPECT_TRUE(message.contains("--max-pixels")) << message.toStdString();
    EXPECT_TRUE(Outputs().isEmpty());
}

TEST_F(PictureLimits, TheBudgetHoldsExactlyAndTheOptionMovesIt) {
    ASSERT_EQ(Run({"-o", Path("whole.png")}).exitCode, 0);
    const QSize size = QImageReader(Path("whole.png")).size();
    const qint64 pixels = qint64(size.width()) * size.height();
    ASSERT_GT(pixels, 0);
    const RunResult under = Run({"-o", Path("under.png"), "--max-pixels", QString::number(pixels - 1)});
    EXPECT_EQ(under.exitCode, 2) << under.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("under.png")));
    const RunResult exact = Run({"-o", Path("exact.png"), "--max-pixels", QString::number(pixels)});
    EXPECT_EQ(exact.exitCode, 0) << exact.err.toStdString();
    EXPECT_EQ(QImageReader(Path("exact.png")).size(), size);
    EXPECT_EQ(Run({"--max-pixels", "0"}).exitCode, 2);
    EXPECT_EQ(Run({"--max-pixels", "lots"}).exitCode, 2);
}

TEST_F(PictureLimits, AVeryLongNameIsCutSoTheNameColumnStaysNearTheResidues) {
    const QString input = WithLongName(5000);
    const RunResult run = Run({input, "-o", Path("named.png")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The name column holds at most about 256 characters and the gutter, beside the residues.
    const int widest = cells.CellWidth() * (256 + 4) + cells.ColumnLeft(200);
    EXPECT_LT(QImageReader(Path("named.png")).size().width(), widest);
}

}  // namespace
