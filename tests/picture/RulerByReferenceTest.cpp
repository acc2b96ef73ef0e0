// A ruler numbered by the reference's residues: ticks and labels at the columns where its residues stand,
// counted from its name's /start-end, and none over its gaps.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "msarender/picture/AlignmentPicture.h"
#include "support/AlignmentBuilder.h"
#include "support/PicturePng.h"

namespace {

const int kColumns = 40;
// Gaps at columns 2-3 and 12-14 (0-based): residues stand at columns 0-1, 4-11 and 15-39.
const std::string kReference = "MK--VLAYGRQE---DLNKWVHTSAPCIMYFGERLKTWDA";
const std::string kOther = "MKAAVLAYGRQEPPPDLNKWVHTSAPCIMYFGERLKTWDA";

boost::shared_ptr<SDM::Alignment> Family(const std::string& referenceName) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq(referenceName, kReference).Seq("other", kOther);
    return builder.Build().model;
}

QImage Drawn(const boost::shared_ptr<SDM::Alignment>& alignment, PictureSettings settings) {
    settings.showSecondaryStructure = false;
    AlignmentPicture picture(alignment, {settings, std::nullopt});
    EXPECT_EQ(picture.Prepare(), QString());
    return testsupport::PicturePng(picture);
}

PictureSettings ByReference(const QString& reference) {
    PictureSettings settings;
    settings.reference = reference;
    settings.rulerByReference = true;
    return settings;
}

// Where the ruler band's ticks and labels are, in pixels of a picture whose residues end at its right edge.
struct RulerProbe {
    CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    int residueLeft = 0;
    int bottom = 0;

    explicit RulerProbe(const QImage& image)
        : residueLeft(image.width() - cells.ColumnLeft(kColumns)), bottom(cells.RulerBandHeight() - 1) {}

    int TickX(int column) const { return residueLeft + cells.CentreX(column); }
    // Ink a quarter-cell tick and a half-cell tick leave at the column's centre.
    bool ShortTick(const QImage& image, int column) const {
        return image.pixel(TickX(column), bottom - 2) == qRgb(0, 0, 0);
    }
    bool LongTick(const QImage& image, int column) const {
        return image.pixel(TickX(column), bottom - cells.CellHeight() / 2 + 1) == qRgb(0, 0, 0);
    }
    // The label row, two cells either side of a column's centre.
    QRect LabelArea(int column) const {
        const int halfWidth = 2 * cells.CellWidth();
        return QRect(TickX(column) - halfWidth, 2, 2 * halfWidth + 1, bottom - cells.CellHeight() / 2 - 2);
    }
};

int DarkPixels(const QImage& image, const QRect& area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

// ref/23-57: columns 0,1 are 23,24; columns 4-11 are 25-32; columns 15-39 are 33-57. So 25 (column 4), 35
// (17), 45 (27) and 55 (37) get short ticks; 30 (9), 40 (22) and 50 (32) long ticks with labels.
TEST(RulerByReference, TicksStandAtTheReferencesResidueNumbersFromItsRange) {
    const QImage image = Drawn(Family("ref/23-57"), ByReference(QStringLiteral("ref")));
    const RulerProbe probe(image);
    const std::map<int, bool> ticks = {{4, false},  {9, true},  {17, false}, {22, true},
                                       {27, false}, {32, true}, {37, false}};  // column -> long
    for (int column = 0; column < kColumns; ++column) {
        const auto tick = ticks.find(column);
        const bool any = tick != ticks.end();
        EXPECT_EQ(any, probe.ShortTick(image, column)) << "column " << column;
        EXPECT_EQ(any && tick->second, probe.LongTick(image, column)) << "column " << column;
    }
    // Column 9 (number 30) under the plain ruler is column 29: the same label, drawn at its own tick.
    const QImage plain = Drawn(Family("ref/23-57"), PictureSettings());
    EXPECT_TRUE(probe.LongTick(plain, 29));
    EXPECT_GT(DarkPixels(image, probe.LabelArea(9)), 0);
    EXPECT_EQ(image.copy(probe.LabelArea(9)), plain.copy(probe.LabelArea(29))) << "label 30";
    // Over the gaps nothing at all: no tick and no label ink.
    for (int column : {2, 3, 12, 13, 14})
        EXPECT_EQ(0, DarkPixels(image, QRect(probe.TickX(column), 2, 1, probe.bottom - 2))) << column;
}

// Without a range the residues count from 1: 1 at column 0 (both ticks and a label), 5 at column 6, 10 at
// 11, 15 at 19, 20 at 24, 25 at 29, 30 at 34, 35 at 39.
TEST(RulerByReference, WithoutARangeTheResiduesCountFromOne) {
    const QImage image = Drawn(Family("ref"), ByReference(QStringLiteral("1")));
    const RulerProbe probe(image);
    const std::map<int, bool> ticks = {{0, true},  {6, false},  {11, true}, {19, false},
                                       {24, true}, {29, false}, {34, true}, {39, false}};
    for (int column = 0; column < kColumns; ++column) {
        const auto tick = ticks.find(column);
        const bool any = tick != ticks.end();
        EXPECT_EQ(any, probe.ShortTick(image, column)) << "column " << column;
        EXPECT_EQ(any && tick->second, probe.LongTick(image, column)) << "column " << column;
    }
    const QImage plain = Drawn(Family("ref"), PictureSettings());
    EXPECT_EQ(image.copy(probe.LabelArea(11)), plain.copy(probe.LabelArea(9))) << "label 10";
    EXPECT_EQ(image.copy(probe.LabelArea(24)), plain.copy(probe.LabelArea(19))) << "label 20";
    EXPECT_NE(image.copy(probe.LabelArea(9)), plain.copy(probe.LabelArea(9))) << "no label 10 at column 9";
}

// Wrapped, every block's band goes on with the reference's numbers; the origin no longer counts.
TEST(RulerByReference, WrappedBlocksGoOnWithTheNumbersAndTheOriginIsIgnored) {
    PictureSettings settings = ByReference(QStringLiteral("ref"));
    settings.wrap = true;
    settings.residuesPerLine = 20;
    settings.rulerOrigin = 7;
    const QImage image = Drawn(Family("ref/23-57"), settings);
    const RulerProbe probe(image);
    const int residueLeft = image.width() - probe.cells.ColumnLeft(20);
    // The second block starts with the band, below the first block's band and two rows.
    const int blockTop = probe.cells.LineTop(kRulerBandRows + 2);
    const int bandBottom = blockTop + probe.bottom;
    // Columns 20-39 of the alignment: 40 at column 22 (long), 45 at 27 (short), 50 at 32, 55 at 37.
    for (int column = 20; column < kColumns; ++column) {
        const int x = residueLeft + probe.cells.CentreX(column - 20);
        const bool any = column == 22 || column == 27 || column == 32 || column == 37;
        const bool tall = column == 22 || column == 32;
        EXPECT_EQ(any, image.pixel(x, bandBottom - 2) == qRgb(0, 0, 0)) << column;
        EXPECT_EQ(tall, image.pixel(x, bandBottom - probe.cells.CellHeight() / 2 + 1) == qRgb(0, 0, 0))
            << column;
    }
}

TEST(RulerByReference, WithoutAReferenceItIsAnErrorThatSaysSo) {
    PictureSettings settings;
    settings.rulerByReference = true;
    AlignmentPicture picture(Family("ref"), {settings, std::nullopt});
    EXPECT_TRUE(picture.Prepare().contains(QLatin1String("--ruler-by-reference")));
}

// The library's own numbers for the ruler, also for a range that counts down.
TEST(RulerByReference, ResidueNumbersByColumnFollowTheName) {
    const auto alignment = Family("ref/60-26");
    const std::vector<long long> numbers = ResidueNumbersByColumn(*alignment->getSequence(0), 42);
    ASSERT_EQ(numbers.size(), 42u);
    EXPECT_EQ(numbers[0], 60);
    EXPECT_EQ(numbers[1], 59);
    EXPECT_EQ(numbers[2], RenderSequenceData::kNoRulerNumber);
    EXPECT_EQ(numbers[4], 58);
    EXPECT_EQ(numbers[15], 50);
    EXPECT_EQ(numbers[39], 26);
    EXPECT_EQ(numbers[40], RenderSequenceData::kNoRulerNumber) << "past the sequence's end";
}

}  // namespace
