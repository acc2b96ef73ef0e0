#pragma once

#include <QPixmap>
#include <QSize>
#include <cstdint>
#include <memory>

/// Pixmaps the renderer composes or exports are checked against these limits before they are allocated,
/// so that an absurd request (a huge export, a corrupt layout) answers null instead of exhausting memory.
namespace PixmapAllocation {

/// Longest side of any composed or exported pixmap, in pixels (what every Qt paint engine addresses).
constexpr int kMaxSide = 32767;
/// Largest area of any composed or exported pixmap: 128 Mpx, 512 MiB at 32 bits per pixel.
constexpr std::int64_t kMaxPixels = std::int64_t(1) << 27;

/// How many cells of `cellSize` pixels fit along the longest side.
inline unsigned CellsPerSide(int cellSize) {
    return unsigned(kMaxSide / (cellSize > 0 ? cellSize : 1));
}

inline bool IsAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

/// Memory a pixmap holds.
inline std::int64_t BytesOf(const QPixmap& pixmap) {
    return std::int64_t(pixmap.width()) * pixmap.height() * (pixmap.depth() / 8);
}

/// A white pixmap of the given size, or null when the size is not allowed or allocation failed.
inline std::unique_ptr<QPixmap> MakeWhite(std::int64_t width, std::int64_t height) {
    if (!IsAllowed(width, height)) return nullptr;
    auto pixmap = std::make_unique<QPixmap>(int(width), int(height));
    if (pixmap->isNull()) return nullptr;
    pixmap->fill(Qt::white);
    return pixmap;
}

}  // namespace PixmapAllocation
