#include "font/ShadedText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QString>

namespace {

// Qt's glyphs may reach a pixel or two beyond the bounds the metrics give (hinting, bold strokes).
constexpr int kInkMargin = 3;

bool CanShade(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const QPaintEngine* engine = painter.paintEngine();
    const QPen& pen = painter.pen();
    return device && engine && engine->type() == QPaintEngine::Raster && device->devicePixelRatio() == 1 &&
           pen.style() != Qt::NoPen && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255;
}

// Partly covered pixels of the layer become the ink at the nearest of kInkLevels coverages. The layer
// holds only this ink, so each pixel's colour is known from its coverage alone.
void QuantizeCoverage(QImage& layer, QRgb ink) {
    const int steps = kInkLevels - 1;
    QRgb shades[kInkLevels];
    for (int level = 0; level <= steps; ++level)
        shades[level] = qPremultiply(qRgba(qRed(ink), qGreen(ink), qBlue(ink), level * 255 / steps));
    for (int y = 0; y < layer.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            const int coverage = qAlpha(line[x]);
            if (coverage != 0 && coverage != 255) line[x] = shades[(coverage * steps + 127) / 255];
        }
    }
}

// Draws with `draw` onto a transparent layer over `bounds` (logical coordinates), coarsens the layer's
// coverage and lays it on the painter's device.
template <typename Draw>
void DrawThroughLayer(QPainter& painter, const QRectF& bounds, Draw draw) {
    const QPaintDevice& device = *painter.device();
    const QTransform toDevice = painter.deviceTransform();
    const QRect box =
        toDevice.mapRect(bounds).toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin) &
        QRect(0, 0, device.width(), device.height());
    if (box.isEmpty()) return;
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull()) return;
    layer.fill(Qt::transparent);
    // The same resolution as the device, so that point sizes give the same pixels.
    layer.setDotsPerMeterX(qRound(device.logicalDpiX() / 0.0254));
    layer.setDotsPerMeterY(qRound(device.logicalDpiY() / 0.0254));
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(painter.renderHints());
        layerPainter.setFont(painter.font());
        layerPainter.setPen(painter.pen());
        layerPainter.setTransform(toDevice * QTransform::fromTranslate(-box.left(), -box.top()));
        draw(layerPainter);
    }
    QuantizeCoverage(layer, painter.pen().color().rgb());
    painter.save();
    painter.resetTransform();
    painter.drawImage(box.topLeft(), layer);
    painter.restore();
}

}  // namespace

void DrawShadedText(QPainter& painter, const QPointF& baseline, const QString& text) {
    if (text.isEmpty()) return;
    if (!CanShade(painter)) {
        painter.drawText(baseline, text);
        return;
    }
    const QRectF bounds =
        QFontMetricsF(painter.font(), painter.device()).boundingRect(text).translated(baseline);
    DrawThroughLayer(painter, bounds, [&](QPainter& layer) { layer.drawText(baseline, text); });
}

void DrawShadedText(QPainter& painter, const QRect& box, int flags, const QString& text) {
    if (text.isEmpty()) return;
    if (!CanShade(painter)) {
        painter.drawText(box, flags, text);
        return;
    }
    const QRectF bounds =
        QFontMetricsF(painter.font(), painter.device()).boundingRect(QRectF(box), flags, text).united(box);
    DrawThroughLayer(painter, bounds, [&](QPainter& layer) { layer.drawText(box, flags, text); });
}
