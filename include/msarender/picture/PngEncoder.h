#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <functional>

#include "msarender/Export.h"

/// Paints rows [top, top + rows) of the picture as an opaque image of the picture's width and `rows` rows
/// (QImage::Format_RGB32 is expected; other formats are converted). A null image reports a failure.
using PaintBand = std::function<QImage(int top, int rows)>;

/// How PNG rows are filtered before deflate.
enum class PngRowFilter { None, Sub, Up, Adaptive };

/// Settings of the encoder. The defaults were chosen on pictures of real alignments: level 3 makes files
/// 10-13% smaller than level 1 for 5% more time (level 4 is larger than 3); Up suits truecolour rows wider
/// than deflate's 32 KiB window, None suits palette rows; Sub is always larger, and choosing a filter per
/// row costs more time than it saves bytes. With a palette, Up saves 3% for up to 10% more time, and level
/// 6 saves 10-16% for 25-60% more time: the picture's colours matter more (a palette halves the file).
struct PngEncoding {
    int level = 3;  // zlib level, 1..9
    PngRowFilter paletteFilter = PngRowFilter::None;
    PngRowFilter truecolourFilter = PngRowFilter::Up;
    int threads = 0;         // deflate threads; 0 = one per core
    int pixelsPerMetre = 0;  // the print density written as pHYs; 0 writes none
};

/// The widest and tallest picture PNG can describe.
constexpr qint64 kMaxPngSide = 0x7FFFFFFF;

/// Rows of a band of about 8 MiB of a picture `width` pixels wide: large enough that painting and encoding
/// overlap well, small enough that memory does not grow with the picture.
MSARENDER_EXPORT int PngBandRows(qint64 width);

/// Writes an opaque PNG of `width` x `height` pixels to `out`, asking `paintBand` for `bandRows` rows at a
/// time, top to bottom. `paintBand` is only ever called on the calling thread; deflate runs on other
/// threads while the next band is painted, and only a few bands' worth of data is held at a time, so the
/// memory needed does not grow with the height.
///
/// Pictures of at most 256 colours are written with a palette. Encoding starts that way; when a band brings
/// a 257th colour, `out` is rewound to where the picture began and the picture is encoded again from the
/// top in truecolour, so `paintBand` may be asked for the same rows twice (not when the first band has more
/// than 256 colours). Only files and buffers can be rewound and cut short; any other output, such as
/// standard output or a pipe, gets the picture from a temporary file once it is complete.
///
/// Returns an error message, or an empty string on success. On failure, `out` holds an incomplete picture.
MSARENDER_EXPORT QString EncodePng(QIODevice& out, qint64 width, qint64 height, int bandRows,
                                   const PaintBand& paintBand, const PngEncoding& encoding = PngEncoding());
