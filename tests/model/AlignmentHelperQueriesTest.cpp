#include <gtest/gtest.h>

#include <QString>
#include <boost/make_shared.hpp>

#include "model/AlignmentHelper.h"
#include "support/AlignmentBuilder.h"

namespace {

using Corvane::AlignmentHelper;
using testsupport::AlignmentBuilder;
using Keys = std::set<std::string>;

TEST(AlignmentHelperQueriesTest, SelectionIsAskedForTheRowsSequence) {
    // Row 1 shows sequence 2; the hidden sequence 1 is selected and must not leak into row 1.
    auto built = AlignmentBuilder()
                     .Seq("a", "MKLV")
                     .Seq("b", "MKLV")
                     .Hidden()
                     .Seq("c", "MKLV")
                     .Select(1, 0, 3)
                     .Select(2, 2, 2)
                     .Build();
    AlignmentHelper helper(*built.view);
    EXPECT_FALSE(helper.IsSelected(0, 4, 0));
    EXPECT_TRUE(helper.IsSelected(2, 1, 1));
    EXPECT_TRUE(helper.IsSelected(0, 3, 1));
    EXPECT_FALSE(helper.IsSelected(0, 2, 1));
    EXPECT_FALSE(helper.IsSelected(0, 4, 2)) << "a row past the list answers false";
    EXPECT_FALSE(helper.AllSelected(1));
    EXPECT_FALSE(helper.AllSelected(5));
    built.model->getSelection().select(2, 0, 3);
    EXPECT_TRUE(helper.AllSelected(1));
}

TEST(AlignmentHelperQueriesTest, FixedBlocksAndMasksTakeColumnThenRow) {
    auto built = AlignmentBuilder()
                     .Seq("a", "AAAAAA")
                     .Seq("b", "AAAAAA")
                     .Hidden()
                     .Seq("c", "AAAAAA")
                     .FixedBlock(4, 5)
                     .Mask(2, 0, 0)  // sequence 2 is row 1
                     .Build();
    AlignmentHelper helper(*built.view);
    EXPECT_TRUE(helper.IsInFixedBlock(4, 0));
    EXPECT_TRUE(helper.IsInFixedBlock(5, 1));
    EXPECT_FALSE(helper.IsInFixedBlock(0, 4)) << "column 0 is not fixed, and there is no row 4";
    EXPECT_FALSE(helper.IsInFixedBlock(1, 1));
    EXPECT_TRUE(helper.IsMasked(0, 1));
    EXPECT_FALSE(helper.IsMasked(1, 0));
    EXPECT_FALSE(helper.IsMasked(0, 0));
    EXPECT_FALSE(helper.IsMasked(0, 2)) << "no row 2";
}

TEST(AlignmentHelperQueriesTest, AlignFillsOneRowPerShownSequence) {
    auto built =
        AlignmentBuilder().Seq("a", "MK").Seq("b", "LV").Hidden().EmptyEntry().Seq("d", "W-Y").Build();
    AlignmentHelper helper(*built.view);
    std::vector<std::vector<SDM::Residue>> out(9);
    helper.Align(out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0][1].getCode(), 'K');
    ASSERT_EQ(out[1].size(), 3u);
    EXPECT_EQ(out[1][2].getCode(), 'Y');
    EXPECT_EQ(helper.GetMaxTotalLength(), 3u);
}

TEST(AlignmentHelperQueriesTest, StructureKeysAreTheUnionOverShownRows) {
    auto built = AlignmentBuilder(SDM::AminoAcid)
                     .Seq("a", "MKLV")
                     .Structure("beta", "HHHH")
                     .Structure("alpha", "SS")  // wrong length still names a key
                     .NullStructure("empty")
                     .Seq("b", "MKLV")
                     .Structure("hidden-only", "CCCC")
                     .Hidden()
                     .Seq("c", "MKLV")
                     .Structure("alpha", "CCCC")
                     .StructureVisible("beta", false)
                     .Build();
    AlignmentHelper helper(*built.view);
    EXPECT_EQ(helper.GetSecondaryStructureKeys(), (Keys{"alpha", "beta"}));
    EXPECT_FALSE(helper.IsSecondaryStructureVisible("beta"));
    EXPECT_TRUE(helper.IsSecondaryStructureVisible("alpha"));
    EXPECT_TRUE(helper.IsSecondaryStructureShown());
}

TEST(AlignmentHelperQueriesTest, OtherSequenceClassesHaveNoStructureKeys) {
    auto built = AlignmentBuilder(SDM::AminoAcid).Seq("a", "MKLV").Structure("alpha", "HHHH").Build();
    for (SDM::SequenceClass other : {SDM::NucleicAcid, SDM::UnknownClass}) {
        built.model->SetSequenceClass(other);
        EXPECT_TRUE(AlignmentHelper(*built.view).GetSecondaryStructureKeys().empty()) << other;
    }
    auto nucleic = AlignmentBuilder(SDM::NucleicAcid).Seq("dna", "ACGT").Build();
    AlignmentHelper helper(*nucleic.view);
    EXPECT_TRUE(helper.HasRows());
    EXPECT_TRUE(helper.GetSecondaryStructureKeys().empty());
}

// A store that counts reads, to tell "read with a default" from "not read at all".
class CountingProperties : public SQC::UserPropertiesBase {
public:
    bool GetColorProperty(const std::string& key, unsigned& value) const override {
        ++colorReads;
        return UserPropertiesBase::GetColorProperty(key, value);
    }
    mutable int colorReads = 0;
};

class CountingView : public SQV::SVAlignment {
public:
    using SQV::SVAlignment::SVAlignment;
    SQC::UserPropertiesBase& GetUserProperties() override { return properties; }
    CountingProperties properties;
};

TEST(AlignmentHelperQueriesTest, PropertyReadsFallBackToTheirDefaults) {
    auto built = AlignmentBuilder().Seq("a", "MK").Build();
    AlignmentHelper helper(*built.view);
    EXPECT_FALSE(helper.GetFontChanged());
    EXPECT_EQ(helper.GetSSGapColor(), 0u);
    EXPECT_EQ(helper.GetSSColor(0), 0u);
    EXPECT_EQ(helper.GetRulerDragOffset(), 1);
    EXPECT_EQ(helper.GetCurrSeqIndex(), -1);
    // A key holding another type counts as absent.
    built.properties().SetBoolProperty(SQC::UserProperties::RulerDragOffset, true);
    EXPECT_EQ(helper.GetRulerDragOffset(), 1);
}

TEST(AlignmentHelperQueriesTest, PropertiesReadAndWriteTheirKeys) {
    auto built = AlignmentBuilder()
                     .Seq("a", "MK")
                     .ColorProperty(SQC::UserProperties::SSHelixColorKey, 0x0000FFu)
                     .ColorProperty(SQC::UserProperties::SSSheetColorKey, 0x00FF00u)
                     .ColorProperty(SQC::UserProperties::SSCoilColorKey, 0xFF0000u)
                     .ColorProperty(SQC::UserProperties::SSGapColorKey, 0x808080u)
                     .IntProperty(SQC::UserProperties::RulerDragOffset, 7)
                     .IntProperty(SQC::UserProperties::CurrSeqIndex, 3)
                     .BoolProperty(SQC::UserProperties::FontChanged, true)
                     .Build();
    AlignmentHelper helper(*built.view);
    EXPECT_EQ(helper.GetSSColor(0), 0x0000FFu);
    EXPECT_EQ(helper.GetSSColor(1), 0x00FF00u);
    EXPECT_EQ(helper.GetSSColor(2), 0xFF0000u);
    EXPECT_EQ(helper.GetSSGapColor(), 0x808080u);
    EXPECT_EQ(helper.GetRulerDragOffset(), 7);
    EXPECT_EQ(helper.GetCurrSeqIndex(), 3);
    EXPECT_TRUE(helper.GetFontChanged());
    helper.SetFontChanged(false);
    EXPECT_FALSE(helper.GetFontChanged());
    helper.SetFitToWidthValue(60);
    int written = 0;
    EXPECT_TRUE(built.properties().GetIntProperty(SQC::UserProperties::WVFitToWidthValueKey, written));
    EXPECT_EQ(written, 60);
}

TEST(AlignmentHelperQueriesTest, UnknownStructureColourKindReadsNothing) {
    auto model = boost::make_shared<SDM::Alignment>();
    CountingView view(model);
    view.properties.SetColorProperty(SQC::UserProperties::SSCoilColorKey, 0x123456u);
    AlignmentHelper helper(view);
    EXPECT_EQ(helper.GetSSColor(3), 0u);
    EXPECT_EQ(helper.GetSSColor(-1), 0u);
    EXPECT_EQ(view.properties.colorReads, 0);
    EXPECT_EQ(helper.GetSSColor(2), 0x123456u) << "the helper reads the view's own store";
    EXPECT_EQ(view.properties.colorReads, 1);
}

}  // namespace

namespace {

// A name far longer than any residue area is cut, at a character, with an ellipsis; its structure lines are
// labelled with the cut name too.
TEST(RowLabels, AVeryLongNameIsCutWithAnEllipsisAtACharacter) {
    const std::string accented = "\xC3\xA9";  // "é", two bytes
    std::string longName = "a";
    while (longName.size() < 3 * Corvane::kMaxLabelBytes) longName += accented;
    testsupport::BuiltAlignment built =
        testsupport::AlignmentBuilder(SDM::AminoAcid).Seq("short", "MKLV").Seq(longName, "MKLV").Build();
    EXPECT_EQ(Corvane::MakeRowLabel(*built.sequence(0)), " short");
    const std::string cut = Corvane::ShownDefline(*built.sequence(1));
    EXPECT_LE(cut.size(), Corvane::kMaxLabelBytes + 3);
    EXPECT_EQ(cut.substr(cut.size() - 3), "\xE2\x80\xA6");
    EXPECT_EQ(QString::fromStdString(cut).toStdString(), cut);  // still valid UTF-8
    EXPECT_EQ(cut.rfind(accented, cut.size() - 3) % 2, 1u);     // whole characters after the "a"
    std::string longest;
    Corvane::FindLongestRowLabel(Corvane::AlignmentHelper(*built.view), longest, false, {});
    EXPECT_EQ(longest, " " + cut);
}

}  // namespace
