// The planned picture of a selection: painted whole or in bands it gives the same pixels, and its lines
// and blocks are where the picture puts them.

#include <QPainter>
#include <memory>

#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;

namespace {

using ColumnLists = std::map<unsigned, std::vector<unsigned>>;
using Line = RenderSequenceData::PicturePlan::Line;

class PicturePlanTest : public ViewFixture {
protected:
    // Rows with letters and, on every other row, two secondary-structure keys.
    BuiltAlignment StructuredRows(unsigned rows, unsigned columns) {
        AlignmentBuilder builder(SDM::AminoAcid);
        builder.Scheme(renderertest::MakeLetterScheme());
        for (unsigned r = 0; r < rows; ++r) {
            builder.Seq("sequence" + std::to_string(r), renderertest::Letters(columns, r));
            if (r % 2 == 0)
                builder
                    .Structure("alpha",
                               std::string(columns / 2, 'H') + std::string(columns - columns / 2, 'S'))
                    .Structure("beta", std::string(columns, r == 2 ? 'S' : 'C'));
        }
        return builder.Build();
    }
    RenderSequenceData::PicturePlan Plan(std::vector<unsigned> sequences, ColumnLists columns = {},
                                         bool includeGaps = true) {
        RenderSequenceData::PicturePlan plan;
        EXPECT_TRUE(renderer.PlanPicture(std::move(sequences), std::move(columns), includeGaps, plan));
        return plan;
    }
    QImage PaintWhole(const RenderSequenceData::PicturePlan& plan) const {
        QImage image(int(plan.width), int(plan.height), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.PaintPicture(plan, painter, 0, image.height());
        return image;
    }
    // Bands of `bandHeight` rows painted one after another, each on its own image, stacked.
    QImage PaintInBands(const RenderSequenceData::PicturePlan& plan, int bandHeight) const {
        QImage image(int(plan.width), int(plan.height), QImage::Format_RGB32);
        QPainter stacked(&image);
        for (int top = 0; top < image.height(); top += bandHeight) {
            const int rows = std::min(bandHeight, image.height() - top);
            QImage band(image.width(), rows, QImage::Format_RGB32);
            band.fill(Qt::white);
            QPainter painter(&band);
            renderer.PaintPicture(plan, painter, top, rows);
            painter.end();
            stacked.drawImage(0, top, band);
        }
        return image;
    }
    // Renders StructuredRows(rows, columns) in blocks of 10 columns with its structure lines shown.
    void RenderStructured(unsigned rows, unsigned columns) {
        alignment = StructuredRows(rows, columns);
        auto aspects = AspectsOfCells(10, 12);
        aspects.showSecondaryStructure = true;
        ASSERT_TRUE(RenderWith(alignment, aspects));
    }
    static std::vector<unsigned> AllSequences(unsigned count) {
        std::vector<unsigned> all(count);
        for (unsigned i = 0; i < count; ++i) all[i] = i;
        return all;
    }

    BuiltAlignment alignment;
};

TEST_F(PicturePlanTest, BandsOfAnyHeightGiveTheSamePixelsAsTheWholePicture) {
    ASSERT_NO_FATAL_FAILURE(RenderStructured(6, 37));
    const RenderSequenceData::PicturePlan plan = Plan(AllSequences(6));
    const QImage whole = PaintWhole(plan);
    ASSERT_TRUE(HasInk(whole, whole.rect()));
    for (int bandHeight : {1, 7, cells.CellHeight() + 3, cells.RulerBandHeight(), int(plan.height)})
        EXPECT_EQ(PaintInBands(plan, bandHeight), whole) << "bands of " << bandHeight << " rows";
}

TEST_F(PicturePlanTest, BandsOfColumnListsAndOfClosedUpGapsMatchTheWhole) {
    alignment = LetterRows(4, 30);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const RenderSequenceData::PicturePlan lists = Plan({}, {{0, {1, 2, 3}}, {2, {5, 20, 29, 7}}, {3, {}}});
    EXPECT_EQ(PaintInBands(lists, 5), PaintWhole(lists));
    const RenderSequenceData::PicturePlan closed = Plan({3, 1}, {}, false);
    EXPECT_EQ(PaintInBands(closed, 11), PaintWhole(closed));
}

TEST_F(PicturePlanTest, CopyImageDataIsThePlannedPicturePaintedWhole) {
    ASSERT_NO_FATAL_FAILURE(RenderStructured(5, 25));
    const RenderSequenceData::PicturePlan plan = Plan({4, 0, 2});
    const std::unique_ptr<QPixmap> copied(renderer.CopyImageData({4, 0, 2}, {}, false, true));
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->toImage().convertToFormat(QImage::Format_RGB32), PaintWhole(plan));
}

// GIVEN 25 columns in blocks of 10, rows 0 and 2 with two structure lines each
TEST_F(PicturePlanTest, EveryBlockStartsWithItsRulerBandAndRowsCarryTheirStructureLines) {
    ASSERT_NO_FATAL_FAILURE(RenderStructured(3, 25));
    const RenderSequenceData::PicturePlan plan = Plan(AllSequences(3));

    ASSERT_EQ(plan.blockStarts.size(), 3u);
    const int blockLines = int(kRulerBandRows) + 3 + 4;  // band, three residue lines, four structure lines
    EXPECT_EQ(plan.height, cells.LineTop(3 * blockLines));
    for (std::size_t block = 0; block < plan.blockStarts.size(); ++block) {
        const Line& band = plan.lines.at(plan.blockStarts[block]);
        EXPECT_EQ(band.kind, Line::Kind::RulerBand);
        EXPECT_EQ(band.top, cells.LineTop(int(block) * blockLines));
        EXPECT_EQ(band.first, unsigned(block) * 10);
        const Line& structured = plan.lines.at(plan.blockStarts[block] + 1);
        EXPECT_EQ(structured.row, 0u);
        EXPECT_EQ(structured.height, cells.LineTop(3));  // residue line and two structure lines
        const Line& plain = plan.lines.at(plan.blockStarts[block] + 2);
        EXPECT_EQ(plain.top, structured.top + structured.height);
        EXPECT_EQ(plain.height, cells.CellHeight());
    }
    EXPECT_EQ(plan.lines.back().first, 20u);
    EXPECT_EQ(plan.lines.back().count, 5u);  // the last block holds the last five columns
}

// The last block is shorter than the others: its ruler band stops at the alignment's last column.
TEST_F(PicturePlanTest, TheLastBlocksRulerStopsAtTheLastColumn) {
    ASSERT_NO_FATAL_FAILURE(RenderStructured(3, 25));
    for (const bool vectorShapes : {false, true}) {
        RenderSequenceData::PicturePlan plan = Plan(AllSequences(3));
        plan.vectorShapes = vectorShapes;
        const QImage image = PaintWhole(plan);
        const int middle = int(plan.lines.at(plan.blockStarts[2]).top) + cells.CellHeight();
        const int lastColumnRight = plan.nameWidth + cells.ColumnLeft(5) - 1;
        EXPECT_NE(QColor(image.pixel(lastColumnRight, middle)), QColor(Qt::white)) << vectorShapes;
        EXPECT_FALSE(
            HasInk(image, QRect(lastColumnRight + 1, middle, int(plan.width) - lastColumnRight - 1, 1)))
            << "vector shapes: " << vectorShapes;
    }
}

TEST_F(PicturePlanTest, NothingToPlanGivesAnEmptyPlanAndPaintsNothing) {
    alignment = LetterRows(2, 10);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    RenderSequenceData::PicturePlan plan;
    EXPECT_FALSE(renderer.PlanPicture({7, 9}, {}, true, plan));  // no such sequences
    EXPECT_TRUE(plan.lines.empty());
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.PaintPicture(plan, painter, 0, 20);
    renderer.PaintPicture(Plan({0}), painter, 1 << 30, 20);  // a band below the picture
    painter.end();
    EXPECT_FALSE(HasInk(image, image.rect()));
}

}  // namespace
