#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>
#include <vector>

#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "support/TestFont.h"
#include "tracks/SSCartoonPainter.h"

namespace {

const QRgb kWhite = 0xFFFFFFFFu;
const QRgb kHelix = 0xFF204060u;
const QRgb kSheet = 0xFF00A000u;
const QRgb kCoil = 0xFF3050B0u;
const QRgb kGap = 0xFF808080u;

enum class Cell { Tube, ThinTube, Bar, ArrowHead, Dashed, White, Unknown };

const char* Name(Cell cell) {
    switch (cell) {
        case Cell::Tube:
            return "tube";
        case Cell::ThinTube:
            return "thin tube";
        case Cell::Bar:
            return "bar";
        case Cell::ArrowHead:
            return "arrow head";
        case Cell::Dashed:
            return "dashed line";
        case Cell::White:
            return "white";
        default:
            return "unknown";
    }
}

class CartoonTest : public ::testing::Test {
protected:
    void SetUp() override {
        cells = CellGeometry(SQC::FontAttributes(testsupport::MonoFont(12)));
        ASSERT_GE(cells.CellHeight(), 8) << "the probes need a quarter cell of at least two rows";
    }

    SSCartoonPainter Painter() const {
        return SSCartoonPainter(cells.CellWidth(), cells.CellHeight(), kHelix, kSheet, kCoil, kGap);
    }

    // Tells the five cell kinds apart by a few pixels each.
    Cell Classify(const QImage& line, int index) const {
        const QRect cell = cells.Cell(index, 0);
        const int x0 = cell.left();
        const int cx = cells.CellCentre(index, 0).x();
        const int h = cell.height();
        auto at = [&](int x, int y) { return line.pixel(x, y); };
        if (at(cx, 0) == kHelix && at(cx, cell.bottom()) == kHelix) return Cell::Tube;
        if (at(cx, 0) == kWhite && at(cx, h / 3) == kCoil && at(cx, h / 2) != kWhite) return Cell::ThinTube;
        if (at(cx, h / 2) == kSheet && at(x0, 1) == kWhite) return Cell::Bar;
        if (at(x0, 1) == kSheet && at(cell.right(), 1) == kWhite) return Cell::ArrowHead;
        if (at(x0 + 1, h / 2) == kGap && at(x0 + 1, 0) == kWhite) return Cell::Dashed;
        bool white = true;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) white = white && at(x, y) == kWhite;
        return white ? Cell::White : Cell::Unknown;
    }

    std::vector<std::string> Cells(const SSCartoonPainter& painter, const std::string& ss) const {
        const std::unique_ptr<QPixmap> line = painter.CartoonPixmap(ss);
        std::vector<std::string> kinds;
        if (!line) return kinds;
        const QImage image = line->toImage();
        for (int i = 0; i < int(ss.size()); ++i) kinds.push_back(Name(Classify(image, i)));
        return kinds;
    }

    CellGeometry cells{0, 0};
};

using Names = std::vector<std::string>;

TEST_F(CartoonTest, StructureStringGivesOneCellPerCharacter) {
    const SSCartoonPainter painter = Painter();
    EXPECT_EQ(
        (Names{"tube", "tube", "tube", "bar", "bar", "arrow head", "dashed line", "thin tube", "thin tube"}),
        Cells(painter, "HHHSSS-CC"));
    const std::unique_ptr<QPixmap> line = painter.CartoonPixmap("HHHSSS-CC");
    ASSERT_TRUE(line);
    EXPECT_EQ(QSize(cells.ColumnLeft(9), cells.CellHeight()), line->size());
}

TEST_F(CartoonTest, EverySheetRunEndsInAnArrowHead) {
    const SSCartoonPainter painter = Painter();
    EXPECT_EQ((Names{"arrow head"}), Cells(painter, "S"));
    EXPECT_EQ((Names{"bar", "arrow head"}), Cells(painter, "SS"));
    EXPECT_EQ((Names{"arrow head", "tube", "bar", "arrow head"}), Cells(painter, "SHSS"));
}

TEST_F(CartoonTest, AnyOtherCharacterIsCoil) {
    EXPECT_EQ((Names{"thin tube", "thin tube", "thin tube"}), Cells(Painter(), "xT "));
}

TEST_F(CartoonTest, EmptyStringGivesAPixmapOfWidthZero) {
    const std::unique_ptr<QPixmap> line = Painter().CartoonPixmap("");
    ASSERT_TRUE(line);
    EXPECT_EQ(0, line->width());
}

TEST_F(CartoonTest, HelixCellIsCoveredByTheTube) {
    const std::unique_ptr<QPixmap> line = Painter().CartoonPixmap("H");
    const QImage image = line->toImage();
    const QRgb shades[] = {kHelix, SSCartoonPainter::TubeShade(kHelix, 3),
                           SSCartoonPainter::TubeShade(kHelix, 4)};
    for (int y = 0; y < cells.CellHeight(); ++y) {
        for (int x = 0; x < cells.CellWidth(); ++x) {
            EXPECT_NE(std::end(shades), std::find(std::begin(shades), std::end(shades), image.pixel(x, y)))
                << x << "," << y;
        }
    }
}

TEST_F(CartoonTest, ReleasedTemplatesLeaveWhiteCells) {
    SSCartoonPainter painter = Painter();
    painter.ReleaseTemplates();
    EXPECT_EQ((Names{"white", "white", "white", "white"}), Cells(painter, "HS-C"));
    painter.BuildTemplates();
    EXPECT_EQ((Names{"tube", "arrow head"}), Cells(painter, "HS"));
}

TEST_F(CartoonTest, EmptyCellSizeDrawsNothingAndDoesNotCrash) {
    const SSCartoonPainter painter(0, 0, kHelix, kSheet, kCoil, kGap);
    EXPECT_FALSE(painter.CartoonPixmap("HHS"));
}

TEST(TubeTest, ShadesMoveRedAndGreenTowardsFull) {
    // red 0x20: (255 - 32) / 8 = 27; green 0x40: (255 - 64) / 8 = 23; blue and alpha stay.
    EXPECT_EQ(qRgba(32 + 3 * 27, 64 + 3 * 23, 0x60, 0xFF), SSCartoonPainter::TubeShade(0xFF204060u, 3));
    EXPECT_EQ(qRgba(32 + 4 * 27, 64 + 4 * 23, 0x60, 0xFF), SSCartoonPainter::TubeShade(0xFF204060u, 4));
    EXPECT_EQ(0xFFFFFF80u, SSCartoonPainter::TubeShade(0xFFFFFF80u, 4));
    EXPECT_EQ(qRgba(4 * 31, 4 * 31, 0, 0x80), SSCartoonPainter::TubeShade(0x80000000u, 4));
}

TEST(TubeTest, BandsOfATwelvePixelCell) {
    // h = 13, f = 3, e = 1: the middle band starts at y = 3, the inner one at y = 4.
    const unsigned colour = 0xFF204060u;
    QPixmap canvas(10, 12);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        SSCartoonPainter::PaintTube(painter, 0, 0, 10, 12, colour);
    }
    const QImage image = canvas.toImage();
    const QRgb light1 = SSCartoonPainter::TubeShade(colour, 3);
    const QRgb light2 = SSCartoonPainter::TubeShade(colour, 4);
    for (int x : {0, 5, 9}) {
        EXPECT_EQ(colour, image.pixel(x, 0));
        EXPECT_EQ(colour, image.pixel(x, 2));
        EXPECT_EQ(light1, image.pixel(x, 3));
        EXPECT_EQ(light2, image.pixel(x, 4));
        EXPECT_EQ(light2, image.pixel(x, 6));
        EXPECT_EQ(colour, image.pixel(x, 11));
    }
}

TEST(TubeTest, TubeRestoresThePaintersPenAndBrush) {
    QPixmap canvas(10, 12);
    QPainter painter(&canvas);
    const QPen pen(QColor(Qt::magenta), 3);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    SSCartoonPainter::PaintTube(painter, 0, 0, 10, 12, 0xFF204060u);
    SSCartoonPainter::PaintDashedLine(painter, 0, 6, 10, 6, 0xFF808080u);
    EXPECT_EQ(pen, painter.pen());
    EXPECT_EQ(Qt::NoBrush, painter.brush().style());
}

TEST(TubeTest, DashedLineIsBroken) {
    QPixmap canvas(40, 3);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        SSCartoonPainter::PaintDashedLine(painter, 0, 1, 40, 1, kGap);
    }
    const QImage image = canvas.toImage();
    int inked = 0;
    for (int x = 0; x < 40; ++x) inked += image.pixel(x, 1) == kGap ? 1 : 0;
    EXPECT_GT(inked, 10);
    EXPECT_LT(inked, 40);
    EXPECT_EQ(kWhite, image.pixel(5, 0));
}

}  // namespace
