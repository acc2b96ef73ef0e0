// Faults a careful user found in the command: help that drew a picture, numbers that followed the locale,
// alignment numbers beyond the file, fonts that fell back to a proportional face, a folder named "-".

#include <QDir>
#include <QImage>

#include "MsarenderRun.h"

namespace {

class CommandFaults : public MsarenderRun {
protected:
    QByteArray ReadBytes(const QString& name) {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        return file.readAll();
    }
    QProcessEnvironment WithLocale(const QString& locale) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LC_ALL", locale);
        environment.insert("LANG", locale);
        return environment;
    }
};

TEST_F(CommandFaults, HelpAllPrintsTheHelpAndDrawsNothing) {
    for (const char* option : {"--help", "--help-all"}) {
        const RunResult run = Run({option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_TRUE(run.out.startsWith("Usage: msarender [options]")) << run.out.left(200).toStdString();
        EXPECT_TRUE(run.out.contains("--max-pixels")) << option;
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CommandFaults, RulerNumbersReadTheSameUnderEveryLocale) {
    const QByteArray residues(1100, 'A');
    WriteFile("long.fa", ">a\n" + residues + "\n>b\n" + residues + "\n");
    ASSERT_EQ(Run({Path("long.fa"), "-o", Path("c.png")}, WithLocale("C")).exitCode, 0);
    ASSERT_EQ(Run({Path("long.fa"), "-o", Path("de.png")}, WithLocale("de_DE.UTF-8")).exitCode, 0);
    ASSERT_EQ(Run({Path("long.fa"), "-o", Path("de.svg")}, WithLocale("de_DE.UTF-8")).exitCode, 0);
    EXPECT_EQ(ReadBytes("de.png"), ReadBytes("c.png"));
    const QByteArray svg = ReadBytes("de.svg");
    EXPECT_TRUE(svg.contains(">1000<")) << "the ruler's 1000 is not written as 1000";
    EXPECT_FALSE(svg.contains(">1.000<"));
}

TEST_F(CommandFaults, AnAlignmentBeyondTheFileIsAUsageErrorInEveryFormat) {
    for (const char* input : {"globins50.afa", "fn3.sto", "seaview_nuc.aln"}) {
        const RunResult run = Run({Data(input), "--alignment", "2", "-o", Path("x.png")});
        EXPECT_EQ(run.exitCode, 2) << input << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("holds 1 alignment")) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("x.png")));
}

TEST_F(CommandFaults, TheOtherAlignmentsAreNamedOnlyWhenTheUserDidNotChoose) {
    QFile seed(Data("fn3.sto"));
    ASSERT_TRUE(seed.open(QIODevice::ReadOnly));
    const QByteArray one = seed.readAll();
    WriteFile("two.sto", one + one);
    const RunResult unchosen = Run({Path("two.sto"), "-o", Path("a.png")});
    EXPECT_EQ(unchosen.exitCode, 0);
    EXPECT_TRUE(unchosen.err.contains("holds 2 alignments")) << unchosen.err.toStdString();
    for (const char* number : {"1", "2"}) {
        const RunResult chosen = Run({Path("two.sto"), "--alignment", number, "-o", Path("b.png")});
        EXPECT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
        EXPECT_FALSE(chosen.err.contains("holds 2 alignments")) << chosen.err.toStdString();
    }
    EXPECT_EQ(Run({Path("two.sto"), "--alignment", "3", "-o", Path("c.png")}).exitCode, 2);
}

TEST_F(CommandFaults, AFontTheSystemLacksFallsBackToTheMonospaceDefaultAndSaysSo) {
    ASSERT_EQ(Run({"-o", Path("default.png")}).exitCode, 0);
    for (const QString& family : {QStringLiteral("No Such Font 42"), QString()}) {
        const RunResult run = Run({"-o", Path("fallback.png"), "--font", family});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(("no font named '" + family + "'").toUtf8())) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("drawing with 'DejaVu Sans Mono'")) << run.err.toStdString();
        EXPECT_EQ(ReadBytes("fallback.png"), ReadBytes("default.png")) << family.toStdString();
    }
}

TEST_F(CommandFaults, StandardOutputIsNoFolder) {
    const RunResult run = Run({Data("globins4.sto"), "-O", "-"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("-O takes a folder")) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("-")));
}

TEST_F(CommandFaults, NoGapsLeavesOutRowsOfTheWholeAlignmentsColumnsAndSaysWhy) {
    ASSERT_EQ(Run({Data("fn3.sto"), "--no-gaps", "-o", Path("plain.png")}).exitCode, 0);
    const RunResult run =
        Run({Data("fn3.sto"), "--no-gaps", "--annotations", "consensus", "-o", Path("rows.png")});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("--no-gaps closes every sequence up")) << run.err.toStdString();
    EXPECT_EQ(QImage(Path("rows.png")).size(), QImage(Path("plain.png")).size());
}

TEST_F(CommandFaults, StructureLinesOfOneSequenceFollowTheChosenSequences) {
    const RunResult three = Run({Data("srp-euk.sto"), "--sequences", "1-3", "-o", Path("three.png")});
    ASSERT_EQ(three.exitCode, 0) << three.err.toStdString();
    ASSERT_EQ(Run({Data("srp-euk.sto"), "--sequences", "1-3", "--no-ss", "-o", Path("bare.png")}).exitCode,
              0);
    // Three sequences, each with its "SS" line: three more lines than without them.
    EXPECT_EQ(QImage(Path("three.png")).height() - QImage(Path("bare.png")).height(), 3 * cells.CellHeight());
    EXPECT_FALSE(Run({Data("srp-euk.sto"), "--ss", "-o", Path("ss.png")}).err.contains("--ss"))
        << "an RNA's own structure is secondary structure too";
}

TEST_F(CommandFaults, OptionsThatDoNothingAreNamed) {
    const std::vector<std::pair<QStringList, const char*>> cases = {
        {{"--no-ruler", "--ruler-origin", "5"}, "--ruler-origin does nothing with --no-ruler"},
        {{"--no-ruler", "--no-ruler-numbers"}, "--no-ruler-numbers does nothing with --no-ruler"},
        {{"--no-gaps", "--ruler-origin", "5"}, "--ruler-origin does nothing with --no-gaps"},
        {{"--view", "300x200", "--annotations", "consensus"}, "--annotations does nothing with --view"},
        {{"--view", "300x200", "--consensus"}, "--consensus does nothing with --view"},
        {{Data("globins50.afa"), "--ss"}, "--ss: no sequence has secondary structure"}};
    for (const auto& [arguments, warning] : cases) {
        const RunResult run = Run(arguments + QStringList{"-o", Path("x.png")});
        EXPECT_EQ(run.exitCode, 0) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(warning))
            << arguments.join(' ').toStdString() << ": " << run.err.toStdString();
    }
    EXPECT_FALSE(Run({Data("fn3.sto"), "--ss", "-o", Path("y.png")}).err.contains("--ss"));
}

TEST_F(CommandFaults, RangesWithChosenColumnsNameTheResiduesShown) {
    WriteFile("two.fa", ">a\nMK-VLA\n>b/10-15\n-MKVLA\n");
    const RunResult run =
        Run({Path("two.fa"), "--ranges", "--columns", "3-4", "--output-format", "svg", "-o", Path("r.svg")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray svg = ReadBytes("r.svg");
    EXPECT_TRUE(svg.contains("a/3-3")) << "column 3 is a gap in a, column 4 its third residue";
    EXPECT_TRUE(svg.contains("b/11-12"));
    EXPECT_FALSE(svg.contains("a/1-5"));
}

TEST_F(CommandFaults, APageHeightThatCannotHoldOneLineIsAUsageError) {
    const RunResult run = Run({Data("fn3.sto"), "--wrap", "60", "--page-height", "10", "-o", Path("p.png")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("--page-height 10 cannot hold one line")) << run.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    // A page that goes on with a block repeats its ruler band: the band, a row with its structure line (as
    // tall as the band) and the white below hold.
    const QString enough = QString::number(2 * cells.RulerBandHeight() + margin);
    const RunResult tooSmall = Run({Data("fn3.sto"), "--wrap", "60", "--page-height",
                                    QString::number(cells.RulerBandHeight() + margin), "-o", Path("p.png")});
    EXPECT_EQ(tooSmall.exitCode, 2) << "a page of the band alone holds no row under it";
    EXPECT_EQ(Run({Data("fn3.sto"), "--wrap", "60", "--page-height", enough, "-o", Path("p.png")}).exitCode,
              0);
}

}  // namespace
