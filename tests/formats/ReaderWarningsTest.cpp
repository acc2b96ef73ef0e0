// Nothing is dropped quietly: skipped text gets a warning with its line, and an alignment without residues
// is an error rather than an empty picture.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

TEST(ReaderWarnings, TextAfterTheStockholmEndIsReportedOnce) {
    const auto result = ReadText("# STOCKHOLM 1.0\ns1 ACDE\n//\n\n>fasta appended\nACDE\n>more\nAC\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_EQ(result.warnings[0].file, "test.txt");
    EXPECT_EQ(result.warnings[0].line, 5);
    EXPECT_NE(result.warnings[0].message.find("after the closing '//'"), std::string::npos);
}

TEST(ReaderWarnings, FurtherStockholmAlignmentsAreNoTrailingText) {
    const std::string two = "# STOCKHOLM 1.0\ns1 ACDE\n//\n# STOCKHOLM 1.0\nt1 KLMN\n//\n";
    // Only the note that there are two, not a complaint about the second.
    ASSERT_EQ(ReadText(two).warnings.size(), 1u);
    EXPECT_EQ(ReadText(two).warnings[0].line, 0);
    const auto withTail = ReadText(two + "tail\n");
    ASSERT_EQ(withTail.warnings.size(), 2u);
    EXPECT_EQ(withTail.warnings[0].line, 7);
}

TEST(ReaderWarnings, CleanFilesHaveNoWarnings) {
    for (const char* file :
         {"fn3.sto", "globins50.msf", "seaview_nuc.slx", "globins50.phy", "jalview_uniref50.fa"}) {
        const auto result = ReadData(file);
        ASSERT_TRUE(result.ok()) << result.error.ToString();
        EXPECT_TRUE(result.warnings.empty()) << file << ": " << result.warnings.front().ToString();
    }
}

TEST(ReaderWarnings, AlignmentWithoutResiduesIsAnError) {
    const std::pair<std::string, Format> inputs[] = {
        {">a\n>b\n", Format::Fasta},
        {">a\n---\n>b\n...\n", Format::Fasta},
        {"CLUSTAL W\n\na ----\nb ----\n", Format::Clustal},
        {"2 3\na  ---\nb  ---\n", Format::Phylip},
    };
    for (const auto& [text, format] : inputs) {
        const auto result = ReadText(text, format);
        ASSERT_FALSE(result.ok()) << text;
        EXPECT_EQ(
            result.error.ToString(),
            "test.txt: the alignment holds no residues (every sequence is empty or only gaps): nothing to "
            "draw");
    }
    // One residue anywhere is enough, and so is missing data.
    EXPECT_TRUE(ReadText(">a\n--\n>b\n-K\n").ok());
    EXPECT_TRUE(ReadText("2 2\na  ?-\nb  --\n").ok());
}
