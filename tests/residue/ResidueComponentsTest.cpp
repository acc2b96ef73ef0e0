#include <gtest/gtest.h>

#include <QFont>
#include <QPainter>
#include <memory>

#include "PixelProbe.h"
#include "residue/CaretDecorator.h"
#include "residue/FontStyleDecorator.h"
#include "residue/LineDecorator.h"
#include "residue/PenCaches.h"
#include "residue/Residue.h"
#include "support/TestFont.h"

namespace {

using residuetest::Canvas;
using residuetest::CountPixels;
using residuetest::kWhite;

const QRgb kRed = 0xFFFF0000u;
const QRgb kBlue = 0xFF0000FFu;

// Records what the painter looked like when it was asked to draw, and when it was destroyed.
class SpyComponent : public ResidueBase {
public:
    struct Log {
        int draws = 0;
        bool destroyed = false;
        QFont font;
    };
    explicit SpyComponent(std::shared_ptr<Log> log) : log(std::move(log)) {}
    ~SpyComponent() override { log->destroyed = true; }
    bool Draw(QPainter* painter) const override {
        ++log->draws;
        log->font = painter->font();
        return true;
    }

private:
    std::shared_ptr<Log> log;
};

std::unique_ptr<ResidueBase> Blank() {
    return std::make_unique<Residue>(' ', 0, 0, 0xFF000000u);
}

TEST(ResidueComponentsTest, EveryComponentRefusesANullPainter) {
    EXPECT_FALSE(Residue('A', 0, 10, kBlue).Draw(nullptr));
    EXPECT_FALSE(ResidueDecorator(Blank()).Draw(nullptr));
    EXPECT_FALSE(CaretDecorator(Blank(), 0, 0, 5, 9, kRed).Draw(nullptr));
    EXPECT_FALSE(FontStyleDecorator(Blank(), 3).Draw(nullptr));
    EXPECT_FALSE(LineDecorator(Blank(), 0, 2, 10, kRed, false).Draw(nullptr));
}

TEST(ResidueComponentsTest, DecoratorWithoutComponentPaintsNothing) {
    std::unique_ptr<ResidueBase> broken[] = {
        std::make_unique<ResidueDecorator>(nullptr),
        std::make_unique<CaretDecorator>(nullptr, 0, 0, 8, 9, kRed),
        std::make_unique<FontStyleDecorator>(nullptr, 1),
        std::make_unique<LineDecorator>(nullptr, 0, 3, 12, kRed, false),
        std::make_unique<LineDecorator>(nullptr, 0, 0, 12, kRed, true),
    };
    for (const auto& component : broken) {
        QPixmap canvas = Canvas(12, 12);
        QPainter painter(&canvas);
        EXPECT_FALSE(component->Draw(&painter));
        painter.end();
        EXPECT_EQ(144, CountPixels(canvas.toImage(), canvas.rect(), kWhite));
    }
    // A broken link deep inside the chain fails the whole chain.
    LineDecorator outer(std::make_unique<ResidueDecorator>(nullptr), 0, 3, 12, kRed, false);
    QPixmap canvas = Canvas(12, 12);
    QPainter painter(&canvas);
    EXPECT_FALSE(outer.Draw(&painter));
}

TEST(ResidueComponentsTest, ResidueDrawsItsLetterInItsColour) {
    const QFont font = testsupport::MonoFont(20);
    QPixmap canvas = Canvas(40, 40);
    QPainter painter(&canvas);
    painter.setFont(font);
    EXPECT_TRUE(Residue('M', 5, 30, kBlue).Draw(&painter));
    painter.end();
    const QImage image = canvas.toImage();
    EXPECT_GT(CountPixels(image, QRect(5, 0, 35, 31), kBlue), 0);
    // Nothing left of x or below the baseline for a letter without descender.
    EXPECT_EQ(0, CountPixels(image, QRect(0, 0, 4, 40), kBlue));
    EXPECT_EQ(0, CountPixels(image, QRect(0, 32, 40, 8), kBlue));
}

TEST(ResidueComponentsTest, CaretOfWidthNineHasItsApexAtFour) {
    const int x = 3, y = 2, height = 12;
    QPixmap canvas = Canvas(20, 20);
    QPainter painter(&canvas);
    EXPECT_TRUE(CaretDecorator(Blank(), x, y, height, 9, kRed).Draw(&painter));
    painter.end();
    const QImage image = canvas.toImage();
    EXPECT_EQ(kRed, image.pixel(x + 4, y + height));
    EXPECT_EQ(1, CountPixels(image, QRect(0, y + height, 20, 1), kRed));
    EXPECT_EQ(0, CountPixels(image, QRect(0, y + height + 1, 20, 5), kRed));
    // The base runs along the top edge from x to x + 9, and the inside is filled.
    EXPECT_EQ(10, CountPixels(image, QRect(0, y, 20, 1), kRed));
    EXPECT_EQ(kRed, image.pixel(x + 4, y + height / 2));
    EXPECT_EQ(kWhite, image.pixel(x + 4, y - 1));
}

TEST(ResidueComponentsTest, VerticalLineIsTwoPixelsWideAroundColumnOne) {
    QPixmap canvas = Canvas(10, 20);
    QPainter painter(&canvas);
    EXPECT_TRUE(LineDecorator(Blank(), 0, 3, 15, kRed, true).Draw(&painter));
    painter.end();
    const QImage image = canvas.toImage();
    for (int y = 3; y <= 15; ++y) {
        EXPECT_EQ(kRed, image.pixel(1, y)) << y;
        EXPECT_EQ(2, CountPixels(image, QRect(0, y, 10, 1), kRed)) << y;
    }
    EXPECT_EQ(0, CountPixels(image, QRect(3, 0, 7, 20), kRed));
    EXPECT_EQ(0, CountPixels(image, QRect(0, 0, 10, 2), kRed));
}

TEST(ResidueComponentsTest, HorizontalLineSpansFromXToEnd) {
    QPixmap canvas = Canvas(20, 10);
    QPainter painter(&canvas);
    EXPECT_TRUE(LineDecorator(Blank(), 2, 4, 12, kBlue, false).Draw(&painter));
    painter.end();
    const QImage image = canvas.toImage();
    EXPECT_EQ(11, CountPixels(image, QRect(2, 4, 11, 1), kBlue));
    EXPECT_EQ(11, CountPixels(image, image.rect(), kBlue));
}

TEST(ResidueComponentsTest, OuterMarksArePaintedUnderInnerOnes) {
    // The vertical bar wraps the horizontal line, so it paints first and the line crosses over it.
    LineDecorator chain(std::make_unique<LineDecorator>(Blank(), 0, 5, 9, kBlue, false), 0, 0, 9, kRed, true);
    QPixmap canvas = Canvas(10, 10);
    QPainter painter(&canvas);
    EXPECT_TRUE(chain.Draw(&painter));
    painter.end();
    const QImage image = canvas.toImage();
    EXPECT_EQ(kBlue, image.pixel(1, 5));
    EXPECT_EQ(kRed, image.pixel(1, 4));
}

TEST(ResidueComponentsTest, MarksRestoreThePaintersPenAndBrush) {
    QPixmap canvas = Canvas(10, 10);
    QPainter painter(&canvas);
    const QPen pen(QColor(Qt::green), 3);
    const QBrush brush(QColor(Qt::yellow), Qt::Dense3Pattern);
    painter.setPen(pen);
    painter.setBrush(brush);
    CaretDecorator caret(std::make_unique<LineDecorator>(
                             std::make_unique<LineDecorator>(std::make_unique<Residue>('A', 0, 8, kBlue), 0,
                                                             8, 9, kBlue, false),
                             0, 0, 9, kRed, true),
                         0, 0, 4, 9, kRed);
    EXPECT_TRUE(caret.Draw(&painter));
    EXPECT_EQ(pen, painter.pen());
    EXPECT_EQ(brush, painter.brush());
}

TEST(ResidueComponentsTest, FontStyleAppliesOnlyTheSetBitsToTheInnerComponent) {
    QPixmap canvas = Canvas(10, 10);
    QPainter painter(&canvas);
    const QFont base = testsupport::MonoFont(10);
    struct Case {
        int style;
        bool baseBold;
        bool expectBold;
        bool expectItalic;
    } cases[] = {
        {1, false, true, false}, {2, false, false, true}, {3, false, true, true}, {2, true, true, true}};
    for (const Case& c : cases) {
        QFont start(base);
        start.setBold(c.baseBold);
        painter.setFont(start);
        auto log = std::make_shared<SpyComponent::Log>();
        EXPECT_TRUE(FontStyleDecorator(std::make_unique<SpyComponent>(log), c.style).Draw(&painter));
        EXPECT_EQ(1, log->draws);
        EXPECT_EQ(c.expectBold, log->font.bold()) << c.style;
        EXPECT_EQ(c.expectItalic, log->font.italic()) << c.style;
        EXPECT_EQ(start, painter.font()) << "font restored after style " << c.style;
    }
}

TEST(ResidueComponentsTest, DestroyingTheOutermostComponentDestroysTheChain) {
    auto log = std::make_shared<SpyComponent::Log>();
    {
        CaretDecorator chain(
            std::make_unique<FontStyleDecorator>(
                std::make_unique<LineDecorator>(std::make_unique<SpyComponent>(log), 0, 0, 5, kRed, true), 1),
            0, 0, 3, 5, kRed);
        EXPECT_FALSE(log->destroyed);
    }
    EXPECT_TRUE(log->destroyed);
}

TEST(ResidueComponentsTest, ResiduesOfOneColourShareOnePen) {
    const unsigned colour = 0xFF123457u;  // used by no other test
    const std::size_t before = PenCaches::ResiduePenCount();
    QPixmap canvas = Canvas(30, 20);
    QPainter painter(&canvas);
    EXPECT_TRUE(Residue('A', 0, 15, colour).Draw(&painter));
    EXPECT_TRUE(Residue('C', 10, 15, colour).Draw(&painter));
    EXPECT_EQ(before + 1, PenCaches::ResiduePenCount());
}

TEST(ResidueComponentsTest, OnlyHorizontalLinesUseTheLinePenCache) {
    const unsigned colour = 0xFF654322u;
    const std::size_t before = PenCaches::LinePenCount();
    QPixmap canvas = Canvas(10, 10);
    QPainter painter(&canvas);
    EXPECT_TRUE(LineDecorator(Blank(), 0, 0, 9, colour, true).Draw(&painter));
    EXPECT_EQ(before, PenCaches::LinePenCount());
    EXPECT_TRUE(LineDecorator(Blank(), 0, 5, 9, colour, false).Draw(&painter));
    EXPECT_TRUE(LineDecorator(Blank(), 0, 6, 9, colour, false).Draw(&painter));
    EXPECT_EQ(before + 1, PenCaches::LinePenCount());
}

}  // namespace
