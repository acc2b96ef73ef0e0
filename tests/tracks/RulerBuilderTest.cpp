#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

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
        const SQC::FontAttributes cell(font);
        W = cell.GetMaxWidth();
        H = cell.GetMaxHeight();
        bottom = 2 * H - 1;
    }

    QImage Band(unsigned firstColumn, unsigned count, int origin, bool showRuler = true,
                bool showNumbers = true) const {
        const auto band =
            RulerBuilder::BuildRulerPixmap(W, H, showRuler, showNumbers, firstColumn, count, 2, font, origin);
        return band ? band->toImage() : QImage();
    }

    int Centre(int column) const { return column * W + W / 2; }

    int CountColour(const QImage& image, const QRect& area, QRgb colour) const {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour ? 1 : 0;
        return count;
    }

    // The upper grid row, where labels go, without the two edge lines at the top.
    QRect LabelArea(int width) const { return QRect(0, 2, width, bottom - H / 2 - 2); }

    QFont font;
    int W = 0;
    int H = 0;
    int bottom = 0;
};

TEST_F(RulerBandTest, BandIsFiveColumnsWiderThanItsBlockAndTwoCellsHigh) {
    EXPECT_EQ(QSize(65 * W, 2 * H), Band(0, 60, 0).size());
    EXPECT_EQ(QSize(5 * W, 2 * H), Band(0, 0, 0).size());
}

TEST_F(RulerBandTest, BandWithoutCellIsNull) {
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(0, H, true, true, 0, 10, 2, font, 0));
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(W, 0, true, true, 0, 10, 2, font, 0));
    EXPECT_FALSE(RulerBuilder::BuildRulerPixmap(W, H, true, true, 0, 0xFFFFFFF0u, 2, font, 0));
}

TEST_F(RulerBandTest, EdgeLinesAndBackground) {
    const QImage band = Band(0, 20, 0);
    const int width = band.width();
    EXPECT_EQ(width, CountColour(band, QRect(0, 0, width, 1), kWhite));
    EXPECT_EQ(width, CountColour(band, QRect(0, 1, width, 1), kBlack));
    EXPECT_EQ(width, CountColour(band, QRect(0, bottom, width, 1), kBlack));
    // The margin carries no ticks; only the label of the last column may reach into its first cell.
    EXPECT_EQ(4 * W * (bottom - 2), CountColour(band, QRect(21 * W, 2, 4 * W, bottom - 2), kRulerBackground));
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
    EXPECT_EQ(kBlack, band.pixel(fifth, bottom - H / 4));
    EXPECT_EQ(kRulerBackground, band.pixel(fifth, bottom - H / 4 - 1));
    EXPECT_EQ(kBlack, band.pixel(tenth, bottom - H / 4 - 1));
    EXPECT_EQ(kBlack, band.pixel(tenth, bottom - H / 2));
    EXPECT_EQ(kRulerBackground, band.pixel(tenth, bottom - H / 2 - 1));
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
    EXPECT_EQ(kBlack, band.pixel(Centre(5), bottom - H / 2));  // number 1
    EXPECT_EQ(kBlack, band.pixel(Centre(9), bottom - H / 4));  // number 5
    EXPECT_EQ(0, CountColour(band, QRect(0, 2, 5 * W - 1, bottom - 2), kBlack));

    const QImage beyond = Band(0, 10, 25);
    EXPECT_EQ(0, CountColour(beyond, QRect(0, 2, beyond.width(), bottom - 2), kBlack));
}

TEST_F(RulerBandTest, NumbersAreDrawnOnlyWhenShown) {
    const QImage numbered = Band(0, 20, 0);
    const QImage bare = Band(0, 20, 0, true, false);
    EXPECT_GT(CountColour(numbered, LabelArea(numbered.width()), kBlack), 0);
    EXPECT_EQ(0, CountColour(bare, LabelArea(bare.width()), kBlack));
    // The ticks stay.
    EXPECT_EQ(kBlack, bare.pixel(Centre(9), bottom - H / 2));
}

TEST_F(RulerBandTest, LabelNearTheLeftEdgeStartsAtZero) {
    // Column 9 with origin 0 shows 10 at the band's first column: centred on W / 2 it would start left of
    // the band, so it is moved to x = 0 and drawn whole.
    const QImage band = Band(9, 10, 0);
    QPixmap expected(band.width(), band.height());
    expected.fill(QColor(kRulerBackground));
    {
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(QColor(kBlack));
        const int top = bottom - (3 * H) / 2;
        painter.drawText(QPoint(0, top + H - 3), QStringLiteral("10"));
    }
    const QImage reference = expected.toImage();
    const QRect area = LabelArea(3 * W);
    ASSERT_GT(CountColour(reference, area, kBlack), 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ASSERT_EQ(reference.pixel(x, y), band.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(RulerBandTest, LabelsSitInTheUpperGridRow) {
    const QImage band = Band(0, 20, 0);
    const int baseline = bottom - (3 * H) / 2 + H - 3;
    // The label of 10 is centred on its tick and ends on its baseline.
    EXPECT_GT(CountColour(band, QRect(Centre(9) - W, 2, 2 * W, baseline - 1), kBlack), 0);
    EXPECT_EQ(0, CountColour(band, QRect(Centre(9) - W, baseline + 1, 2 * W, bottom - H / 2 - baseline - 2),
                             kBlack));
}

class RulerLabelTest : public RulerBandTest {
protected:
    void SetUp() override {
        RulerBandTest::SetUp();
        canvas = QPixmap(40 * W, 2 * H);
        painter = std::make_unique<QPainter>(&canvas);
        painter->setFont(font);
    }
    void TearDown() override { painter.reset(); }

    int Width(const QString& text) {
        return painter->boundingRect(QRect(0, 0, W, H), Qt::AlignLeft, text).width();
    }

    QPixmap canvas;
    std::unique_ptr<QPainter> painter;
};

TEST_F(RulerLabelTest, NumbersThatFitUseGroupedDigits) {
    for (int number : {1, 10, 1230, 99990}) {
        const QString expected = QtCommon::QFormat("%L1", true).arg(number, 0, 10, QChar(' '));
        EXPECT_EQ(expected, RulerBuilder::LabelText(*painter, number, W, H));
    }
}

TEST_F(RulerLabelTest, WideNumberUsesTheLargestScientificPrecisionThatFits) {
    const int number = 2147483640;  // ten digits and their grouping: wider than ten cells
    ASSERT_GT(Width(QtCommon::QFormat("%L1", true).arg(number, 0, 10, QChar(' '))), 10 * W);
    const QString text = RulerBuilder::LabelText(*painter, number, W, H);
    EXPECT_TRUE(text.contains(QLatin1Char('e'))) << text.toStdString();
    EXPECT_LE(Width(text), 10 * W) << text.toStdString();
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
        EXPECT_GT(Width(finer), 10 * W) << "precision " << precision + 1 << " would have fitted";
    }
}

TEST_F(RulerLabelTest, LabelEntirelyLeftOfTheBandIsNotDrawn) {
    canvas.fill(Qt::white);
    RulerBuilder::DrawRulerLabel(*painter, -20 * W, 0, H, W, 7);
    painter->end();
    const QImage image = canvas.toImage();
    EXPECT_EQ(0, CountColour(image, image.rect(), kBlack));
}

}  // namespace
