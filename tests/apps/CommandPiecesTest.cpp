// Unit tests of the msarender command's pieces: option parsing, sequence and column lists, output names.
#include <gtest/gtest.h>

#include "CliOptions.h"
#include "ImageOutput.h"
#include "SequenceSelection.h"
#include "support/AlignmentBuilder.h"

namespace {

ParsedCommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("msarender"));
    return ParseCommandLine(arguments);
}

TEST(CommandLineParsing, DefaultsDrawTheBundledExampleUnwrapped) {
    const ParsedCommandLine parsed = Parse({});
    ASSERT_TRUE(parsed.usageError.isEmpty());
    EXPECT_TRUE(parsed.options.inputs.isEmpty());
    EXPECT_EQ(parsed.options.wrap, -1);
    EXPECT_TRUE(parsed.options.ruler);
    EXPECT_FALSE(parsed.options.view.has_value());
}

TEST(CommandLineParsing, ReadsNumbersSizesAndViewGeometry) {
    const ParsedCommandLine parsed = Parse(
        {"a.sto", "--wrap", "60", "--max-input", "64M", "--view", "800x600+10+300", "--font-size", "12"});
    ASSERT_TRUE(parsed.usageError.isEmpty()) << parsed.usageError.toStdString();
    EXPECT_EQ(parsed.options.wrap, 60);
    EXPECT_EQ(parsed.options.maxInputBytes, std::size_t(64) << 20);
    EXPECT_EQ(parsed.options.fontSize, 12);
    ASSERT_TRUE(parsed.options.view.has_value());
    EXPECT_EQ(parsed.options.view->width, 800);
    EXPECT_EQ(parsed.options.view->height, 600);
    EXPECT_EQ(parsed.options.view->left, 10);
    EXPECT_EQ(parsed.options.view->top, 300);
}

TEST(CommandLineParsing, OutOfRangeValuesAreUsageErrors) {
    for (const QStringList& arguments :
         {QStringList{"--wrap", "-1"}, QStringList{"--font-size", "0"}, QStringList{"--font-size", "201"},
          QStringList{"--max-input", "0"}, QStringList{"--max-input", "12T"}, QStringList{"--view", "0x10"},
          QStringList{"--view", "100x100+5"}, QStringList{"--ruler-origin", "0"},
          QStringList{"--scheme", "rainbow"}, QStringList{"--format", "genbank"},
          QStringList{"--no-such-option"}}) {
        EXPECT_FALSE(Parse(arguments).usageError.isEmpty()) << arguments.join(' ').toStdString();
    }
}

TEST(CommandLineParsing, ConflictingOutputsAreUsageErrors) {
    EXPECT_FALSE(Parse({"a.sto", "b.sto"}).usageError.isEmpty());  // several inputs need -O
    EXPECT_FALSE(Parse({"a.sto", "-o", "x.png", "-O", "dir"}).usageError.isEmpty());
    EXPECT_FALSE(Parse({"-", "-", "-O", "dir"}).usageError.isEmpty());
    EXPECT_TRUE(Parse({"a.sto", "b.sto", "-O", "dir"}).usageError.isEmpty());
}

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

TEST(OutputNames, FormatFollowsTheExtensionAndStandardOutputIsPng) {
    EXPECT_EQ(ImageFormatFor(QStringLiteral("-")), QByteArray("png"));
    EXPECT_EQ(ImageFormatFor(QStringLiteral("fig.PNG")), QByteArray("png"));
    EXPECT_EQ(ImageFormatFor(QStringLiteral("fig.jpeg")), QByteArray("jpeg"));
    EXPECT_TRUE(ImageFormatFor(QStringLiteral("fig.tiff")).isEmpty());
    EXPECT_TRUE(ImageFormatFor(QStringLiteral("fig")).isEmpty());
}

TEST(OutputNames, PageNumbersGoBeforeTheExtensionAndKeepTheFolder) {
    EXPECT_EQ(PagePath(QStringLiteral("out.png"), 3), QStringLiteral("out-003.png"));
    EXPECT_EQ(PagePath(QStringLiteral("dir/out.png"), 12), QStringLiteral("dir/out-012.png"));
    EXPECT_EQ(PagePath(QStringLiteral("./out.png"), 1), QStringLiteral("./out-001.png"));
}

}  // namespace
