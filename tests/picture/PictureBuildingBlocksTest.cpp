// Unit tests of the picture library's building blocks: sequence and column lists, output names and
// formats, page breaks and the choice of annotation rows.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QTemporaryDir>
#include <set>

#include "formats/AlignmentReader.h"
#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/AnnotationChoice.h"
#include "msarender/picture/FileOutput.h"
#include "msarender/picture/SequenceSelection.h"
#include "sdm/schemes/ColorSchemes.h"
#include "support/AlignmentBuilder.h"

namespace {

TEST(ColumnLists, RangesAreOneBasedAndKeepTheirOrder) {
    const ColumnList list = ParseColumns(QStringLiteral("3-5,1, 9"), 10);
    ASSERT_TRUE(list.error.isEmpty());
    EXPECT_EQ(list.columns, (std::vector<unsigned>{2, 3, 4, 0, 8}));
}

TEST(ColumnLists, MalformedOrOutOfRangeListsAreRefused) {
    EXPECT_FALSE(ParseColumns(QStringLiteral("5-3"), 10).error.isEmpty());
    EXPECT_FALSE(ParseColumns(QStringLiteral("0"), 10).error.isEmpty());
    EXPECT_FALSE(ParseColumns(QStringLiteral("1-2-3"), 10).error.isEmpty());
    EXPECT_FALSE(ParseColumns(QStringLiteral("x"), 10).error.isEmpty());
    EXPECT_FALSE(ParseColumns(QStringLiteral("10-11"), 10).error.isEmpty());
    EXPECT_FALSE(ParseColumns(QStringLiteral(","), 10).error.isEmpty());
}

TEST(SequenceLists, NamesFirstWordsAndNumbersResolveInTheOrderGiven) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("alpha first sequence", "MKV").Seq("beta", "MKA").Seq("gamma", "MKL");
    const testsupport::BuiltAlignment built = builder.Build();
    const SequenceList list = ResolveSequences(*built.model, QStringLiteral("gamma,1,alpha first sequence"));
    ASSERT_TRUE(list.error.isEmpty()) << list.error.toStdString();
    EXPECT_EQ(list.indexes, (std::vector<unsigned>{2, 0, 0}));
    EXPECT_FALSE(ResolveSequences(*built.model, QStringLiteral("delta")).error.isEmpty());
    EXPECT_FALSE(ResolveSequences(*built.model, QStringLiteral("4")).error.isEmpty());
}

TEST(SequenceLists, IndexRangesStandForEveryIndexInThemUnlessASequenceHasThatName) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("alpha", "MKV").Seq("beta", "MKA").Seq("2-3", "MKL").Seq("delta", "MKI");
    const testsupport::BuiltAlignment built = builder.Build();
    EXPECT_EQ(ResolveSequences(*built.model, QStringLiteral("1-2,4")).indexes,
              (std::vector<unsigned>{0, 1, 3}));
    EXPECT_EQ(ResolveSequences(*built.model, QStringLiteral("2-3")).indexes, (std::vector<unsigned>{2}));
    EXPECT_FALSE(ResolveSequences(*built.model, QStringLiteral("3-1")).error.isEmpty());
    EXPECT_FALSE(ResolveSequences(*built.model, QStringLiteral("3-9")).error.isEmpty());
    EXPECT_FALSE(ResolveSequences(*built.model, QStringLiteral("1-")).error.isEmpty());
}

TEST(OutputNames, FormatFollowsTheExtensionAndStandardOutputIsPng) {
    EXPECT_EQ(OutputFormatOfPath(QStringLiteral("-")), OutputFormat::Png);
    EXPECT_EQ(OutputFormatOfPath(QStringLiteral("fig.PNG")), OutputFormat::Png);
    EXPECT_EQ(OutputFormatOfPath(QStringLiteral("fig.jpeg")), OutputFormat::Jpeg);
    EXPECT_EQ(OutputFormatOfPath(QStringLiteral("dir.v2/fig.jpg")), OutputFormat::Jpeg);
    EXPECT_EQ(OutputFormatOfPath(QStringLiteral("fig.Eps")), OutputFormat::Eps);
    EXPECT_FALSE(OutputFormatOfPath(QStringLiteral("fig.tiff")));
    EXPECT_FALSE(OutputFormatOfPath(QStringLiteral("fig")));
    EXPECT_FALSE(OutputFormatNamed(QStringLiteral("gif")));
}

TEST(OutputNames, EveryFormatIsNamedAndGivenASuffixThatReadsBackAsItself) {
    for (OutputFormat format :
         {OutputFormat::Png, OutputFormat::Jpeg, OutputFormat::Bmp, OutputFormat::Ppm, OutputFormat::Svg,
          OutputFormat::Pdf, OutputFormat::Eps, OutputFormat::Html}) {
        EXPECT_EQ(OutputFormatNamed(QString::fromLatin1(OutputFormatName(format))), format);
        EXPECT_EQ(OutputFormatOfPath("x." + OutputSuffix(format)), format);
    }
    EXPECT_EQ(OutputSuffix(OutputFormat::Jpeg), QStringLiteral("jpg"));
    EXPECT_TRUE(IsVectorFormat(OutputFormat::Pdf));
    EXPECT_FALSE(IsVectorFormat(OutputFormat::Bmp));
}

TEST(OutputNames, TheSameFileIsFoundThroughLinksAndOtherPaths) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("aln.png"));
    QFile created(file);
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    created.close();
    ASSERT_TRUE(QFile::link(file, dir.filePath(QStringLiteral("link.png"))));
    EXPECT_TRUE(IsSameFile(file, dir.filePath(QStringLiteral("link.png"))));
    EXPECT_TRUE(IsSameFile(file, dir.path() + QStringLiteral("/./aln.png")));
    EXPECT_FALSE(IsSameFile(file, dir.filePath(QStringLiteral("other.png"))));  // does not exist
    QFile other(dir.filePath(QStringLiteral("other.png")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_FALSE(IsSameFile(file, other.fileName()));
}

TEST(OutputNames, PageNumbersGoBeforeTheExtensionAndKeepTheFolder) {
    EXPECT_EQ(PagePath(QStringLiteral("out.png"), 3), QStringLiteral("out-003.png"));
    EXPECT_EQ(PagePath(QStringLiteral("dir/out.png"), 12), QStringLiteral("dir/out-012.png"));
    EXPECT_EQ(PagePath(QStringLiteral("./out.png"), 1), QStringLiteral("./out-001.png"));
}

// A plan of `blocks` blocks, each a band of 20 rows and `rows` rows of `rowHeight`.
RenderSequenceData::PicturePlan PlanOfBlocks(int blocks, int rows, int rowHeight) {
    using Line = RenderSequenceData::PicturePlan::Line;
    RenderSequenceData::PicturePlan plan;
    for (int block = 0; block < blocks; ++block) {
        plan.blockStarts.push_back(plan.lines.size());
        plan.lines.push_back(Line{Line::Kind::RulerBand, plan.height, 20, 0, 0, 0, 0});
        plan.height += 20;
        for (int row = 0; row < rows; ++row) {
            plan.lines.push_back(Line{Line::Kind::Row, plan.height, rowHeight, unsigned(row), 0, 0, 0});
            plan.height += rowHeight;
        }
    }
    return plan;
}

std::vector<std::int64_t> PageTops(const std::vector<AlignmentPicture::Page>& pages) {
    std::vector<std::int64_t> tops;
    for (const AlignmentPicture::Page& page : pages) tops.push_back(page.top);
    return tops;
}

TEST(PageBreaks, PagesHoldWholeBlocksWhereTheyFit) {
    const auto plan = PlanOfBlocks(5, 8, 10);  // blocks of 100 rows
    const auto pages = PlanPageBreaks(plan, 250);
    EXPECT_EQ(PageTops(pages), (std::vector<std::int64_t>{0, 200, 400}));
    EXPECT_EQ(pages.back().height, 100);
}

TEST(PageBreaks, ABlockTallerThanAPageBreaksBetweenRows) {
    const auto plan = PlanOfBlocks(2, 30, 10);  // blocks of 320 rows
    std::set<std::int64_t> lineTops;
    for (const auto& line : plan.lines) lineTops.insert(line.top);
    std::int64_t covered = 0;
    for (const AlignmentPicture::Page& page : PlanPageBreaks(plan, 105)) {
        EXPECT_EQ(page.top, covered);
        EXPECT_LE(page.OutputHeight(), 105);
        EXPECT_TRUE(lineTops.count(page.top)) << "the page at " << page.top << " cuts a row";
        // A page that starts inside a block repeats that block's band; one that starts a block has its own.
        const std::int64_t blockTop = page.top < 320 ? 0 : 320;
        EXPECT_EQ(page.rulerHeight, page.top == blockTop ? 0 : 20) << page.top;
        if (page.rulerHeight > 0) {
            EXPECT_EQ(page.rulerTop, blockTop) << page.top;
        }
        covered += page.height;
    }
    EXPECT_EQ(covered, plan.height);
}

TEST(PageBreaks, NoPageHeightOrAShortPictureIsOnePageAndAnOversizedRowGetsItsOwn) {
    const auto plan = PlanOfBlocks(3, 4, 10);
    EXPECT_EQ(PlanPageBreaks(plan, 0).size(), 1u);
    EXPECT_EQ(PlanPageBreaks(plan, plan.height).size(), 1u);
    const auto tallRows = PlanOfBlocks(1, 3, 50);
    const auto pages = PlanPageBreaks(tallRows, 30);  // every item is taller than a page
    EXPECT_EQ(PageTops(pages), (std::vector<std::int64_t>{0, 20, 70, 120}));
}

SDM::Alignment& WithColumnLines(SDM::Alignment& alignment) {
    alignment.addColumnAnnotation({"SS_cons", "HH-E", 7});
    alignment.addColumnAnnotation({"RF", "xx.x", 8});
    alignment.addSkippedAnnotation({"#=GR AS", "", 9});
    return alignment;
}

TEST(AnnotationChoiceTest, RowsComeInTheOrderAskedAndTheRestIsNamedOnOneLine) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("a", "ACDE").Seq("b", "ACDF").Build();
    const AnnotationChoice choice =
        ChooseAnnotations(WithColumnLines(*built.model), {"occupancy", "SS_CONS", "consensus"});
    ASSERT_EQ(choice.rows.size(), 3u);
    EXPECT_EQ(choice.rows[0].label, "Occupancy");
    EXPECT_EQ(choice.rows[1].label, "SS_cons");
    EXPECT_TRUE(choice.rows[1].cartoon);
    EXPECT_EQ(choice.rows[2].label, "Consensus");
    ASSERT_EQ(choice.warnings.size(), 1);
    EXPECT_EQ(choice.warnings[0],
              "annotations not drawn: #=GC RF (line 8; --annotations rf), #=GR AS (line 9)");
}

TEST(AnnotationChoiceTest, AllDrawsEveryRowAndNothingIsLeftToName) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("a", "ACDE").Build();
    SDM::Alignment& alignment = *built.model;
    alignment.addColumnAnnotation({"RF", "xx.x", 8});
    const AnnotationChoice choice = ChooseAnnotations(alignment, {"all"});
    EXPECT_EQ(choice.rows.size(), 4u);
    EXPECT_TRUE(choice.warnings.isEmpty()) << choice.warnings.join('\n').toStdString();
}

TEST(AnnotationChoiceTest, LogosAndQualityAreDrawnWhenNamedAndNotByAll) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("a", "WCDE").Seq("b", "WCDF").Build();
    SDM::Alignment& alignment = *built.model;
    alignment.setColorScheme(SDM::MakeColorScheme("zappo"));
    EXPECT_EQ(ChooseAnnotations(alignment, {"all"}).rows.size(), 3u);  // what "all" always drew
    const AnnotationChoice logo = ChooseAnnotations(alignment, {"logo", "quality", "logo:frequency"});
    ASSERT_EQ(logo.rows.size(), 7u);
    for (unsigned line = 0; line < 3; ++line) {
        EXPECT_EQ(logo.rows[line].logo, logo.rows[0].logo);
        EXPECT_EQ(logo.rows[line].logoLine, line);
    }
    EXPECT_EQ(logo.rows[0].label, "Logo");
    EXPECT_EQ(logo.rows[1].label, "(bits)");
    EXPECT_EQ(logo.rows[3].label, "Quality");
    EXPECT_EQ(logo.rows[5].label, "(share)");
    EXPECT_NE(logo.rows[4].logo, logo.rows[0].logo);
    // Column 4 holds E and F once each: two letters, coloured as the scheme colours them there.
    const std::vector<LogoLetter>& stack = logo.rows[0].logo->columns[3];
    ASSERT_EQ(stack.size(), 2u);
    const SDM::ResidueColors zappoE = SDM::MakeColorScheme("zappo")->colorsAt('E', 3);
    EXPECT_EQ(stack[0].letter, 'E');
    EXPECT_EQ(QColor::fromRgba(stack[0].colour),
              QColor(zappoE.background.Red(), zappoE.background.Green(), zappoE.background.Blue()));
    // By frequency each letter is its share of the rows: one of two.
    EXPECT_FLOAT_EQ(logo.rows[4].logo->columns[3][1].height, 0.5f);
    EXPECT_TRUE(logo.warnings.isEmpty());
}

TEST(AnnotationChoiceTest, NucleicAcidsGetNoConservationButASayingWhy) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::NucleicAcid).Seq("a", "ACGU").Build();
    const AnnotationChoice choice = ChooseAnnotations(*built.model, {"consensus", "conservation", "quality"});
    ASSERT_EQ(choice.rows.size(), 1u);
    EXPECT_EQ(choice.rows[0].label, "Consensus");
    ASSERT_EQ(choice.warnings.size(), 2);
    EXPECT_TRUE(choice.warnings[0].contains("amino acids only"));
    EXPECT_TRUE(choice.warnings[1].startsWith("quality is scored for amino acids only"));
}

TEST(AnnotationChoiceTest, OfferedRowsAreTheComputedOnesAndEachTagOnceAndEachMakesItsRow) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("a", "ACDE").Seq("b", "ACDF").Build();
    SDM::Alignment& alignment = WithColumnLines(*built.model);
    alignment.addColumnAnnotation({"rf", "x..x", 10});  // the same tag in another case
    const std::vector<AnnotationOffer> offers = OfferedAnnotations(alignment);
    QStringList names;
    for (const AnnotationOffer& offer : offers) names << offer.name;
    EXPECT_EQ(names, (QStringList{"consensus", "conservation", "occupancy", "quality", "logo",
                                  "logo:frequency", "ss_cons", "rf"}));
    EXPECT_EQ(offers[5].title, "Logo by frequency");
    EXPECT_EQ(offers[6].title, "#=GC SS_cons");
    // Each offered name on its own draws what it offers: the tag draws both of its lines.
    EXPECT_EQ(ChooseAnnotations(alignment, {"rf"}).rows.size(), 2u);
    for (const AnnotationOffer& offer : offers)
        EXPECT_FALSE(ChooseAnnotations(alignment, {offer.name}).rows.empty()) << offer.name.toStdString();
}

// 259 "#=GR SS" lines of the SRP alignment: one row each, unless the sequence is hidden or not chosen.
// A sequence's own structure is a line under it, not a row below the block: "ss" asks for nothing more
// and says so, "all" draws the file's #=GC lines and the computed rows only.
TEST(AnnotationChoiceTest, SequenceStructuresAreNoRowsBelowTheBlock) {
    const Formats::ReadResult read = Formats::ReadAlignmentFile(MSARENDER_TEST_DATA "/srp-euk.sto");
    ASSERT_TRUE(read.ok()) << read.error.ToString();
    SDM::Alignment& alignment = *read.alignment;
    const AnnotationChoice structures = ChooseAnnotations(alignment, {"ss"});
    EXPECT_TRUE(structures.rows.empty());
    const QString warnings = structures.warnings.join('\n');
    EXPECT_TRUE(warnings.contains("--annotations ss: #=GR SS lines stand under their sequences"))
        << warnings.toStdString();
    EXPECT_FALSE(warnings.contains("#=GR SS of")) << "nothing left undrawn";
    const AnnotationChoice all = ChooseAnnotations(alignment, {"all"});
    for (const AnnotationRow& row : all.rows)
        EXPECT_EQ(row.label.find(" SS"), std::string::npos) << row.label;
    for (const AnnotationOffer& offer : OfferedAnnotations(alignment)) EXPECT_NE(offer.name, "ss");
}

// Rows computed from the alignment describe the sequences drawn: three hidden WWWW rows do not outvote the
// two MKVL rows shown, and a shown one left out of the list counts for nothing.
TEST(AnnotationChoiceTest, ComputedRowsCountOnlyTheSequencesShown) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("a", "MKVL").Seq("b", "MKVL");
    for (const char* name : {"w1", "w2", "w3"}) builder.Seq(name, "WWWW").Hidden();
    builder.Seq("x", "WWWW");
    const testsupport::BuiltAlignment built = builder.Build();
    const AnnotationChoice shown = ChooseAnnotations(*built.model, {"consensus"});
    ASSERT_EQ(shown.rows.size(), 1u);
    EXPECT_EQ(shown.rows[0].symbols, "MKVL");
    EXPECT_NEAR(shown.rows[0].heights[0], 2.0 / 3.0, 1e-6);
    const AnnotationChoice listed = ChooseAnnotations(*built.model, {"consensus", "occupancy"}, {0, 1});
    ASSERT_EQ(listed.rows.size(), 2u);
    EXPECT_EQ(listed.rows[0].symbols, "MKVL");
    EXPECT_EQ(listed.rows[0].heights, (std::vector<float>{1, 1, 1, 1}));
    EXPECT_EQ(listed.rows[1].heights, (std::vector<float>{1, 1, 1, 1}));
}

TEST(AnnotationChoiceTest, NucleicAcidsAreOfferedNoConservationNorQuality) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::NucleicAcid).Seq("a", "ACGU").Build();
    QStringList names;
    for (const AnnotationOffer& offer : OfferedAnnotations(*built.model)) names << offer.name;
    EXPECT_EQ(names, (QStringList{"consensus", "occupancy", "logo", "logo:frequency"}));
}

TEST(AnnotationChoiceTest, NothingAskedAndNothingInTheFileGivesNoRowsAndNoWarning) {
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("a", "ACDE").Build();
    const AnnotationChoice choice = ChooseAnnotations(*built.model, {});
    EXPECT_TRUE(choice.rows.empty());
    EXPECT_TRUE(choice.warnings.isEmpty());
}

}  // namespace
