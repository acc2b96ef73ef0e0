#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

#include "msarender/Export.h"
#include "msarender/picture/OutputFormat.h"

/// Encodes `image` onto `out` in a raster `format` (PNG, JPEG, BMP, PPM); an error message, or empty.
MSARENDER_EXPORT QString EncodeImage(const QImage& image, QIODevice& out, OutputFormat format);

/// Writes `image` to `path` ("-" = standard output) in a raster `format`. A file is written under a
/// temporary name and renamed when complete, so an existing file is only ever replaced by a whole image.
/// Returns an error message, or an empty string on success.
MSARENDER_EXPORT QString WriteImage(const QImage& image, const QString& path, OutputFormat format);
