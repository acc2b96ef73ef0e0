// Unit tests of the msarender command's option parsing.
#include <gtest/gtest.h>

#include "CliOptions.h"

namespace {

ParsedCommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("msarender"));
    return ParseCommandLine(arguments);
}

TEST(CommandLineParsing, DefaultsDrawTheBundledExampleUnwrapped) {
    const ParsedCommandLine parsed = Parse({});
    ASSERT_TRUE(parsed.usageError.isEmpty());
    EXPECT_TRUE(parsed.options.inputs.isEmpty());
    EXPECT_FALSE(parsed.options.picture.wrap);
    EXPECT_TRUE(parsed.options.picture.showRuler);
    EXPECT_FALSE(parsed.options.view.has_value());
}

TEST(CommandLineParsing, ReadsNumbersSizesAndViewGeometry) {
    const ParsedCommandLine parsed = Parse(
        {"a.sto", "--wrap", "60", "--max-input", "64M", "--view", "800x600+10+300", "--font-size", "12"});
    ASSERT_TRUE(parsed.usageError.isEmpty()) << parsed.usageError.toStdString();
    EXPECT_TRUE(parsed.options.picture.wrap);
    EXPECT_EQ(parsed.options.picture.residuesPerLine, 60);
    EXPECT_EQ(parsed.options.maxInputBytes, std::size_t(64) << 20);
    EXPECT_EQ(parsed.options.picture.fontSize, 12);
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
          QStringList{"--view", "100x100+5"}, QStringList{"--view", "100x100+99999999999+0"},
          QStringList{"--view", "100x100+0+2147483648"}, QStringList{"--ruler-origin", "0"},
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

TEST(CommandLineParsing, WrapZeroFitsTheWidthAndOutputTypesAreNamedAsSuffixes) {
    const ParsedCommandLine parsed =
        Parse({"a.sto", "--wrap", "0", "--width", "800", "--output-format", "JPG"});
    ASSERT_TRUE(parsed.usageError.isEmpty()) << parsed.usageError.toStdString();
    EXPECT_TRUE(parsed.options.picture.wrap);
    EXPECT_EQ(parsed.options.picture.residuesPerLine, PictureSettings::kFitToWidth);
    EXPECT_EQ(parsed.options.picture.width, 800);
    EXPECT_EQ(parsed.options.outputFormat, OutputFormat::Jpeg);
    EXPECT_FALSE(Parse({"a.sto", "--output-format", "x.png"}).usageError.isEmpty());
}

TEST(CommandLineParsing, AnnotationsAreAListInTheOrderGiven) {
    const ParsedCommandLine parsed = Parse({"a.sto", "--annotations", "occupancy, consensus,,rf"});
    ASSERT_TRUE(parsed.usageError.isEmpty());
    EXPECT_EQ(parsed.options.picture.annotationRows, (QStringList{"occupancy", "consensus", "rf"}));
    EXPECT_TRUE(Parse({"a.sto"}).options.picture.annotationRows.isEmpty());
}

}  // namespace
