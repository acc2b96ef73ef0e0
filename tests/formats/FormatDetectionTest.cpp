#include <gtest/gtest.h>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

TEST(FormatDetection, RealFilesAreRecognisedFromTheirContent) {
    const std::pair<const char*, Format> files[] = {
        {"fn3.sto", Format::Stockholm},          {"emboss_ecoli6s.aln", Format::Clustal},
        {"jalview_uniref50.fa", Format::Fasta},  {"globins50_hmmalign.a2m", Format::Fasta},
        {"globins50.phy", Format::Phylip},       {"globins50_sequential.phy", Format::Phylip},
        {"globins50.pir", Format::Pir},          {"seaview_nuc.pir", Format::Pir},
        {"globins50.msf", Format::Msf},          {"seaview_nuc.msf", Format::Msf},
        {"seaview_nuc.nex", Format::Nexus},      {"seaview_example.nxs", Format::Nexus},
        {"seaview_nuc.slx", Format::Selex},      {"emboss_r17.selex", Format::Selex},
        {"phyml_nucleic12.phy", Format::Phylip},
    };
    for (const auto& [file, format] : files)
        EXPECT_EQ(Formats::DetectFormat(FileBytes(file)), format) << file;
}

TEST(FormatDetection, LeadingBlankLinesAndOtherAlignersHeadersAreAccepted) {
    EXPECT_EQ(Formats::DetectFormat("\n\n  \n>a\nAC\n"), Format::Fasta);
    EXPECT_EQ(Formats::DetectFormat("MUSCLE (3.8) multiple sequence alignment\n\na AC\n"), Format::Clustal);
    EXPECT_EQ(Formats::DetectFormat("\xEF\xBB\xBF# STOCKHOLM 1.0\n"), Format::Stockholm);
    EXPECT_EQ(Formats::DetectFormat("#A3M#\n>a\nAC\n"), Format::Fasta);
    EXPECT_EQ(Formats::DetectFormat("hello\n"), Format::Auto);
    EXPECT_EQ(Formats::DetectFormat(""), Format::Auto);
}

TEST(FormatDetection, NewFormatsAreToldApartFromTheirFirstLines) {
    EXPECT_EQ(Formats::DetectFormat("[ comment first ]\n#NEXUS\n"), Format::Nexus);
    EXPECT_EQ(Formats::DetectFormat("#nexus\n"), Format::Nexus);
    EXPECT_EQ(Formats::DetectFormat("PileUp\n\n x.msf MSF: 3 Type: P Check: 1 ..\n"), Format::Msf);
    EXPECT_EQ(Formats::DetectFormat("!!NA_MULTIPLE_ALIGNMENT 1.0\n"), Format::Msf);
    EXPECT_EQ(Formats::DetectFormat("#=ID fam\n"), Format::Selex);
    EXPECT_EQ(Formats::DetectFormat("# a comment\nseq1 ACDE..FG\nseq2 ACDEKLFG\n"), Format::Selex);
    // Two words are no alignment: a second row must start its residues in the same column.
    EXPECT_EQ(Formats::DetectFormat("hello world\n"), Format::Auto);
    EXPECT_EQ(Formats::DetectFormat("seq1 ACDE\nsequence2 ACDE\n"), Format::Auto);
    EXPECT_EQ(Formats::DetectFormat("# a comment\n>a\nAC\n"), Format::Fasta);
    EXPECT_EQ(Formats::DetectFormat("seq1 AC1DE\n"), Format::Auto);
}

TEST(FormatDetection, HhSuiteA3mHeaderLineIsSkipped) {
    const auto result = ReadText("#A3M#\n>q\nACkD\n>h\nACD\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->getSequence(1)->getAligned(), "AC.D");
}

TEST(FormatDetection, OverrideBeatsDetection) {
    // A FASTA header whose name looks like PIR still reads as FASTA when asked to.
    const auto result = ReadText(">P1;odd name\nACDE\n", Format::Fasta);
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "P1;odd");
    EXPECT_EQ(result.alignment->getSequence(0)->getDescription(), "name");
    EXPECT_EQ(result.format, Format::Fasta);
}

TEST(FormatDetection, NamesParseCaseInsensitivelyWithCommonExtensions) {
    EXPECT_EQ(Formats::ParseFormatName("FASTA"), Format::Fasta);
    EXPECT_EQ(Formats::ParseFormatName("a3m"), Format::Fasta);
    EXPECT_EQ(Formats::ParseFormatName("aln"), Format::Clustal);
    EXPECT_EQ(Formats::ParseFormatName("Sto"), Format::Stockholm);
    EXPECT_EQ(Formats::ParseFormatName("phy"), Format::Phylip);
    EXPECT_EQ(Formats::ParseFormatName("pir"), Format::Pir);
    EXPECT_EQ(Formats::ParseFormatName("auto"), Format::Auto);
    EXPECT_FALSE(Formats::ParseFormatName("genbank"));
    EXPECT_FALSE(Formats::ParseFormatName(""));
    for (const std::string& name : Formats::FormatNames()) {
        EXPECT_EQ(Formats::FormatName(*Formats::ParseFormatName(name)), name);
    }
    EXPECT_EQ(Formats::ParseFormatName("MSF"), Format::Msf);
    EXPECT_EQ(Formats::ParseFormatName("nex"), Format::Nexus);
    EXPECT_EQ(Formats::ParseFormatName("nxs"), Format::Nexus);
    EXPECT_EQ(Formats::ParseFormatName("Selex"), Format::Selex);
    EXPECT_EQ(Formats::ParseFormatName("slx"), Format::Selex);
    EXPECT_EQ(Formats::FormatNames().size(), 8u);
}
