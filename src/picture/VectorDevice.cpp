#include "picture/VectorDevice.h"

#include <climits>
#include <cmath>

QByteArray DecimalNumber(qreal value) {
    return QByteArray::number(std::round(value * 100) / 100, 'g', 10);
}

void VectorPaintEngine::updateState(const QPaintEngineState& state) {
    const QPaintEngine::DirtyFlags dirty = state.state();
    if (dirty & DirtyPen) pen = state.pen();
    if (dirty & DirtyBrush) brush = state.brush();
    if (dirty & DirtyFont) font = state.font();
    if (dirty & DirtyTransform) transform = state.transform();
    if (dirty & (DirtyClipRegion | DirtyClipPath | DirtyClipEnabled)) ClipChanged();
}

qreal VectorPaintEngine::TransformScale() const {
    return std::sqrt(std::abs(transform.determinant()));
}

qreal VectorPaintEngine::FontPixels(const QFont& font, int dpi) const {
    const qreal pixels = font.pointSizeF() > 0 ? font.pointSizeF() * dpi / 72.0 : qreal(font.pixelSize());
    return pixels * TransformScale();
}

qreal VectorPaintEngine::PenPixels() const {
    return pen.isCosmetic() ? pen.widthF() : pen.widthF() * TransformScale();
}

int VectorDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmWidth:
            return size.width();
        case PdmHeight:
            return size.height();
        case PdmWidthMM:
            return int(size.width() * 25.4 / dpi);
        case PdmHeightMM:
            return int(size.height() * 25.4 / dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
    }
}
