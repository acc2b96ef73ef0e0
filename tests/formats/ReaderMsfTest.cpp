// GCG MSF: the real globins50.msf of EMBOSS's test data and an MSF that seqret wrote.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

namespace {

void ExpectErrorAt(const std::string& text, long line, const std::string& fragment) {
    const auto result = ReadText(text, Format::Msf);
    ASSERT_FALSE(result.ok()) << text;
    EXPECT_EQ(result.error.line, line) << result.error.ToString();
    EXPECT_NE(result.error.message.find(fragment), std::string::npos) << result.error.ToString();
}

const char kHeader[] =
    "!!AA_MULTIPLE_ALIGNMENT 1.0\n"  // line 1
    "\n"
    "  t.msf MSF: 8 Type: P Check: 1 ..\n"
    "\n"
    " Name: a Len: 8 Check: 1 Weight: 1.00\n"  // line 5
    " Name: b Len: 8 Check: 1 Weight: 1.00\n"
    "\n"
    "//\n"
    "\n"
    "           1                8\n";  // line 10

}  // namespace

TEST(ReaderMsf, GlobinsReadToTheSameModelAsTheirFastaCopy) {
    const auto msf = ReadData("globins50.msf");
    const auto fasta = ReadData("globins50.afa");
    ASSERT_TRUE(msf.ok()) << msf.error.ToString();
    ASSERT_TRUE(fasta.ok()) << fasta.error.ToString();
    EXPECT_EQ(msf.format, Format::Msf);
    EXPECT_EQ(msf.alignment->GetSequenceClass(), SDM::AminoAcid);
    // MSF writes gaps as '.'; seqret's FASTA copy as '-': both are the model's '-'.
    EXPECT_EQ(NamedRows(*msf.alignment), NamedRows(*fasta.alignment));
    EXPECT_TRUE(msf.warnings.empty());
}

TEST(ReaderMsf, SeqretOutputWithTildeGapsMatchesThePirOriginal) {
    const auto msf = ReadData("seaview_nuc.msf");
    const auto pir = ReadData("seaview_nuc.pir");
    ASSERT_TRUE(msf.ok()) << msf.error.ToString();
    EXPECT_EQ(msf.format, Format::Msf);
    EXPECT_EQ(msf.alignment->GetSequenceClass(), SDM::NucleicAcid);
    EXPECT_EQ(NamedRows(*msf.alignment), NamedRows(*pir.alignment));
}

TEST(ReaderMsf, RowsFollowTheHeaderOrderWhateverTheBlockOrder) {
    const auto result = ReadText(std::string(kHeader) + "b ACDE FGHI\na ..DE ~~HI\n", Format::Msf);
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(Rows(*result.alignment),
              (std::vector<std::pair<std::string, std::string>>{{"a", "--DE--HI"}, {"b", "ACDEFGHI"}}));
}

TEST(ReaderMsf, BadFilesNameTheLine) {
    ExpectErrorAt(std::string(kHeader) + "a ACDEFGHI\nc ACDEFGHI\n", 12, "'c' is not listed in the header");
    ExpectErrorAt(std::string(kHeader) + "a ACDEFGHI\nb ACDEFGH\n", 6,
                  "'b' has 7 columns, expected 8 from its Len");
    ExpectErrorAt(std::string(kHeader) + "a ACDE1GHI\n", 11, "unexpected '1' in sequence 'a'");
    ExpectErrorAt(" Name: a Len: 3\n Name: a Len: 3\n//\n", 2, "listed twice");
    ExpectErrorAt(" Name: a Len: 3\na ACD\n", 0, "no '//'");
    ExpectErrorAt("x MSF: 3 ..\n//\n", 0, "no 'Name:' lines");
}
