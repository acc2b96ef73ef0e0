// The planned picture painted for vector devices: letters, names and ruler numbers as text at their
// cells, backgrounds as one rectangle per run of equal cells, cartoons as shapes, and no pixels copied.

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QTextItem>
#include <climits>
#include <vector>

#include "renderer/ViewTestFixture.h"
#include "sqv/UserProperties.h"

using namespace viewtest;
using renderertest::AspectsOfCells;

namespace {

using Line = RenderSequenceData::PicturePlan::Line;

// Keeps what a painter asks of a vector device, in the device's pixels.
class RecordingEngine : public QPaintEngine {
public:
    struct Text {
        QString text;
        QPointF at;
    };
    struct Fill {
        QRectF rect;
        QRgb colour;
    };

    RecordingEngine() : QPaintEngine(PrimitiveTransform | PainterPaths) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyBrush) brush = state.brush();
        if (state.state() & DirtyTransform) transform = state.transform();
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            if (brush.style() != Qt::NoBrush)
                fills.push_back({transform.mapRect(rects[i]), brush.color().rgb()});
    }
    void drawPath(const QPainterPath&) override { ++shapes; }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++shapes; }
    void drawTextItem(const QPointF& point, const QTextItem& item) override {
        texts.push_back({item.text(), transform.map(point)});
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++pixels; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        ++pixels;
    }

    std::vector<Text> texts;
    std::vector<Fill> fills;
    int shapes = 0;
    int pixels = 0;

private:
    QBrush brush;
    QTransform transform;
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size(size) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    // The resolution of the images the pictures are measured for, so that text keeps its size.
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return size.width();
            case PdmHeight:
                return size.height();
            case PdmDevicePixelRatioScaled:
                return int(devicePixelRatioFScale());
            case PdmDevicePixelRatio:
                return 1;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return QImage(1, 1, QImage::Format_RGB32).logicalDpiX();
            case PdmDepth:
                return 32;
            default:
                return QPaintDevice::metric(metric);
        }
    }

private:
    QSize size;
};

class VectorPictureTest : public ViewFixture {
protected:
    RenderSequenceData::PicturePlan Plan(unsigned rows, bool vector) {
        RenderSequenceData::PicturePlan plan;
        std::vector<unsigned> all(rows);
        for (unsigned i = 0; i < rows; ++i) all[i] = i;
        EXPECT_TRUE(renderer.PlanPicture(all, {}, true, plan));
        plan.vectorShapes = vector;
        return plan;
    }
    const RecordingEngine& Record(const RenderSequenceData::PicturePlan& plan) {
        device = std::make_unique<RecordingDevice>(QSize(int(plan.width), int(plan.height)));
        QPainter painter(device.get());
        renderer.PaintPicture(plan, painter, 0, int(plan.height));
        painter.end();
        return device->engine;
    }
    QImage PaintOnImage(const RenderSequenceData::PicturePlan& plan) const {
        QImage image(int(plan.width), int(plan.height), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.PaintPicture(plan, painter, 0, image.height());
        return image;
    }
    // The texts, without surrounding spaces, that start in `rect` with their baseline on or above its bottom
    // edge: text sits on the bottom edge of its line.
    static std::vector<QString> TextsIn(const RecordingEngine& engine, const QRect& rect) {
        std::vector<QString> found;
        for (const auto& text : engine.texts) {
            const QPointF at = text.at;
            if (at.x() >= rect.left() && at.x() < rect.left() + rect.width() && at.y() > rect.top() &&
                at.y() <= rect.top() + rect.height())
                found.push_back(text.text.trimmed());
        }
        return found;
    }

    std::unique_ptr<RecordingDevice> device;
    BuiltAlignment alignment;
};

// GIVEN three rows of 25 letters in blocks of 10, the ruler shown and numbering column c as c + 1
TEST_F(VectorPictureTest, EveryLetterNameAndRulerNumberIsTextAtItsPlace) {
    alignment = LetterRows(3, 25);
    alignment.view->GetUserProperties().SetIntProperty(SQC::UserProperties::RulerDragOffset, 0);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const RenderSequenceData::PicturePlan plan = Plan(3, true);
    const RecordingEngine& engine = Record(plan);

    EXPECT_EQ(engine.pixels, 0);
    for (const Line& line : plan.lines) {
        const int top = int(line.top);
        if (line.kind == Line::Kind::RulerBand) {
            // Column c is numbered c + 1; the first and every tenth number is written.
            std::vector<QString> expected;
            for (unsigned number = line.first + 1; number <= line.first + line.count; ++number)
                if (number == 1 || number % 10 == 0) expected.push_back(QString::number(number));
            EXPECT_EQ(TextsIn(engine, QRect(plan.nameWidth, top, int(plan.width), line.height)), expected)
                << line.first;
            continue;
        }
        const auto names = TextsIn(engine, QRect(0, top, plan.nameWidth, line.height));
        EXPECT_EQ(names, std::vector<QString>{"seq" + QString::number(line.row)});
        for (unsigned column = line.first; column < line.first + line.count; ++column) {
            const QRect cell = cells.Cell(int(column - line.first), top).translated(plan.nameWidth, 0);
            EXPECT_EQ(TextsIn(engine, cell), std::vector<QString>{QString(QChar(LetterAt(line.row, column)))})
                << "row " << line.row << " column " << column;
        }
    }
}

// GIVEN a row AAAAACCCCC: two runs of equal backgrounds
TEST_F(VectorPictureTest, ARunOfEqualCellsIsOneRectangleOfTheirColour) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme()).Seq("runs", "AAAAACCCCC");
    alignment = builder.Build();
    auto aspects = AspectsOfCells(20, 12);
    aspects.showRuler = false;
    ASSERT_TRUE(RenderWith(alignment, aspects));
    const RenderSequenceData::PicturePlan plan = Plan(1, true);
    const RecordingEngine& engine = Record(plan);

    std::vector<RecordingEngine::Fill> cellFills;
    for (const auto& fill : engine.fills)
        if (fill.rect.left() >= plan.nameWidth && fill.rect.height() == cells.CellHeight())
            cellFills.push_back(fill);
    ASSERT_EQ(cellFills.size(), 2u);
    EXPECT_EQ(cellFills[0].rect.toRect(), QRect(plan.nameWidth, 0, cells.ColumnLeft(5), cells.CellHeight()));
    EXPECT_EQ(QColor(cellFills[0].colour), Background('A'));
    EXPECT_EQ(cellFills[1].rect.toRect(),
              QRect(plan.nameWidth + cells.ColumnLeft(5), 0, cells.ColumnLeft(5), cells.CellHeight()));
    EXPECT_EQ(QColor(cellFills[1].colour), Background('C'));
}

TEST_F(VectorPictureTest, CartoonsAreShapesAndRasterPicturesStillCopyPixels) {
    AlignmentBuilder builder(SDM::AminoAcid);
    builder.Scheme(renderertest::MakeLetterScheme())
        .Seq("folded", renderertest::Letters(12))
        .Structure("alpha", "HHHHCCSSSS--");
    alignment = builder.Build();
    auto aspects = AspectsOfCells(20, 12);
    aspects.showSecondaryStructure = true;
    ASSERT_TRUE(RenderWith(alignment, aspects));

    const RecordingEngine& vector = Record(Plan(1, true));
    EXPECT_EQ(vector.pixels, 0);
    const RenderSequenceData::PicturePlan plan = Plan(1, true);
    const int cartoonTop = cells.LineTop(int(kRulerBandRows) + 1);
    int cartoonFills = 0;
    for (const auto& fill : vector.fills)
        if (fill.rect.top() >= cartoonTop && fill.rect.bottom() <= cartoonTop + cells.CellHeight())
            ++cartoonFills;
    EXPECT_GE(cartoonFills, 6);   // helix and sheet cells
    EXPECT_GE(vector.shapes, 1);  // the arrow head and the dashed gap

    const RecordingEngine& raster = Record(Plan(1, false));
    EXPECT_GE(raster.pixels, 3);  // ruler band, residue strip, cartoon line
}

// The cells' colours of a vector painting on an image are those of the raster picture, cell by cell.
TEST_F(VectorPictureTest, CellsPaintedAsShapesHaveTheColoursOfTheRasterPicture) {
    alignment = LetterRows(4, 23);
    ASSERT_TRUE(RenderWith(alignment, AspectsOfCells(10, 12)));
    const RenderSequenceData::PicturePlan raster = Plan(4, false);
    const QImage pixels = PaintOnImage(raster);
    const QImage shapes = PaintOnImage(Plan(4, true));
    ASSERT_EQ(pixels.size(), shapes.size());
    for (const Line& line : raster.lines) {
        if (line.kind != Line::Kind::Row) continue;
        for (unsigned offset = 0; offset < line.count; ++offset) {
            const QPoint corner =
                cells.Cell(int(offset), int(line.top)).topLeft() + QPoint(raster.nameWidth, 0);
            EXPECT_EQ(CellColour(shapes, corner), CellColour(pixels, corner)) << line.row << " " << offset;
            EXPECT_EQ(CellColour(shapes, corner), Background(LetterAt(line.row, line.first + offset)));
        }
    }
}

}  // namespace
