#pragma once

#include <QBrush>
#include <QPen>
#include <cstddef>

/// The process-wide pens and brushes that glyph components draw with, one per display colour and use.
/// Entries are created on first use and kept for the life of the process; every tool is opaque because
/// QColor(QRgb) drops the alpha byte. One cache per thread.
class PenCaches {
public:
    PenCaches() = delete;

    static const QPen& ResiduePen(unsigned colour);
    static const QPen& LinePen(unsigned colour);
    static const QPen& CaretPen(unsigned colour);
    static const QBrush& CaretBrush(unsigned colour);

    // Sizes of the four caches, for tests.
    static std::size_t ResiduePenCount();
    static std::size_t LinePenCount();
    static std::size_t CaretPenCount();
    static std::size_t CaretBrushCount();
};
