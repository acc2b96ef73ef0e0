#include <gtest/gtest.h>

#include "model/AlignmentHelper.h"
#include "support/AlignmentBuilder.h"

namespace {

using Corvane::AlignmentHelper;
using Corvane::FindLongestRowLabel;
using testsupport::AlignmentBuilder;

const std::string kMarker = "        ";

TEST(RowLabelTest, LabelIsIndentedByTwoMoreSpaces) {
    auto built = AlignmentBuilder().Seq("plain", "MK").Seq("child", "MK").Indented().Build();
    EXPECT_EQ(Corvane::MakeRowLabel(*built.sequence(0)), " plain");
    EXPECT_EQ(Corvane::MakeRowLabel(*built.sequence(1)), "   child");
}

TEST(RowLabelTest, MarkerForIndentedAndForTheShownConsensus) {
    auto built = AlignmentBuilder().Seq("a", "MK").Seq("b", "MR").Indented().Consensus(true).Build();
    const auto consensus = built.sequence(2);
    ASSERT_TRUE(consensus);
    EXPECT_FALSE(Corvane::HasLabelMarker(*built.sequence(0), true));
    EXPECT_TRUE(Corvane::HasLabelMarker(*built.sequence(1), false));
    EXPECT_TRUE(Corvane::HasLabelMarker(*consensus, true));
    EXPECT_FALSE(Corvane::HasLabelMarker(*consensus, false));
}

TEST(RowLabelTest, LongestLabelKeepsTheFirstOfATie) {
    auto built = AlignmentBuilder().Seq("abc", "M").Seq("xyz", "M").Seq("ab", "M").Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, false, {});
    EXPECT_EQ(longest, " abc");
    FindLongestRowLabel(helper, longest, false, {2, 1, 0});
    EXPECT_EQ(longest, " xyz") << "the visit order decides a tie";
}

TEST(RowLabelTest, AMeasureOfWidthDecidesInsteadOfTheCharacterCount) {
    auto built = AlignmentBuilder().Seq("iiiiiiii", "M").Seq("WWW", "M").Seq("iiiiiii", "M").Build();
    AlignmentHelper helper(*built.view);
    const auto wideW = [](const std::string& label) {
        double width = 0;
        for (char letter : label) width += letter == 'W' ? 4 : 1;
        return width;
    };
    std::string longest;
    FindLongestRowLabel(helper, longest, false, {}, wideW);
    EXPECT_EQ(longest, " WWW");
    FindLongestRowLabel(helper, longest, false, {});
    EXPECT_EQ(longest, " iiiiiiii");
}

TEST(RowLabelTest, MarkerAndIndentCountTowardsTheLength) {
    auto built = AlignmentBuilder().Seq("longername", "M").Seq("kid", "M").Indented().Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, false, {});
    EXPECT_EQ(longest, "   kid" + kMarker);
}

TEST(RowLabelTest, StructureKeysCountOnlyWithOneLetterPerResidue) {
    auto built = AlignmentBuilder(SDM::AminoAcid)
                     .Seq("aaaa", "MK-LV")
                     .Structure("zeta", "HHSC")
                     .Structure("alpha", "HHC")  // shorter than the sequence
                     .NullStructure("beta")
                     .Seq("bbbbbbbbb", "MKLV")
                     .Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, true, {0});
    EXPECT_EQ(longest, " aaaa(zeta)");
    FindLongestRowLabel(helper, longest, true, {});
    EXPECT_EQ(longest, " aaaa(zeta)") << "a tie of 10 characters keeps the earlier row";
    FindLongestRowLabel(helper, longest, false, {});
    EXPECT_EQ(longest, " bbbbbbbbb");
}

TEST(RowLabelTest, EachStructureLineIsALabelOfItsOwnInKeyOrder) {
    auto built =
        AlignmentBuilder(SDM::AminoAcid).Seq("s", "MK").Structure("bb", "HH").Structure("a", "SS").Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, true, {});
    EXPECT_EQ(longest, " s(bb)");
}

// Two hundred keys do not make a name column two hundred keys wide: the longest line drawn is one key's.
TEST(RowLabelTest, ManyStructureKeysKeepTheLongestLabelToOneLine) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("protein", "MKV");
    for (int key = 0; key < 200; ++key) builder.Structure("key" + std::to_string(key), "HHC");
    auto built = builder.Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, true, {});
    EXPECT_EQ(longest, " protein(key100)");
}

TEST(RowLabelTest, RowsWithoutSequenceLeaveTheResultAlone) {
    auto built = AlignmentBuilder().Seq("a", "M").Build();
    AlignmentHelper helper(*built.view);
    std::string longest = "unchanged";
    FindLongestRowLabel(helper, longest, true, {5, 9});
    EXPECT_EQ(longest, "unchanged");

    SQV::SVAlignment noModel{boost::shared_ptr<SDM::Alignment>()};
    FindLongestRowLabel(AlignmentHelper(noModel), longest, true, {});
    EXPECT_EQ(longest, "unchanged");
}

TEST(RowLabelTest, LengthIsCountedInCharactersNotBytes) {
    // "αβγ" is 3 characters in 6 bytes; "abcde" is 5 characters.
    auto built = AlignmentBuilder().Seq("\xCE\xB1\xCE\xB2\xCE\xB3", "M").Seq("abcde", "M").Build();
    AlignmentHelper helper(*built.view);
    std::string longest;
    FindLongestRowLabel(helper, longest, false, {});
    EXPECT_EQ(longest, " abcde");
}

}  // namespace
