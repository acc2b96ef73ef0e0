#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>
#include <functional>

#include "StreamingPngWriter.h"

/// The image format for an output path by its extension (png, jpg/jpeg, bmp, ppm, svg, pdf, eps); empty
/// when unknown.
/// Standard output ("-") is PNG.
QByteArray ImageFormatFor(const QString& path);
/// The widest or tallest raster picture a format ("png", "jpeg", ...) is written with: PNG's own limit; the
/// others are written from one image in memory, at most what Qt allocates.
qint64 RasterSideLimit(const QByteArray& format);

/// Runs `encode` on `path` ("-" = standard output). A file is written under a temporary name and renamed
/// when `encode` succeeded, so an existing file is only ever replaced by a whole one. Returns an error
/// message, or an empty string on success.
QString WriteEncoded(const QString& path, const std::function<QString(QIODevice&)>& encode);

/// The message for a write to `path` that failed with `reported`: the system's cause (such as "no space left
/// on device") when errno holds one of writing, else `reported`. Set errno to 0 before the write.
QString WriteFailure(const QString& path, const QString& reported);

/// Encodes `image` onto `out` in `format` (png, jpeg, bmp, ppm); an error message, or empty.
QString EncodeImage(const QImage& image, QIODevice& out, const QByteArray& format);

/// Writes `image` to `path` ("-" = PNG on standard output) in a raster `format`, by default the one of its
/// extension. A file is written under a temporary name and
/// renamed when complete, so an existing file is only ever replaced by a whole image. Returns an error
/// message, or an empty string on success.
QString WriteImage(const QImage& image, const QString& path, QByteArray format = QByteArray());

/// Writes a PNG of `width` x `height` pixels to `path` ("-" = standard output), painted by `paintBand` in
/// bands of `bandRows` rows and encoded as they come (see EncodePng). As with WriteImage, a failed or
/// interrupted write leaves no partial file and an existing file untouched. Returns an error message, or an
/// empty string on success.
QString WritePngBands(const QString& path, qint64 width, qint64 height, int bandRows,
                      const PaintBand& paintBand);

/// Whether two paths name the same existing file (same device and inode, through links and "..").
bool IsSameFile(const QString& a, const QString& b);

/// `path` with a page number before its extension: "out.png", 3 -> "out-003.png".
QString PagePath(const QString& path, int page);
