#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QSize>
#include <QString>
#include <functional>

class QPainter;

/// Paints page `page` (0-based) onto a painter whose origin is the page's top-left corner, in pixels.
using PaintVectorPage = std::function<void(QPainter& painter, int page)>;

/// Whether `format` (as ImageFormatFor names it) is written as shapes and text rather than pixels.
bool IsVectorFormat(const QByteArray& format);

/// The resolution the pictures are measured in: that of the images the command writes, so that a vector
/// picture has the size of its PNG (pixels become 72 / dpi points).
int VectorResolution();

/// Acrobat and others refuse PDF pages larger than 200 inches, 14,400 points, a side.
constexpr int kPdfPageLimitPoints = 14400;

/// Writes one picture of `pixels` as SVG onto `out`; an error message, or empty.
QString EncodeSvg(QIODevice& out, QSize pixels, const PaintVectorPage& paint);
/// Writes `pageCount` pages, each of `pagePixels`, as one PDF onto `out`; the fonts are embedded. An error
/// message, or empty.
QString EncodePdf(QIODevice& out, QSize pagePixels, int pageCount, const PaintVectorPage& paint);
/// Writes one picture of `pixels` as Encapsulated PostScript onto `out`; an error message, or empty.
QString EncodeEps(QIODevice& out, QSize pixels, const PaintVectorPage& paint);
