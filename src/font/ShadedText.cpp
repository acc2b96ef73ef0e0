#include "font/ShadedText.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <QString>
#include <cmath>
#include <functional>

namespace {

// Qt's glyphs may reach a pixel or two beyond the bounds the metrics give (hinting, bold strokes).
constexpr int kInkMargin = 3;
// Layers of texts drawn recently: pictures repeat annotation symbols and ruler numbers, and a name is
// drawn once, so a little is enough.
constexpr qsizetype kMaxCachedBytes = qsizetype(1) << 20;

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

// What a layer was drawn from: a text placed at its baseline (box empty) or in a box by flags.
// Fonts are held by their key: a QFont may not outlive the application, and the cache may.
struct LayerKey {
    QString text;
    QString font;
    QRgb ink;
    int dotsPerInch;
    int hints;
    QSize box;
    int flags;

    bool operator==(const LayerKey& other) const {
        return text == other.text && ink == other.ink && dotsPerInch == other.dotsPerInch &&
               hints == other.hints && box == other.box && flags == other.flags && font == other.font;
    }
};

size_t qHash(const LayerKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.font, key.ink, key.dotsPerInch, key.box.width(), key.box.height(),
                      key.flags);
}

// A coarsened layer and where its top left lies from the text's anchor, in device pixels.
struct Layer {
    QImage image;
    QPoint offset;
};

// The layers of texts drawn at whole pixels without scaling, which look the same wherever they are drawn;
// one cache per painting thread.
class LayerCache {
public:
    const Layer* Find(const LayerKey& key) const {
        const auto found = layers.constFind(key);
        return found == layers.constEnd() ? nullptr : &found.value();
    }
    void Insert(const LayerKey& key, const Layer& layer) {
        if (bytes + layer.image.sizeInBytes() > kMaxCachedBytes) {
            layers.clear();
            bytes = 0;
        }
        bytes += layer.image.sizeInBytes();
        layers.insert(key, layer);
    }

private:
    QHash<LayerKey, Layer> layers;
    qsizetype bytes = 0;
};

thread_local int picturesBeingPainted = 0;

LayerCache& Cache() {
    thread_local LayerCache cache;
    return cache;
}

// Draws with `draw` onto a transparent layer over `box` (device pixels) and coarsens its coverage.
QImage MakeLayer(const QPainter& painter, const QRect& box, const std::function<void(QPainter&)>& draw) {
    QImage layer(box.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull()) return layer;
    layer.fill(Qt::transparent);
    // The same resolution as the device, so that point sizes give the same pixels.
    layer.setDotsPerMeterX(qRound(painter.device()->logicalDpiX() / 0.0254));
    layer.setDotsPerMeterY(qRound(painter.device()->logicalDpiY() / 0.0254));
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHints(painter.renderHints());
        layerPainter.setFont(painter.font());
        layerPainter.setPen(painter.pen());
        layerPainter.setTransform(painter.deviceTransform() *
                                  QTransform::fromTranslate(-box.left(), -box.top()));
        draw(layerPainter);
    }
    QuantizeCoverage(layer, painter.pen().color().rgb());
    return layer;
}

void DrawLayer(QPainter& painter, QPoint at, const QImage& layer) {
    painter.save();
    painter.resetTransform();
    painter.drawImage(at, layer);
    painter.restore();
}

bool IsWhole(QPointF point) {
    return point.x() == std::floor(point.x()) && point.y() == std::floor(point.y());
}

// Draws the text of `key` anchored at `anchor` (logical coordinates) through a coarsened layer that covers
// `bounds()`. A text drawn at whole device pixels without scaling reuses the layer drawn for it before; a
// text that does not lie wholly on the device gets a layer of only what does, for this place only.
void DrawThroughLayer(QPainter& painter, const LayerKey& key, QPointF anchor,
                      const std::function<QRectF()>& bounds, const std::function<void(QPainter&)>& draw) {
    const QTransform toDevice = painter.deviceTransform();
    const QPointF deviceAnchor = toDevice.map(anchor);
    const bool wholePixels = toDevice.type() <= QTransform::TxTranslate && IsWhole(deviceAnchor);
    const QPoint at = deviceAnchor.toPoint();
    if (wholePixels) {
        if (const Layer* layer = Cache().Find(key))
            return DrawLayer(painter, at + layer->offset, layer->image);
    }
    const QRect box =
        toDevice.mapRect(bounds()).toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
    const QRect onDevice = box & QRect(0, 0, painter.device()->width(), painter.device()->height());
    if (onDevice.isEmpty()) return;
    const QImage layer = MakeLayer(painter, onDevice, draw);
    if (layer.isNull()) return;
    if (wholePixels && onDevice == box) Cache().Insert(key, Layer{layer, box.topLeft() - at});
    DrawLayer(painter, onDevice.topLeft(), layer);
}

LayerKey KeyOf(const QPainter& painter, const QString& text, QSize box = QSize(), int flags = 0) {
    return LayerKey{text,
                    painter.font().key(),
                    painter.pen().color().rgb(),
                    painter.device()->logicalDpiY(),
                    int(painter.renderHints()),
                    box,
                    flags};
}

}  // namespace

void DrawShadedText(QPainter& painter, const QPointF& baseline, const QString& text) {
    if (text.isEmpty()) return;
    if (!CanShade(painter)) {
        painter.drawText(baseline, text);
        return;
    }
    DrawThroughLayer(
        painter, KeyOf(painter, text), baseline,
        [&] {
            return QFontMetricsF(painter.font(), painter.device()).boundingRect(text).translated(baseline);
        },
        [&](QPainter& layer) { layer.drawText(baseline, text); });
}

void DrawShadedText(QPainter& painter, const QRect& box, int flags, const QString& text) {
    if (text.isEmpty()) return;
    if (!CanShade(painter)) {
        painter.drawText(box, flags, text);
        return;
    }
    DrawThroughLayer(
        painter, KeyOf(painter, text, box.size(), flags), box.topLeft(),
        [&] {
            return QFontMetricsF(painter.font(), painter.device())
                .boundingRect(QRectF(box), flags, text)
                .united(box);
        },
        [&](QPainter& layer) { layer.drawText(box, flags, text); });
}

void DrawLabelText(QPainter& painter, const QPointF& baseline, const QString& text) {
    if (picturesBeingPainted > 0)
        DrawShadedText(painter, baseline, text);
    else
        painter.drawText(baseline, text);
}

void DrawLabelText(QPainter& painter, const QRect& box, int flags, const QString& text) {
    if (picturesBeingPainted > 0)
        DrawShadedText(painter, box, flags, text);
    else
        painter.drawText(box, flags, text);
}

PictureShades::PictureShades() {
    ++picturesBeingPainted;
}

PictureShades::~PictureShades() {
    --picturesBeingPainted;
}
