#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>

#include "msarender/Export.h"

class QPainter;

/// Paints page `page` (0-based) onto a painter whose origin is the page's top-left corner, in pixels.
using PaintVectorPage = std::function<void(QPainter& painter, int page)>;

/// The resolution the pictures are measured in: that of the raster pictures, so that a vector
/// picture has the size of its PNG (pixels become 72 / dpi points).
MSARENDER_EXPORT int VectorResolution();

/// Acrobat and others refuse PDF pages larger than 200 inches, 14,400 points, a side.
constexpr int kPdfPageLimitPoints = 14400;
/// "the PDF page is W x H points, more than many readers show (...)" for a page of `width` x `height`
/// pixels larger than that; empty for a smaller one.
MSARENDER_EXPORT QString PdfPageNote(std::int64_t width, std::int64_t height);

/// Writes one picture of `pixels` as SVG onto `out`; an error message, or empty.
MSARENDER_EXPORT QString EncodeSvg(QIODevice& out, QSize pixels, const PaintVectorPage& paint);
/// Writes `pageCount` pages, each of `pagePixels`, as one PDF onto `out`; the fonts are embedded. An error
/// message, or empty.
MSARENDER_EXPORT QString EncodePdf(QIODevice& out, QSize pagePixels, int pageCount,
                                   const PaintVectorPage& paint);
/// Writes one picture of `pixels` as Encapsulated PostScript onto `out`; an error message, or empty.
MSARENDER_EXPORT QString EncodeEps(QIODevice& out, QSize pixels, const PaintVectorPage& paint);
