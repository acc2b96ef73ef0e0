// The msarender command at its limits: input above --max-input, a picture larger than an image may be,
// memory running out. Each ends with exit status 1, one message naming the input, and no file written or
// half-written (an existing output stays as it was).

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "support/ProgramRun.h"

namespace {

struct RunResult {
    int exitCode = -1;
    QByteArray err;
};

class CommandLimits : public ::testing::Test {
protected:
    RunResult Run(const QStringList& arguments, rlim_t addressSpace = RLIM_INFINITY) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        if (addressSpace != RLIM_INFINITY) {
            process.setChildProcessModifier([addressSpace] {
                const rlimit limit{addressSpace, addressSpace};
                setrlimit(RLIMIT_AS, &limit);
            });
        }
        const testsupport::ProgramRun run =
            testsupport::RunProgram(process, QStringLiteral(MSARENDER_BINARY), arguments, 120000);
        EXPECT_TRUE(run.finished);
        EXPECT_EQ(run.exitStatus, QProcess::NormalExit) << "the command crashed: " << run.err.toStdString();
        return {run.exitCode, run.err};
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void WriteFile(const QString& name, const QByteArray& content) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    QTemporaryDir dir;
};

QByteArray Fasta(int rows, int columns) {
    QByteArray text;
    for (int r = 0; r < rows; ++r)
        text += ">s" + QByteArray::number(r) + "\n" + QByteArray(columns, "ACDEFGHIKL"[r % 10]) + "\n";
    return text;
}

void ExpectOneMessage(const RunResult& run, const char* words) {
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(words)) << run.err.toStdString();
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
}

}  // namespace

// GIVEN an existing image and an input of 2000 bytes WHEN the command runs with --max-input 1K THEN it
// refuses the input by name, the old image is untouched and no temporary file is left beside it.
TEST_F(CommandLimits, InputAboveMaxInputIsRefusedAndTheOldImageStays) {
    WriteFile("big.fa", Fasta(20, 90));
    WriteFile("keep.png", "the previous picture");
    const RunResult run = Run({Path("big.fa"), "--max-input", "1K", "-o", Path("keep.png")});
    ExpectOneMessage(run, "larger than 1024 bytes");
    EXPECT_TRUE(run.err.contains("big.fa")) << run.err.toStdString();
    EXPECT_EQ(ReadFile("keep.png"), QByteArray("the previous picture"));
    EXPECT_EQ(Files(), QStringList({"big.fa", "keep.png"}));

    // The same input under a limit it fits draws the picture.
    EXPECT_EQ(Run({Path("big.fa"), "--max-input", "4K", "-o", Path("keep.png"), "-q"}).exitCode, 0);
    EXPECT_TRUE(ReadFile("keep.png").startsWith("\x89PNG"));
}

TEST_F(CommandLimits, MaxInputNeedsAPositiveSize) {
    for (const char* size : {"0", "lots", "-5", "12T", "99999999999G"}) {
        const RunResult run = Run({"--max-input", size});
        EXPECT_EQ(run.exitCode, 2) << size;
        EXPECT_TRUE(run.err.contains("--max-input")) << run.err.toStdString();
    }
}

// GIVEN one row of 5000 residues and no wrapping THEN the PNG is one image wider than any pixmap, with its
// last residues drawn; a JPEG cannot be that wide: a usage error that names the way out, and no file.
TEST_F(CommandLimits, APictureWiderThanAPixmapIsOneImageUnlessTheFormatCannotHoldIt) {
    WriteFile("wide.fa", Fasta(1, 5000));
    const RunResult png = Run({Path("wide.fa"), "-o", Path("wide.png"), "-q"});
    ASSERT_EQ(png.exitCode, 0) << png.err.constData();
    const QImage image(Path("wide.png"));
    ASSERT_GT(image.width(), 32767);
    const QRect lastCells(image.width() - 40, image.height() / 2, 40, 1);
    bool inked = false;
    for (int x = lastCells.left(); x <= lastCells.right(); ++x)
        inked = inked || QColor(image.pixel(x, lastCells.top())) != QColor(Qt::white);
    EXPECT_TRUE(inked);

    WriteFile("wider.fa", Fasta(1, 9000));
    const RunResult jpeg = Run({Path("wider.fa"), "-o", Path("wider.jpg")});
    EXPECT_EQ(jpeg.exitCode, 2);
    EXPECT_TRUE(jpeg.err.contains("--wrap")) << jpeg.err.toStdString();
    EXPECT_EQ(jpeg.err.count('\n'), 1) << jpeg.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("wider.jpg")));
}

// GIVEN an input that fits --max-input but not the memory the process may use THEN the allocation failure
// becomes one message and no output, not an abort.
TEST_F(CommandLimits, RunningOutOfMemoryIsAMessageNotACrash) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit this test sets";
#else
    WriteFile("small.fa", Fasta(3, 40));
    // Enough for the command to start and draw a small alignment, far too little for the large one.
    constexpr rlim_t kBudget = rlim_t(384) << 20;
    if (Run({Path("small.fa"), "-o", Path("small.png"), "-q"}, kBudget).exitCode != 0)
        GTEST_SKIP() << "the command does not start within " << kBudget << " bytes of address space here";
    QFile::remove(Path("small.png"));

    // 1500 x 40000 residues: 60 MB of text, several times that once read and laid out.
    WriteFile("huge.fa", Fasta(1500, 40000));
    const RunResult run = Run({Path("huge.fa"), "--wrap", "100", "-o", Path("huge.png")}, kBudget);
    ExpectOneMessage(run, "not enough memory");
    EXPECT_EQ(Files(), QStringList({"huge.fa", "small.fa"}));
#endif
}
