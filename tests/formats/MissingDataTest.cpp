// Missing data ('?' of PHYLIP and NEXUS) is its own residue code, drawn unlike a gap in every scheme.
#include <gtest/gtest.h>

#include "ReaderTestSupport.h"
#include "sdm/schemes/ColorSchemes.h"
#include "sdm/schemes/TableColorScheme.h"

using namespace formatstest;
using Formats::Format;

namespace {

bool SameColors(const SDM::ResidueColors& a, const SDM::ResidueColors& b) {
    return a.background == b.background && a.text == b.text;
}

}  // namespace

TEST(MissingData, PhymlExampleKeepsQuestionMarksApartFromGaps) {
    // GIVEN  tax3  ?????????? TAACGGCGAG ...  and  tax7  ?T-GCCCTAG ...
    const auto result = ReadData("phyml_nucleic12.phy");
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    EXPECT_EQ(result.format, Format::Phylip);
    EXPECT_EQ(result.alignment->size(), 12u);
    EXPECT_EQ(result.alignment->columnCount(), 60u);
    EXPECT_EQ(result.alignment->GetSequenceClass(), SDM::NucleicAcid);
    const unsigned tax3 = unsigned(result.alignment->findSequence("tax3"));
    const unsigned tax7 = unsigned(result.alignment->findSequence("tax7"));
    EXPECT_EQ(result.alignment->getSequence(tax3)->getAligned().substr(0, 12), "??????????TA");
    EXPECT_EQ(result.alignment->getSequence(tax7)->getAligned().substr(0, 4), "?T-G");
    EXPECT_TRUE(SQC::SequenceConstants::IsMissing('?'));
    EXPECT_FALSE(SQC::SequenceConstants::IsGap('?'));
}

TEST(MissingData, EverySchemeDrawsItUnlikeAGapAndUnlikeAResidue) {
    for (const std::string& name : SDM::ColorSchemeNames()) {
        SCOPED_TRACE(name);
        const auto scheme = SDM::MakeColorScheme(name);
        const SDM::ResidueColors missing = scheme->colorsFor('?', 0);
        EXPECT_TRUE(SameColors(missing, SDM::MissingDataColors()));
        EXPECT_FALSE(SameColors(missing, scheme->colorsFor('-', 0)));
        EXPECT_FALSE(SameColors(missing, scheme->colorsFor('.', 0)));
        EXPECT_TRUE(SameColors(scheme->colorsFor('A', 0), scheme->colorsAt('A', 0)));
    }
}

TEST(MissingData, TheModelColoursItAndLeavesItOutOfTheConsensus) {
    const auto result = ReadText("3 4\na  ??GT\nb  ?CGT\nc  A-GT\n", Format::Phylip);
    ASSERT_TRUE(result.ok()) << result.error.ToString();
    SDM::Alignment& alignment = *result.alignment;
    for (const std::string scheme : {"nucleotide", "identity"}) {  // by letter, and by column
        SCOPED_TRACE(scheme);
        alignment.setColorScheme(SDM::MakeColorScheme(scheme));
        std::vector<std::vector<SDM::Residue>> rows;
        ASSERT_TRUE(alignment.align(rows, {0, 2}));
        const auto background = [&](unsigned row, unsigned column) {
            return rows[row][column].getStateColor(SDM::ResidueAttributes::Background, false);
        };
        EXPECT_EQ(background(0, 0), SDM::MissingDataColors().background);  // a: '?'
        EXPECT_EQ(background(0, 1), SDM::MissingDataColors().background);
        EXPECT_FALSE(background(1, 1) == SDM::MissingDataColors().background);  // c: '-'
    }
    alignment.setShowConsensus(true);
    // Column 0 holds two '?' and one 'A', column 1 a '?', a 'C' and a gap: the residues win.
    EXPECT_EQ(alignment.getSequence(alignment.size() - 1)->getAligned(), "ACGT");
}
