// Reading the real alignments of every format, and the copies EMBOSS and HMMER made of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "ReaderTestSupport.h"

using namespace formatstest;
using Formats::Format;

namespace {

std::string Ungapped(const std::string& aligned, bool upperCase) {
    std::string residues;
    for (char c : aligned) {
        if (c == '-' || c == '.') continue;
        residues.push_back(upperCase ? char(std::toupper(static_cast<unsigned char>(c))) : c);
    }
    return residues;
}

void ExpectShape(const Formats::ReadResult& result, unsigned sequences, unsigned columns) {
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.alignment->size(), sequences);
    EXPECT_EQ(result.alignment->columnCount(), columns);
    for (const auto& row : Rows(*result.alignment)) EXPECT_EQ(row.second.size(), columns) << row.first;
}

}  // namespace

TEST(ReaderFormats, AlignedFastaKeepsDeflinesAndIsProtein) {
    const auto result = ReadData("jalview_uniref50.fa");
    ExpectShape(result, 15, 157);
    EXPECT_EQ(result.format, Format::Fasta);
    EXPECT_EQ(result.alignment->GetSequenceClass(), SDM::AminoAcid);
    // Labelled by identifier; the description is kept for the full title line.
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "FER_CAPAA");
    EXPECT_EQ(result.alignment->getSequence(1)->getDescription(), "Ferredoxin, chloroplast precursor");
    result.alignment->showNames(SDM::NameStyle::Full, false);
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "FER_CAPAA Ferredoxin");
    EXPECT_EQ(result.alignment->getSequence(1)->getDefline(), "FER_CAPAN Ferredoxin, chloroplast precursor");
    EXPECT_EQ(result.alignment->getSequence(0)->getAligned().substr(59, 8), "ASYKVKLI");
    EXPECT_TRUE(boost::dynamic_pointer_cast<SDM::AASequence>(result.alignment->getSequence(0)));
    EXPECT_EQ(result.alignment->getColorScheme()->name(), "clustal");
}

TEST(ReaderFormats, GzipFileReadsLikeThePlainFile) {
    const auto plain = ReadData("jalview_uniref50.fa");
    const auto compressed = ReadData("jalview_uniref50.fa.gz");
    ASSERT_TRUE(plain.ok() && compressed.ok()) << compressed.error.ToString();
    EXPECT_EQ(Rows(*compressed.alignment), Rows(*plain.alignment));
}

TEST(ReaderFormats, StreamInputIsReadWholeAndDecompressed) {
    // GIVEN the gzip bytes arriving on a stream, as standard input delivers them
    std::istringstream in(FileBytes("jalview_uniref50.fa.gz"));
    const auto fromStream = Formats::ReadAlignmentStream(in, "<stdin>");
    ASSERT_TRUE(fromStream.ok()) << fromStream.error.ToString();
    EXPECT_EQ(Rows(*fromStream.alignment), Rows(*ReadData("jalview_uniref50.fa").alignment));
}

TEST(ReaderFormats, ClustalInterleavedBlocksJoinInNameOrder) {
    const auto ecoli = ReadData("emboss_ecoli6s.aln");
    ExpectShape(ecoli, 7, 203);
    EXPECT_EQ(ecoli.format, Format::Clustal);
    EXPECT_EQ(ecoli.alignment->getSequence(0)->getDefline(), "X01238.1/1-183");
    EXPECT_EQ(ecoli.alignment->getSequence(6)->getDefline(), "AE004317.1/5626");
    EXPECT_EQ(ecoli.alignment->getSequence(0)->getAligned().substr(60, 10), "AAUGUGGCGC");  // second block
    EXPECT_EQ(ecoli.alignment->GetSequenceClass(), SDM::NucleicAcid);
    EXPECT_TRUE(boost::dynamic_pointer_cast<SDM::NASequence>(ecoli.alignment->getSequence(0)));
    EXPECT_EQ(ecoli.alignment->getColorScheme()->name(), "nucleotide");

    const auto seaview = ReadData("seaview_nuc.aln");
    ExpectShape(seaview, 6, 211);
    EXPECT_EQ(seaview.alignment->getSequence(0)->getDefline(), "seq4");
    EXPECT_EQ(seaview.alignment->GetSequenceClass(), SDM::NucleicAcid);
}

TEST(ReaderFormats, PhylipInterleavedAndSequentialMatchTheFastaOriginal) {
    const auto original = ReadData("globins50.afa");
    ExpectShape(original, 50, 171);
    const auto interleaved = ReadData("globins50.phy");
    const auto sequential = ReadData("globins50_sequential.phy");
    ExpectShape(interleaved, 50, 171);
    ExpectShape(sequential, 50, 171);
    EXPECT_EQ(interleaved.format, Format::Phylip);
    EXPECT_EQ(Rows(*interleaved.alignment), Rows(*original.alignment));
    EXPECT_EQ(Rows(*sequential.alignment), Rows(*original.alignment));
}

TEST(ReaderFormats, PhylipRelaxedNamesMayBeLongerThanTenCharacters) {
    const auto result = ReadText(
        " 3 12\nlong_taxon_name_1  ACGTACGTAC GT\nshort  ACGTACGTAC GA\n"
        "another_long_one ACGTACGTAC --\n");
    ExpectShape(result, 3, 12);
    EXPECT_EQ(result.alignment->getSequence(0)->getDefline(), "long_taxon_name_1");
    EXPECT_EQ(result.alignment->getSequence(2)->getAligned(), "ACGTACGTAC--");
}

TEST(ReaderFormats, PirMatchesTheAlignmentItWasMadeFrom) {
    const auto protein = ReadData("globins50.pir");
    ExpectShape(protein, 50, 171);
    EXPECT_EQ(protein.format, Format::Pir);
    EXPECT_EQ(NamedRows(*protein.alignment), Rows(*ReadData("globins50.afa").alignment));
    // The description line is kept apart from the name.
    EXPECT_EQ(protein.alignment->getSequence(0)->getDefline(), "GLB2_MORMR");
    EXPECT_EQ(protein.alignment->getSequence(0)->getDescription(), ", 171 bases");

    const auto dna = ReadData("seaview_nuc.pir");
    ExpectShape(dna, 6, 211);
    EXPECT_EQ(dna.alignment->GetSequenceClass(), SDM::NucleicAcid);
    EXPECT_EQ(NamedRows(*dna.alignment), Rows(*ReadData("seaview_nuc.aln").alignment));
}

TEST(ReaderFormats, DotlessA2mInsertsArePaddedIntoSharedColumns) {
    // GIVEN hmmalign output: upper case and '-' are the 149 match states, lower case are inserts, no '.'
    // padding
    const auto result = ReadData("globins50_hmmalign.a2m");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    const auto rows = Rows(*result.alignment);
    ASSERT_EQ(rows.size(), 50u);
    const auto original = Rows(*ReadData("globins50.afa").alignment);
    const unsigned columns = result.alignment->columnCount();
    EXPECT_GT(columns, 149u);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string& aligned = rows[r].second;
        ASSERT_EQ(aligned.size(), columns) << rows[r].first;
        // THEN every residue survives in order, and every column is all match states or all inserts
        EXPECT_EQ(Ungapped(aligned, true), Ungapped(original[r].second, true)) << rows[r].first;
        EXPECT_EQ(
            std::count_if(aligned.begin(), aligned.end(),
                          [](char c) { return std::isupper(static_cast<unsigned char>(c)) || c == '-'; }),
            149);
    }
    for (unsigned column = 0; column < columns; ++column) {
        const bool insert =
            std::islower(static_cast<unsigned char>(rows[0].second[column])) || rows[0].second[column] == '.';
        for (const auto& row : rows) {
            const char c = row.second[column];
            EXPECT_EQ(insert, std::islower(static_cast<unsigned char>(c)) || c == '.') << "column " << column;
        }
    }
}

TEST(ReaderFormats, DottedA2mIsKeptColumnForColumn) {
    const auto result = ReadText(">a\nAC..gtD-\n>b\nACaa..DE\n");
    ExpectShape(result, 2, 8);
    EXPECT_EQ(result.alignment->getSequence(0)->getAligned(), "AC..gtD-");
    EXPECT_EQ(result.alignment->getSequence(1)->getAligned(), "ACaa..DE");
}

TEST(ReaderFormats, A3mInsertsOfDifferentLengthsLineUp) {
    const auto result = ReadText(">a\nACkkkDE\n>b\nAmC-E\n>c\nACDEw\n");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(Rows(*result.alignment), (std::vector<std::pair<std::string, std::string>>{
                                           {"a", "A.CkkkDE."}, {"b", "AmC...-E."}, {"c", "A.C...DEw"}}));
}

TEST(ReaderFormats, LineEndingsAndByteOrderMarkDoNotMatter) {
    const auto lineFeeds = ReadText(">s1 first\nACDE\nFG\n>s2\nAC-EFG\n");
    const auto windows = ReadText("\xEF\xBB\xBF>s1 first\r\nACDE\r\nFG\r\n>s2\r\nAC-EFG\r\n");
    const auto oldMac = ReadText(">s1 first\rACDE\rFG\r>s2\rAC-EFG\r");
    ASSERT_TRUE(lineFeeds.ok() && windows.ok() && oldMac.ok())
        << windows.error.ToString() << oldMac.error.ToString();
    EXPECT_EQ(Rows(*windows.alignment), Rows(*lineFeeds.alignment));
    EXPECT_EQ(Rows(*oldMac.alignment), Rows(*lineFeeds.alignment));
    EXPECT_EQ(lineFeeds.alignment->getSequence(0)->getAligned(), "ACDEFG");
}

TEST(ReaderFormats, SequenceClassComesFromTheResidues) {
    EXPECT_EQ(ReadText(">a\nACGU-N\n>b\nACGUUA\n").alignment->GetSequenceClass(), SDM::NucleicAcid);
    EXPECT_EQ(ReadText(">a\nMKVLAT\n>b\nMKVLEE\n").alignment->GetSequenceClass(), SDM::AminoAcid);
    // A protein rich in A, C, G and T is still a protein when other amino acids make up more than a tenth.
    EXPECT_EQ(ReadText(">a\nACGTACGTWL\n").alignment->GetSequenceClass(), SDM::AminoAcid);
    const auto missingOnly = ReadText("2 4\na  ?\?--\nb  ?-?-\n");  // no letter to classify
    ASSERT_TRUE(missingOnly.ok()) << missingOnly.error.ToString();
    EXPECT_EQ(missingOnly.alignment->GetSequenceClass(), SDM::UnknownClass);
    EXPECT_EQ(missingOnly.alignment->getColorScheme()->name(), "plain");
}
