#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>

namespace residuetest {

const QRgb kWhite = 0xFFFFFFFFu;

/// A pixmap of the given size filled with one colour, to draw components on.
inline QPixmap Canvas(int width, int height, QRgb colour = kWhite) {
    QPixmap canvas(width, height);
    canvas.fill(QColor(colour));
    return canvas;
}

/// Pixels of exactly `colour` inside `area`.
inline int CountPixels(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

inline bool RowIs(const QImage& image, int y, QRgb colour) {
    return CountPixels(image, QRect(0, y, image.width(), 1), colour) == image.width();
}

}  // namespace residuetest
