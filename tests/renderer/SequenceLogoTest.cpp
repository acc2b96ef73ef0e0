// Sequence logos: stacks of letters over several annotation lines, probed at the heights the cells give.

#include <QBuffer>
#include <QPainter>
#include <memory>

#include "msarender/picture/VectorOutput.h"
#include "renderer/ViewTestFixture.h"

using namespace viewtest;
using renderertest::AspectsOfCells;

namespace {

constexpr unsigned kLines = 3;
const QColor kRed(0xE0, 0x10, 0x10);
const QColor kBlue(0x10, 0x10, 0xE0);
const QColor kGreen(0x10, 0xB0, 0x10);

// Column 0: one I, half the logo. Column 1: an I of 0.5 under one of 0.3, both crossing line edges.
// Column 2: nothing. 'I' has a stem down its middle, so its ink there spans its whole box.
std::vector<AnnotationRow> LogoRows() {
    auto logo = std::make_shared<SequenceLogo>();
    logo->lines = kLines;
    logo->axisMaximum = 2;
    logo->columns = {{{'I', 0.5f, kRed.rgba()}}, {{'I', 0.5f, kBlue.rgba()}, {'I', 0.3f, kGreen.rgba()}}, {}};
    std::vector<AnnotationRow> rows(kLines);
    for (unsigned line = 0; line < kLines; ++line) {
        rows[line].logo = logo;
        rows[line].logoLine = line;
    }
    rows[0].label = "Logo";
    return rows;
}

// The colour a logo pixel reads as: the nearest of the three inks, or white.
QColor Ink(const QImage& image, int x, int y) {
    const QColor pixel(image.pixel(x, y));
    for (const QColor& ink : {kRed, kBlue, kGreen})
        if (std::abs(pixel.red() - ink.red()) + std::abs(pixel.green() - ink.green()) +
                std::abs(pixel.blue() - ink.blue()) <
            60)
            return ink;
    return pixel == Qt::white ? QColor(Qt::white) : QColor(Qt::gray);
}

class SequenceLogoTest : public ViewFixture {
protected:
    void SetUp() override {
        alignment = LetterRows(2, 3);
        renderer.SetAnnotationRows(LogoRows());
        ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 40, false, 0)));
        ASSERT_TRUE(renderer.PlanPicture({0, 1}, {}, true, plan));
    }

    QImage Picture() const {
        QImage image(int(plan.width), int(plan.height), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.PaintPicture(plan, painter, 0, image.height());
        return image;
    }

    // The logo's top and bottom pixel rows (bottom exclusive) in the picture.
    int LogoTop() const { return cells.LineTop(int(kRulerBandRows + 2)); }
    int LogoBottom() const { return LogoTop() + int(kLines) * cells.CellHeight(); }

    BuiltAlignment alignment;
    RenderSequenceData::PicturePlan plan;
};

TEST_F(SequenceLogoTest, TheLogoTakesItsLinesInThePicture) {
    int annotationLines = 0;
    for (const auto& line : plan.lines)
        if (line.kind == RenderSequenceData::PicturePlan::Line::Kind::Annotation) ++annotationLines;
    EXPECT_EQ(annotationLines, int(kLines));
    EXPECT_EQ(plan.height, cells.LineTop(int(kRulerBandRows + 2 + kLines)));
}

TEST_F(SequenceLogoTest, StacksRiseFromTheLogoBottomByTheirShareOfItsHeight) {
    const QImage image = Picture();
    const double height = kLines * cells.CellHeight();
    struct Expected {
        int column;
        QColor ink;
        double from, to;  // shares of the logo's height, from its bottom
    };
    const Expected letters[] = {{0, kRed, 0, 0.5}, {1, kBlue, 0, 0.5}, {1, kGreen, 0.5, 0.8}};
    for (const Expected& letter : letters) {
        const int x = int(plan.nameWidth) + cells.Cell(letter.column, 0).center().x();
        const int top = LogoBottom() - int(std::lround(letter.to * height));
        const int bottom = LogoBottom() - int(std::lround(letter.from * height));
        // Inside the box (away from its anti-aliased edges) the letter's ink, across line edges too.
        for (int y = top + 1; y < bottom - 1; ++y)
            EXPECT_EQ(Ink(image, x, y), letter.ink) << "column " << letter.column << " y " << y;
    }
    // Above each stack, and over the empty column, nothing.
    for (int y = LogoTop(); y < LogoBottom(); ++y) {
        const int x2 = int(plan.nameWidth) + cells.Cell(2, 0).center().x();
        EXPECT_EQ(Ink(image, x2, y), QColor(Qt::white)) << "y " << y;
    }
    const int x0 = int(plan.nameWidth) + cells.Cell(0, 0).center().x();
    const int x1 = int(plan.nameWidth) + cells.Cell(1, 0).center().x();
    for (int y = LogoTop(); y < LogoBottom() - int(std::lround(0.8 * height)) - 1; ++y)
        EXPECT_EQ(Ink(image, x1, y), QColor(Qt::white)) << "y " << y;
    for (int y = LogoTop(); y < LogoBottom() - int(std::lround(0.5 * height)) - 1; ++y)
        EXPECT_EQ(Ink(image, x0, y), QColor(Qt::white)) << "y " << y;
}

TEST_F(SequenceLogoTest, TheAxisRunsDownTheNameColumnsEdgeWithAZeroTick) {
    const QImage image = Picture();
    const int axis = int(plan.nameWidth) - 2;
    for (int y = LogoTop(); y < LogoBottom(); ++y)
        EXPECT_LT(QColor(image.pixel(axis, y)).lightness(), 128) << "y " << y;
    // Ticks at 0, 1 and 2 of the 2-unit axis: the last pixel row, the middle and the top.
    const double perUnit = (kLines * cells.CellHeight()) / 2.0;
    for (int unit = 0; unit <= 2; ++unit) {
        const int tick = int(std::lround(LogoBottom() - 1 - unit * perUnit));
        if (tick < LogoTop()) continue;
        EXPECT_LT(QColor(image.pixel(axis - 2, tick)).lightness(), 128) << "tick " << unit;
    }
    EXPECT_EQ(QColor(image.pixel(axis - 2, LogoBottom() - 1 - int(perUnit / 2))), QColor(Qt::white));
}

TEST_F(SequenceLogoTest, VectorPicturesHoldTheLettersAsFilledPaths) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString error = EncodeSvg(
        buffer, QSize(int(plan.width), int(plan.height)),
        [this](QPainter& painter, int) { renderer.PaintPicture(plan, painter, 0, int(plan.height)); });
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const QByteArray svg = buffer.data();
    EXPECT_FALSE(svg.contains("<image"));
    for (const QColor& ink : {kRed, kBlue, kGreen})
        EXPECT_TRUE(svg.contains("<path d=\"M") && svg.contains("fill=\"" + ink.name().toLatin1() + '"'))
            << ink.name().toStdString();
    // Each letter crosses one line edge, so each is drawn as two cut pieces.
    EXPECT_EQ(svg.count("fill=\"" + kRed.name().toLatin1() + '"'), 2);
    EXPECT_EQ(svg.count("fill=\"" + kBlue.name().toLatin1() + '"'), 2);
}

}  // namespace
