// The command's options for figures about sequences: identities, residue numbers and highlights, as a user
// gives them, with their messages for a mistake.

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include "MsarenderRun.h"

namespace {

class FigureMarksCommand : public MsarenderRun {};

TEST_F(FigureMarksCommand, HelpDefinesIdentityAndTheHighlightForm) {
    const RunResult run = Run({"--help"});
    ASSERT_EQ(run.exitCode, 0);
    // The help wraps its lines anywhere: compared without white space.
    const QString help = QString::fromUtf8(run.out).remove(QRegularExpression("\\s"));
    EXPECT_TRUE(help.contains("ofthecolumnswherebothhavearesidue,thesharewiththesameletter"));
    EXPECT_TRUE(help.contains("NAME:START-END[:COLOUR[:LABEL]]"));
    EXPECT_TRUE(help.contains("columns:START-END[:COLOUR[:LABEL]]"));
    EXPECT_TRUE(help.contains("--residue-numbers"));
}

TEST_F(FigureMarksCommand, ABadHighlightIsNamedAndNothingIsWritten) {
    const std::vector<std::pair<QStringList, const char*>> cases = {
        {{"--highlight", "KPCA"}, "--highlight 'KPCA' needs NAME:START-END"},
        {{"--highlight", "columns:9-3"}, "the range 9-3 ends before it starts"},
        {{"--highlight", "CDC15_YEAST:1-5"},
         "--highlight 'CDC15_YEAST:1-5': CDC15_YEAST has residues 25-272"},
        {{"--highlight", "columns:1-5:grellow"}, "'grellow' is no colour"},
        {{"--highlight", "NOBODY:1-5"}, "NOBODY"}};
    for (const auto& [arguments, message] : cases) {
        const RunResult run =
            Run(QStringList{Data("Pkinase.sto")} + arguments + QStringList{"-o", Path("x.png")});
        EXPECT_NE(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(Path("x.png")));
    }
}

TEST_F(FigureMarksCommand, AKinaseFigureGetsItsColumnsAndFramesInEveryFormat) {
    const QStringList figure = {Data("Pkinase.sto"),
                                "--reference",
                                "CDC15_YEAST",
                                "--identity",
                                "--residue-numbers",
                                "--wrap",
                                "60",
                                "--highlight",
                                "CDC15_YEAST:30-40:red:GxGxxG",
                                "--highlight",
                                "columns:50-55:blue:site"};
    const RunResult plain =
        Run({Data("Pkinase.sto"), "--reference", "CDC15_YEAST", "--wrap", "60", "-o", Path("plain.png")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    for (const char* name : {"marks.png", "marks.svg", "marks.pdf"}) {
        const RunResult run = Run(figure + QStringList{"-o", Path(name)});
        EXPECT_EQ(run.exitCode, 0) << name << ": " << run.err.toStdString();
        EXPECT_TRUE(QFile::exists(Path(name))) << name;
    }
    const QImage before(Path("plain.png"));
    const QImage after(Path("marks.png"));
    // Wider by two number columns and the identity column; taller by one label line in each framed block.
    EXPECT_GT(after.width(), before.width() + 4 * cells.CellWidth());
    EXPECT_GE(after.height(), before.height() + cells.CellHeight());
    QFile svg(Path("marks.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("fill=\"#ff0000\"") && text.contains("fill=\"#0000ff\""));
    EXPECT_TRUE(text.contains(">GxGxxG<") && text.contains(">%id<"));
}

TEST_F(FigureMarksCommand, ASchemeFilesBadLineIsAUsageErrorThatNamesFileAndLine) {
    WriteFile("bad.txt", "# mine\nKR red\nDE bluu\n");
    const RunResult bad = Run({Data("Pkinase.sto"), "--scheme-file", Path("bad.txt"), "-o", Path("x.png")});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(Path("bad.txt").toUtf8() + ":3: 'bluu' is no colour"))
        << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("x.png")));
    WriteFile("good.txt", "KR red\n");
    const RunResult both = Run(
        {Data("Pkinase.sto"), "--scheme-file", Path("good.txt"), "--scheme", "zappo", "-o", Path("x.png")});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.contains("--scheme and --scheme-file exclude each other"));
    const RunResult good = Run({Data("Pkinase.sto"), "--scheme-file", Path("good.txt"), "-o", Path("x.png")});
    EXPECT_EQ(good.exitCode, 0) << good.err.toStdString();
}

// The ruler numbered by the reference: said in the help, refused without a reference, and other ruler
// options it makes idle are named.
TEST_F(FigureMarksCommand, RulerByReferenceNeedsAReferenceAndSaysWhatGapsShow) {
    const RunResult help = Run({"--help"});
    const QString text = QString::fromUtf8(help.out).remove(QRegularExpression("\\s"));
    EXPECT_TRUE(text.contains("--ruler-by-reference")) << help.out.toStdString();
    EXPECT_TRUE(text.contains("acolumnwherethereferencehasagap(orhasended)getsnotickandnonumber"));

    const RunResult alone = Run({Data("Pkinase.sto"), "--ruler-by-reference", "-o", Path("x.png")});
    EXPECT_EQ(alone.exitCode, 2);
    EXPECT_TRUE(alone.err.contains("--ruler-by-reference") && alone.err.contains("give --reference"))
        << alone.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("x.png")));

    const RunResult idle = Run({Data("Pkinase.sto"), "--reference", "CDC15_YEAST", "--ruler-by-reference",
                                "--ruler-origin", "5", "-o", Path("x.png")});
    EXPECT_EQ(idle.exitCode, 0) << idle.err.toStdString();
    EXPECT_TRUE(idle.err.contains("--ruler-origin does nothing with --ruler-by-reference"))
        << idle.err.toStdString();
    const QImage numbered(Path("x.png"));
    const RunResult plain = Run({Data("Pkinase.sto"), "--reference", "CDC15_YEAST", "-o", Path("y.png")});
    ASSERT_EQ(plain.exitCode, 0) << plain.err.toStdString();
    const QImage columns(Path("y.png"));
    ASSERT_EQ(numbered.size(), columns.size()) << "only the ruler's numbers change";
    const int band = cells.RulerBandHeight();
    EXPECT_NE(numbered.copy(0, 0, numbered.width(), band), columns.copy(0, 0, columns.width(), band));
    EXPECT_EQ(numbered.copy(0, band, numbered.width(), numbered.height() - band),
              columns.copy(0, band, columns.width(), columns.height() - band));
}

}  // namespace
