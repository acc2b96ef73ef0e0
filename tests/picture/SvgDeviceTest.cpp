// The SVG device: written while it is painted, shapes with their colour where the painter puts them, text
// escaped and grouped by font, and a failing output reported.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>

#include "msarender/picture/VectorOutput.h"
#include "picture/SvgDevice.h"
#include "support/TestFont.h"

namespace {

QByteArray Paint(QSize pixels, const std::function<void(QPainter&)>& paint) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    SvgDevice svg(out, pixels, 96, QStringLiteral("a & b"));
    QPainter painter(&svg);
    paint(painter);
    painter.end();
    EXPECT_TRUE(svg.Written());
    return out.data();
}

TEST(SvgDevice, ThePictureIsItsSizeInPixelsAndShapesAreWhereThePainterPutsThem) {
    const QByteArray document = Paint(QSize(200, 101), [](QPainter& painter) {
        painter.translate(10, 20);
        painter.fillRect(QRect(1, 2, 30, 40), QColor(255, 0, 0));
        painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
        painter.drawLine(0, 5, 40, 5);
    });
    EXPECT_TRUE(document.contains("width=\"200\" height=\"101\" viewBox=\"0 0 200 101\""));
    EXPECT_TRUE(document.contains("<title>a &amp; b</title>"));
    EXPECT_TRUE(document.contains("<rect x=\"11\" y=\"22\" width=\"30\" height=\"40\" fill=\"#ff0000\"/>"))
        << document.constData();
    EXPECT_TRUE(
        document.contains("<path d=\"M10 25L50 25\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" "
                          "stroke-dasharray=\"4 2\"/>"))
        << document.constData();
    EXPECT_TRUE(document.endsWith("</svg>\n"));
}

TEST(SvgDevice, TextIsEscapedAndTextsOfOneFontShareOneGroup) {
    QFont bold = testsupport::MonoFont(9);
    bold.setBold(true);
    const QByteArray document = Paint(QSize(100, 100), [&](QPainter& painter) {
        painter.setFont(testsupport::MonoFont(9));
        painter.drawText(QPoint(3, 14), QStringLiteral("a<b>&\"c\""));
        painter.setPen(QColor(0, 0, 255));
        painter.drawText(QPoint(3, 28), QStringLiteral(" seq"));
        painter.setFont(bold);
        painter.drawText(QPoint(3, 42), QStringLiteral("B"));
    });
    // A generic family for readers without ours.
    EXPECT_EQ(document.count("<g font-family=\"'DejaVu Sans Mono', monospace\" font-size=\"12\">"), 1)
        << document.constData();
    EXPECT_TRUE(
        document.contains("<text x=\"3\" y=\"14\" fill=\"#000000\">a&lt;b&gt;&amp;&quot;c&quot;</text>"));
    EXPECT_TRUE(document.contains("<text x=\"3\" y=\"28\" fill=\"#0000ff\"> seq</text>"));  // spaces kept
    EXPECT_TRUE(document.contains("style=\"white-space:pre\""));  // and kept by SVG 2 readers too
    // A single letter is anchored at its middle, where it stays in any font.
    const QRegularExpressionMatch letter =
        QRegularExpression("font-weight=\"bold\">\n<text x=\"([0-9.]+)\" y=\"42\" text-anchor=\"middle\"")
            .match(QString::fromUtf8(document));
    ASSERT_TRUE(letter.hasMatch()) << document.constData();
    EXPECT_NEAR(letter.captured(1).toDouble(), 3 + QFontMetricsF(bold).horizontalAdvance('B') / 2, 0.05);
    EXPECT_EQ(document.count("<g "), document.count("</g>"));
}

TEST(SvgDevice, ALargePictureIsWrittenWhilePaintedAndAFailingOutputIsReported) {
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    SvgDevice svg(out, QSize(1000, 1000), 96, QString());
    QPainter painter(&svg);
    for (int i = 0; i < 40000; ++i) painter.fillRect(QRect(i % 1000, i / 1000, 1, 1), QColor(i % 256, 0, 0));
    EXPECT_GT(out.size(), 1 << 20);  // before the end
    painter.end();

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly)) GTEST_SKIP() << "no /dev/full";
    const QString error = EncodeSvg(full, QSize(1000, 1000), [](QPainter& p, int) {
        for (int i = 0; i < 40000; ++i) p.fillRect(QRect(i % 1000, i / 1000, 1, 1), QColor(i % 256, 0, 0));
    });
    EXPECT_TRUE(error.startsWith("cannot write the SVG")) << error.toStdString();
}

}  // namespace
