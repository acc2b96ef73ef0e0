// The EPS device: a bounding box in points, shapes as PostScript paths in pixels from the top-left corner,
// text as strings in fonts embedded as outlines.

#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>

#include "picture/EpsDevice.h"
#include "support/TestFont.h"

namespace {

QByteArray Paint(QSize pixels, int dpi, const std::function<void(QPainter&)>& paint) {
    EpsDevice eps(pixels, dpi, QStringLiteral("test"));
    QPainter painter(&eps);
    paint(painter);
    painter.end();
    return eps.Document();
}

TEST(EpsDevice, TheBoundingBoxIsThePictureInPointsAndTheCornerIsTopLeft) {
    const QByteArray document = Paint(QSize(200, 101), 96, [](QPainter&) {});
    EXPECT_TRUE(document.startsWith("%!PS-Adobe-3.0 EPSF-3.0\n"));
    EXPECT_TRUE(document.contains("%%BoundingBox: 0 0 150 76\n"));  // 101 x 0.75 = 75.75, rounded up
    EXPECT_TRUE(document.contains("0 75.75 translate 0.75 -0.75 scale\n"));
    EXPECT_TRUE(document.endsWith("showpage\n%%EOF\n"));
}

TEST(EpsDevice, RectanglesAreFilledInTheirColourWhereThePainterPutsThem) {
    const QByteArray document = Paint(QSize(100, 100), 72, [](QPainter& painter) {
        painter.translate(10, 20);
        painter.fillRect(QRect(1, 2, 30, 40), QColor(255, 0, 0));
        painter.fillRect(QRect(5, 5, 1, 1), QColor(255, 0, 0));
    });
    EXPECT_TRUE(document.contains("1 0 0 C 11 22 30 40 F\n"));
    EXPECT_TRUE(document.contains("\n15 25 1 1 F\n"));  // the same colour is not set again
}

TEST(EpsDevice, TextIsAStringInAnEmbeddedFontOfEachFaceWithParenthesesEscaped) {
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setPixelSize(12);
    sans.setBold(true);
    const QByteArray document = Paint(QSize(100, 100), 96, [&](QPainter& painter) {
        painter.setFont(testsupport::MonoFont(9));
        painter.drawText(QPoint(3, 14), QStringLiteral("seq(1)\\"));
        painter.setFont(sans);
        painter.drawText(QPoint(3, 30), QStringLiteral("name"));
    });
    EXPECT_TRUE(document.contains("/DejaVuSansMono-Book findfont 12 scalefont setfont\n"))
        << document.constData();
    EXPECT_TRUE(document.contains("(seq\\(1\\)\\\\) 3 14 T\n")) << document.constData();
    EXPECT_TRUE(document.contains("/DejaVuSans-Bold findfont 12 scalefont setfont\n"))
        << document.constData();
    // Each font is defined before the drawing, with the outlines of just its characters.
    const int mono = document.indexOf("/DejaVuSansMono-Book exch definefont");
    ASSERT_GE(mono, 0);
    EXPECT_LT(mono, document.indexOf("findfont"));
    EXPECT_EQ(document.count("/FontType 3 def"), 2);
    EXPECT_EQ(document.count("setcachedevice"), 2 + 7 + 4);  // two empty glyphs, "seq(1)\\" and "name"
    EXPECT_FALSE(document.contains("Courier"));
}

TEST(EpsDevice, CharactersBeyondAsciiGetCodesOfTheirOwnAndMoreThanAFontHoldsGoOnInANextOne) {
    QString many = QStringLiteral("x\u00e9");
    for (char32_t c = 0x400; c < 0x400 + 300; ++c) many += QString::fromUcs4(&c, 1);
    const QByteArray document = Paint(QSize(100, 100), 72, [&](QPainter& painter) {
        painter.setFont(testsupport::MonoFont(10));
        painter.drawText(QPoint(0, 10), QStringLiteral("\u00e9t\u00e9"));
        painter.drawText(QPoint(0, 20), many);
    });
    EXPECT_TRUE(document.contains("(\\177t\\177) 0 10 T\n")) << document.left(2000).constData();
    EXPECT_TRUE(document.contains("/DejaVuSansMono-Book.1 exch definefont"));
    EXPECT_FALSE(document.contains("/DejaVuSansMono-Book.2 "));
    EXPECT_TRUE(document.contains("/DejaVuSansMono-Book.1 findfont 10 scalefont setfont\n(\\177"));
    // 'x', 't' and 161 further characters (codes 127 to 255 and 0 to 31) fill the first font.
    EXPECT_EQ(document.count("setcachedevice"), 2 + 2 + 1 + 160 + (300 - 160));
}

TEST(EpsDevice, OutlinesAreStrokedWithTheirDashes) {
    const QByteArray document = Paint(QSize(50, 50), 72, [](QPainter& painter) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(0, 5, 40, 5);
    });
    EXPECT_TRUE(document.contains("N 0 5 M\n40 5 L\n")) << document.constData();
    EXPECT_TRUE(document.contains("1 setlinewidth [4 2 ] 0 setdash\nstroke\n")) << document.constData();
}

}  // namespace
