#pragma once

#include <QIODevice>
#include <QSize>
#include <QString>
#include <memory>

#include "picture/VectorDevice.h"

class QPaintEngine;
class SvgPaintEngine;

/// A paint device that writes one SVG picture onto `out` while it is painted, so that memory stays flat
/// whatever the picture's size: filled shapes as rectangles and paths with their colour, text as text in the
/// painter's font (family, size, weight and style), grouped by font. Qt's own SVG generator keeps the whole
/// document in memory and repeats the painter's state on every element, which for an alignment of a million
/// cells means gigabytes. Pixmaps and images are not written. Coordinates are pixels at `dpi`.
class SvgDevice : public VectorDevice {
public:
    SvgDevice(QIODevice& out, QSize pixels, int dpi, const QString& title);
    ~SvgDevice() override;
    SvgDevice(const SvgDevice&) = delete;
    SvgDevice& operator=(const SvgDevice&) = delete;

    QPaintEngine* paintEngine() const override;
    /// Whether every byte reached `out` so far; the document is complete once the painter has ended.
    bool Written() const;

private:
    std::unique_ptr<SvgPaintEngine> engine;
};
