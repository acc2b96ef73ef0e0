#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "msarender/Export.h"

/// The file formats a picture is written in: raster images and documents of shapes and text.
/// Html is the interactive page, drawn from the same picture.
enum class OutputFormat { Png, Jpeg, Bmp, Ppm, Svg, Pdf, Eps, Html };

/// The format a path's suffix names (png, jpg or jpeg, bmp, ppm, svg, pdf, eps, html or htm; any case); "-"
/// (standard output) is PNG. Nothing for any other suffix.
MSARENDER_EXPORT std::optional<OutputFormat> OutputFormatOfPath(const QString& path);
/// The format of a type name as a user gives it ("png", "jpg", "JPEG", "svg" ...); nothing when unknown.
MSARENDER_EXPORT std::optional<OutputFormat> OutputFormatNamed(const QString& name);
/// Qt's and the messages' name of the format: "png", "jpeg", "bmp", "ppm", "svg", "pdf", "eps", "html".
MSARENDER_EXPORT QByteArray OutputFormatName(OutputFormat format);
/// The suffix a file of the format is given: the name, but "jpg" for JPEG.
MSARENDER_EXPORT QString OutputSuffix(OutputFormat format);
/// Whether the format is written as shapes and text rather than pixels.
MSARENDER_EXPORT bool IsVectorFormat(OutputFormat format);
/// The widest or tallest raster picture a format is written with: PNG's own limit; the others are written
/// from one image in memory, at most what their formats and Qt hold.
MSARENDER_EXPORT qint64 RasterSideLimit(OutputFormat format);
