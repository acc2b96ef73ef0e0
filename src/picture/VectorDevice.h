#pragma once

#include <QBrush>
#include <QByteArray>
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QSize>
#include <QTransform>
#include <algorithm>

/// `value` rounded to hundredths, without trailing zeros: how the documents write coordinates.
QByteArray DecimalNumber(qreal value);

/// The part every document-writing paint engine shares: it keeps the painter's pen, brush, font and transform
/// and is given untransformed shapes, which it maps itself.
class VectorPaintEngine : public QPaintEngine {
public:
    VectorPaintEngine() : QPaintEngine(PrimitiveTransform | PainterPaths) {}
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override;
    // The pictures written here hold no pixels.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

protected:
    /// Called when the painter's clip changes.
    virtual void ClipChanged() {}
    /// How much the painter's transform enlarges what it draws.
    qreal TransformScale() const;
    /// The size in page pixels at `dpi` of text in `font`, under the painter's transform.
    qreal FontPixels(const QFont& font, int dpi) const;
    /// The width in page pixels of the pen's lines: a cosmetic pen keeps its width under the transform.
    qreal PenPixels() const;

    QPen pen;
    QBrush brush;
    QFont font;
    QTransform transform;
};

/// A paint device of `pixels` at `dpi` whose painting goes to a document-writing engine.
class VectorDevice : public QPaintDevice {
public:
    VectorDevice(QSize pixels, int dpi) : size(pixels), dpi(std::max(dpi, 1)) {}
    QSize Size() const { return size; }
    int Dpi() const { return dpi; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size;
    int dpi;
};
