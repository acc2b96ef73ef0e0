#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <cstdlib>
#include <functional>
#include <set>

#include "font/ShadedText.h"
#include "support/TestFont.h"

namespace {

const QRgb kPaper = qRgb(255, 255, 255);
const QRgb kInk = qRgb(0, 0, 0);

// `draw` on a fresh image of paper colour, with the test font and the ink as pen.
QImage Paint(const std::function<void(QPainter&)>& draw, QRgb paper = kPaper, QRgb ink = kInk,
             QSize size = QSize(160, 60)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(paper);
    QPainter painter(&image);
    painter.setFont(testsupport::MonoFont(14));
    painter.setPen(QColor(ink));
    draw(painter);
    return image;
}

// The most a channel may differ from full anti-aliasing: half a level step between paper and ink, and
// two for rounding in Qt's blends.
int Tolerance(int paper, int ink) {
    return (std::abs(paper - ink) + 2 * kInkLevels - 3) / (2 * (kInkLevels - 1)) + 2;
}

// Every pixel of `shaded` is within the tolerance of `plain`, channel by channel; some ink was drawn.
void ExpectSameLetters(const QImage& plain, const QImage& shaded, QRgb paper = kPaper, QRgb ink = kInk) {
    ASSERT_EQ(plain.size(), shaded.size());
    int inked = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb a = plain.pixel(x, y), b = shaded.pixel(x, y);
            ASSERT_LE(std::abs(qRed(a) - qRed(b)), Tolerance(qRed(paper), qRed(ink))) << x << "," << y;
            ASSERT_LE(std::abs(qGreen(a) - qGreen(b)), Tolerance(qGreen(paper), qGreen(ink)))
                << x << "," << y;
            ASSERT_LE(std::abs(qBlue(a) - qBlue(b)), Tolerance(qBlue(paper), qBlue(ink))) << x << "," << y;
            inked += b != paper;
        }
    EXPECT_GT(inked, 20);
}

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return colours;
}

const QString kText = QStringLiteral("Wg@ACDEFQ");

TEST(ShadedTextTest, InkOnPaperTakesOnlyTheLevelsOfCoverage) {
    const QImage plain = Paint([](QPainter& p) { p.drawText(QPointF(4, 30), kText); });
    const QImage shaded = Paint([](QPainter& p) { DrawShadedText(p, QPointF(4, 30), kText); });
    ASSERT_GT(Colours(plain).size(), std::size_t(kInkLevels));  // the font itself uses more shades
    const std::set<QRgb> colours = Colours(shaded);
    EXPECT_LE(colours.size(), std::size_t(kInkLevels));
    for (QRgb colour : colours) {
        const double level = (255 - qRed(colour)) * (kInkLevels - 1) / 255.0;
        EXPECT_NEAR(level, std::round(level), 0.1) << qRed(colour);
    }
    ExpectSameLetters(plain, shaded);
}

TEST(ShadedTextTest, ColouredInkOnColouredPaperKeepsItsPlace) {
    const QRgb paper = qRgb(230, 140, 60), ink = qRgb(20, 40, 200);
    const QImage plain = Paint([](QPainter& p) { p.drawText(QPointF(4, 30), kText); }, paper, ink);
    const QImage shaded = Paint([](QPainter& p) { DrawShadedText(p, QPointF(4, 30), kText); }, paper, ink);
    ExpectSameLetters(plain, shaded, paper, ink);
    EXPECT_LE(Colours(shaded).size(), std::size_t(kInkLevels));
}

TEST(ShadedTextTest, TextInABoxIsPlacedLikeThePaintersOwn) {
    const QRect box(10, 5, 140, 50);
    const int flags = Qt::AlignCenter;
    const QImage plain = Paint([&](QPainter& p) { p.drawText(box, flags, QStringLiteral("K")); });
    const QImage shaded = Paint([&](QPainter& p) { DrawShadedText(p, box, flags, QStringLiteral("K")); });
    ExpectSameLetters(plain, shaded);
}

TEST(ShadedTextTest, ScaledAndTranslatedPaintersDrawAtDeviceResolution) {
    const auto transform = [](QPainter& p) {
        p.translate(7, 3);
        p.scale(3, 3);
    };
    const QSize size(420, 120);
    const QImage plain = Paint(
        [&](QPainter& p) {
            transform(p);
            p.drawText(QPointF(1, 20), kText);
        },
        kPaper, kInk, size);
    const QImage shaded = Paint(
        [&](QPainter& p) {
            transform(p);
            DrawShadedText(p, QPointF(1, 20), kText);
        },
        kPaper, kInk, size);
    ExpectSameLetters(plain, shaded);
}

TEST(ShadedTextTest, ClipAndDeviceEdgesCutTheText) {
    // Half the text lies left of the image and the clip keeps only its top rows.
    const auto draw = [](QPainter& p, bool shaded) {
        p.setClipRect(QRect(0, 0, 160, 24));
        shaded ? DrawShadedText(p, QPointF(-40, 30), kText) : p.drawText(QPointF(-40, 30), kText);
    };
    const QImage plain = Paint([&](QPainter& p) { draw(p, false); });
    const QImage shaded = Paint([&](QPainter& p) { draw(p, true); });
    ExpectSameLetters(plain, shaded);
    for (int y = 24; y < shaded.height(); ++y)
        for (int x = 0; x < shaded.width(); ++x) ASSERT_EQ(kPaper, shaded.pixel(x, y)) << x << "," << y;
    // Nothing of it on the image at all: nothing drawn, no failure.
    const QImage outside = Paint([](QPainter& p) { DrawShadedText(p, QPointF(-500, -500), kText); });
    EXPECT_EQ(std::set<QRgb>{kPaper}, Colours(outside));
}

TEST(ShadedTextTest, TranslucentInkAndRecordingDevicesGetThePaintersOwnText) {
    const QRgb translucent = qRgba(0, 0, 0, 128);
    const auto draw = [translucent](QPainter& p, bool shaded) {
        p.setPen(QColor::fromRgba(translucent));
        shaded ? DrawShadedText(p, QPointF(4, 30), kText) : p.drawText(QPointF(4, 30), kText);
    };
    EXPECT_EQ(Paint([&](QPainter& p) { draw(p, false); }), Paint([&](QPainter& p) { draw(p, true); }));

    // A recorded picture keeps the text as text, so that it plays back like the painter's own.
    QPicture recorded;
    {
        QPainter painter(&recorded);
        painter.setFont(testsupport::MonoFont(14));
        DrawShadedText(painter, QPointF(4, 30), kText);
    }
    const QImage replayed = Paint([&](QPainter& p) { p.drawPicture(0, 0, recorded); });
    EXPECT_EQ(Paint([](QPainter& p) { p.drawText(QPointF(4, 30), kText); }), replayed);
}

TEST(ShadedTextTest, ATextDrawnAgainElsewhereLandsWhereThePainterPutsIt) {
    // The second and third drawings reuse the first one's layer: at another place, through a translated
    // painter, and in a box.
    const auto draw = [](QPainter& p, bool shaded) {
        const auto text = [&](QPointF at) { shaded ? DrawShadedText(p, at, kText) : p.drawText(at, kText); };
        text(QPointF(2, 16));
        text(QPointF(60, 40));
        p.translate(-30, 3);
        text(QPointF(40, 52));
        const QRect box(120, 2, 30, 20);
        shaded ? DrawShadedText(p, box, Qt::AlignRight, QStringLiteral("Q"))
               : p.drawText(box, Qt::AlignRight, QStringLiteral("Q"));
    };
    const QImage plain = Paint([&](QPainter& p) { draw(p, false); });
    ExpectSameLetters(plain, Paint([&](QPainter& p) { draw(p, true); }));
    ExpectSameLetters(plain, Paint([&](QPainter& p) { draw(p, true); }));

    // Another ink is another layer.
    const QRgb red = qRgb(220, 0, 0);
    const QImage redText = Paint([](QPainter& p) { DrawShadedText(p, QPointF(2, 16), kText); }, kPaper, red);
    EXPECT_TRUE(Colours(redText).count(red));
    EXPECT_FALSE(Colours(redText).count(kInk));
}

TEST(ShadedTextTest, LabelsAreShadedOnlyWhileAPictureIsPainted) {
    const auto label = [](QPainter& p) { DrawLabelText(p, QPointF(4, 30), kText); };
    EXPECT_EQ(Paint([](QPainter& p) { p.drawText(QPointF(4, 30), kText); }), Paint(label));
    QImage inPicture;
    {
        const PictureShades shades;
        inPicture = Paint(label);
    }
    EXPECT_EQ(Paint([](QPainter& p) { DrawShadedText(p, QPointF(4, 30), kText); }), inPicture);
    EXPECT_LE(Colours(inPicture).size(), std::size_t(kInkLevels));
    EXPECT_EQ(Paint([](QPainter& p) { p.drawText(QPointF(4, 30), kText); }), Paint(label))
        << "after the picture";
}

}  // namespace
