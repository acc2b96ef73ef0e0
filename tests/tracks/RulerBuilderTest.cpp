#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "qtcommon/QFormat.h"
#include "support/TestFont.h"
#include "tracks/RulerBuilder.h"

namespace {

const QRgb kRulerBackground = 0xFFEDEDE1u;
const QRgb kWhite = 0xFFFFFFFFu;
const QRgb kBlack = 0xFF000000u;

class RulerBandTest : public ::testing::Test {
protected:
    void SetUp() override {
        font = testsupport::MonoFont(10);
        cells = CellGeometry(SQC::FontAttributes(font));
        bottom = cells.RulerBandHeight() - 1;
    }

    QImage Band(unsigned firstColumn, unsigned count, int origin, bool showRuler = true,
                bool showNumbers = true, unsigned markedCount = UINT_MAX, int breaks = kNoBreaks) const {
        const auto band = RulerBuilder::BuildRulerPixmap(cells.CellWidth(), cells.CellHeight(), showRuler,
                                                         showNumbers, firstColumn, count, int(kRulerBandRows),
                                                         font, origin, markedCount, breaks);
        return band ? band->toImage() : QImage();
    }

    int Centre(int column) const { return cells.CellCentre(column, 0).x(); }

    int CountColour(const QImage& image, const QRect& area, QRgb colour) const {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
        return count;
    }

    // The upper grid row, where labels go, without the two edge lines at the top.
    QRect LabelArea(int width) const { return QRect(0, 2, width, bottom - cells.CellHeight() / 2 - 2); }

    QFont font;
    CellGeometry cells{0, 0};
    int bottom = 0;
};

// A line of 60 columns ends with the label 60: it is shifted left to end with the line, never cut by it.
TEST_F(RulerBandTest, LabelAtTheEndOfALineStaysWholeInsideIt) {
    const QImage band = Band(0, 60, 0);
    const QRect labels = LabelArea(band.width());
    const QRect beyond(cells.ColumnLeft(60), labels.top(), band.width() - cells.ColumnLeft(60),
                       labels.height());
    EXPECT_EQ(0, CountColour(band, beyond, kBlack)) << "no label ink past the line's last column";
    const QRect lastCells(cells.ColumnLeft(57), labels.top(), cells.ColumnLeft(3), labels.height());
    EXPECT_GT(CountColour(band, lastCells, kBlack), 0) << "the label 60 is drawn, inside the line";
    EXPECT_EQ(RulerBuilder::LabelLeft(Centre(59), 30, cells.ColumnLeft(60)), cells.ColumnLeft(60) - 30);
}

// The alignment ends at column 45 of a 60-column line: no tick or label after it.
TEST_F(RulerBandTest, MarksStopAtTheLastColumnThatExists) {
    const QImage band = Band(0, 60, 0, true, true, 45);
    const QRect afterEnd(cells.ColumnLeft(45), 2, cells.ColumnLeft(15), bottom - 2);
    EXPECT_EQ(0, CountColour(band, afterEnd, kBlack));
    EXPECT_EQ(band.pixel(Centre(39), bottom - 1), kBlack) << "the tick of 40 is still there";
    EXPECT_EQ(band.size(), Band(0, 60, 0).size()) << "the band keeps the line's width";
}

// At a break in the numbering a label that does not fit beside it is left out; at a plain end it shifts.
TEST_F(RulerBandTest, LabelsThatWouldCrossABreakAreLeftOut) {
    // Columns 10..19 numbered 11..20: the label 20 sits at the right end.
    const QRect labels = LabelArea(cells.ColumnLeft(10));
    EXPECT_GT(CountColour(Band(10, 10, 0), labels, kBlack), 0);
    EXPECT_EQ(CountColour(Band(10, 10, 0, true, true, UINT_MAX, kBreakOnRight), labels, kBlack), 0);
    // Columns 19..28 numbered 20..29: the label 20 sits at the left end.
    EXPECT_GT(CountColour(Band(19, 10, 0), labels, kBlack), 0);
    EXPECT_EQ(CountColour(Band(19, 10, 0, true, true, UINT_MAX, kBreakOnLeft), labels, kBlack), 0);
    // A label well inside the band does not care.
    EXPECT_GT(
        CountColour(Band(15, 10, 0, true, true, UINT_MAX, kBreakOnLeft | kBreakOnRight), labels, kBlack), 0);
}

TEST_F(RulerBandTest, BreakMarkIsADoubleBarAcrossTheBand) {
    QImage band = Band(0, 20, 0, true, false);
    QPainter painter(&band);
    const int x = cells.ColumnLeft(10);
    RulerBuilder::DrawBreakMark(painter, x, 0, cells.RulerBandHeight());
    painter.end();
    for (int y : {3, cells.CellHeight(), bottom - 1}) {
        EXPECT_EQ(band.pixel(x - 1, y), kBlack) << y;
        EXPECT_EQ(band.pixel(x + 1, y), kBlack) << y;
        EXPECT_EQ(band.pixel(x, y), kRulerBackground) << y;
    }
}

TEST_F(RulerBandTest, BandIsFiveColumnsWiderThanItsBlockAndTwoCellsHigh) {
    EXPECT_EQ(QSize(cells.ColumnLeft(65), cells.RulerBandHeight()), Band(0, 60, 0).size());
    EXPECT_EQ(QSize(cells.ColumnLeft(5), cells.RulerBandHeight()), Band(0, 0, 0).size());
}

TEST_F(RulerBandTest, BandWithoutCellIsNull) {
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(0, cells.CellHeight(), true, true, 0, 10, int(kRulerBandRows),
                                                font, 0));
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(cells.CellWidth(), 0, true, true, 0, 10, int(kRulerBandRows),
                                                font, 0));
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(cells.CellWidth(), cells.CellHeight(), true, true, 0,
                                                0xFFFFFFF0u, int(kRulerBandRows), font, 0));
}

TEST_F(RulerBandTest, EdgeLinesAndBackground) {
    const QImage band = Band(0, 20, 0);
    const int width = band.width();
    EXPECT_EQ(width, CountColour(band, QRect(0, 0, width, 1), kWhite));
    EXPECT_EQ(width, CountColour(band, QRect(0, 1, width, 1), kBlack));
    EXPECT_EQ(width, CountColour(band, QRect(0, bottom, width, 1), kBlack));
    // The margin carries no ticks; only the label of the last column may reach into its first cell.
    EXPECT_EQ(
        cells.ColumnLeft(4) * (bottom - 2),
        CountColour(band, QRect(cells.ColumnLeft(21), 2, cells.ColumnLeft(4), bottom - 2), kRulerBackground));
}

TEST_F(RulerBandTest, HiddenRulerIsWhiteWithEdgeLinesOnly) {
    const QImage band = Band(0, 20, 0, false);
    const int width = band.width();
    EXPECT_EQ(width, CountColour(band, QRect(0, 0, width, 1), kWhite));
    EXPECT_EQ(width, CountColour(band, QRect(0, 1, width, 1), kBlack));
    EXPECT_EQ(width, CountColour(band, QRect(0, bottom, width, 1), kBlack));
    EXPECT_EQ(width * (bottom - 2), CountColour(band, QRect(0, 2, width, bottom - 2), kWhite));
}

TEST_F(RulerBandTest, ShortAndLongTicks) {
    const QImage band = Band(0, 20, 0);
    const int fifth = Centre(4);  // number 5: short tick
    const int tenth = Centre(9);  // number 10: long tick
    const int plain = Centre(6);  // number 7: no tick
    EXPECT_EQ(kBlack, band.pixel(fifth, bottom - 1));
    EXPECT_EQ(kBlack, band.pixel(fifth, bottom - cells.CellHeight() / 4));
    EXPECT_EQ(kRulerBackground, band.pixel(fifth, bottom - cells.CellHeight() / 4 - 1));
    EXPECT_EQ(kBlack, band.pixel(tenth, bottom - cells.CellHeight() / 4 - 1));
    EXPECT_EQ(kBlack, band.pixel(tenth, bottom - cells.CellHeight() / 2));
    EXPECT_EQ(kRulerBackground, band.pixel(tenth, bottom - cells.CellHeight() / 2 - 1));
    EXPECT_EQ(kRulerBackground, band.pixel(plain, bottom - 1));
    // Ticks are one pixel wide.
    EXPECT_EQ(kRulerBackground, band.pixel(tenth - 1, bottom - 1));
    EXPECT_EQ(kRulerBackground, band.pixel(tenth + 1, bottom - 1));
}

TEST_F(RulerBandTest, ColumnsBeforeTheOriginAreBlank) {
    const QImage band = Band(20, 10, 25);
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(kRulerBackground, band.pixel(Centre(column), bottom - 1)) << column;
    }
    EXPECT_EQ(kBlack, band.pixel(Centre(5), bottom - cells.CellHeight() / 2));  // number 1
    EXPECT_EQ(kBlack, band.pixel(Centre(9), bottom - cells.CellHeight() / 4));  // number 5
    EXPECT_EQ(0, CountColour(band, QRect(0, 2, cells.ColumnLeft(5) - 1, bottom - 2), kBlack));

    const QImage beyond = Band(0, 10, 25);
    EXPECT_EQ(0, CountColour(beyond, QRect(0, 2, beyond.width(), bottom - 2), kBlack));
}

TEST_F(RulerBandTest, NumbersAreDrawnOnlyWhenShown) {
    const QImage numbered = Band(0, 20, 0);
    const QImage bare = Band(0, 20, 0, true, false);
    EXPECT_GT(CountColour(numbered, LabelArea(numbered.width()), kBlack), 0);
    EXPECT_EQ(0, CountColour(bare, LabelArea(bare.width()), kBlack));
    // The ticks stay.
    EXPECT_EQ(kBlack, bare.pixel(Centre(9), bottom - cells.CellHeight() / 2));
}

TEST_F(RulerBandTest, LabelNearTheLeftEdgeStartsAtZero) {
    // Column 9 with origin 0 shows 10 at the band's first column: centred on that cell it would start left of
    // the band, so it is moved to x = 0 and drawn whole.
    const QImage band = Band(9, 10, 0);
    QPixmap expected(band.width(), band.height());
    expected.fill(QColor(kRulerBackground));
    {
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(QColor(kBlack));
        const int top = bottom - cells.LineTop(3) / 2;
        painter.drawText(QPoint(0, top + cells.CellHeight() - 3), QStringLiteral("10"));
    }
    const QImage reference = expected.toImage();
    const QRect area = LabelArea(cells.ColumnLeft(3));
    ASSERT_GT(CountColour(reference, area, kBlack), 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ASSERT_EQ(reference.pixel(x, y), band.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(RulerBandTest, LabelsSitInTheUpperGridRow) {
    const QImage band = Band(0, 20, 0);
    const int baseline = bottom - cells.LineTop(3) / 2 + cells.CellHeight() - 3;
    // The label of 10 is centred on its tick and ends on its baseline.
    EXPECT_GT(
        CountColour(band, QRect(Centre(9) - cells.CellWidth(), 2, cells.ColumnLeft(2), baseline - 1), kBlack),
        0);
    EXPECT_EQ(0, CountColour(band,
                             QRect(Centre(9) - cells.CellWidth(), baseline + 1, cells.ColumnLeft(2),
                                   bottom - cells.CellHeight() / 2 - baseline - 2),
                             kBlack));
}

class RulerLabelTest : public RulerBandTest {
protected:
    void SetUp() override {
        RulerBandTest::SetUp();
        canvas = QPixmap(cells.ColumnLeft(40), cells.RulerBandHeight());
        painter = std::make_unique<QPainter>(&canvas);
        painter->setFont(font);
    }
    void TearDown() override { painter.reset(); }

    int Width(const QString& text) {
        return painter->boundingRect(cells.Cell(0, 0), Qt::AlignLeft, text).width();
    }

    QPixmap canvas;
    std::unique_ptr<QPainter> painter;
};

TEST_F(RulerLabelTest, NumbersThatFitUseGroupedDigits) {
    for (int number : {1, 10, 1230, 99990}) {
        const QString expected = QtCommon::QFormat("%L1", true).arg(number, 0, 10, QChar(' '));
        EXPECT_EQ(expected, RulerBuilder::LabelText(*painter, number, cells.CellWidth(), cells.CellHeight()));
    }
}

TEST_F(RulerLabelTest, WideNumberUsesTheLargestScientificPrecisionThatFits) {
    const int number = 2147483640;  // ten digits and their grouping: wider than ten cells
    ASSERT_GT(Width(QtCommon::QFormat("%L1", true).arg(number, 0, 10, QChar(' '))), cells.ColumnLeft(10));
    const QString text = RulerBuilder::LabelText(*painter, number, cells.CellWidth(), cells.CellHeight());
    EXPECT_TRUE(text.contains(QLatin1Char('e'))) << text.toStdString();
    EXPECT_LE(Width(text), cells.ColumnLeft(10)) << text.toStdString();
    int precision = 8;
    while (precision > 1 &&
           QString(QtCommon::QFormat("%L1", true).arg(double(number), 0, 'e', precision, QChar(' '))) !=
               text) {
        --precision;
    }
    ASSERT_EQ(text,
              QString(QtCommon::QFormat("%L1", true).arg(double(number), 0, 'e', precision, QChar(' '))));
    if (precision < 8) {
        const QString finer =
            QtCommon::QFormat("%L1", true).arg(double(number), 0, 'e', precision + 1, QChar(' '));
        EXPECT_GT(Width(finer), cells.ColumnLeft(10))
            << "precision " << precision + 1 << " would have fitted";
    }
}

TEST_F(RulerLabelTest, LabelEntirelyLeftOfTheBandIsNotDrawn) {
    canvas.fill(Qt::white);
    RulerBuilder::DrawRulerLabel(*painter, cells.ColumnLeft(-20), 0, cells.CellHeight(), cells.CellWidth(),
                                 7);
    painter->end();
    const QImage image = canvas.toImage();
    EXPECT_EQ(0, CountColour(image, image.rect(), kBlack));
}

}  // namespace
