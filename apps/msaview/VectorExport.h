#pragma once

#include <QSize>
#include <QString>

#include "SelectionPicture.h"

/// The kinds of picture file the viewer writes, told by the file's suffix.
enum class PictureFormat { Png, Svg, Pdf };

/// The format a path's suffix names (any case); PNG for any other suffix.
PictureFormat PictureFormatOf(const QString& path);
/// `path` with the format's suffix added unless it already ends with one of the formats' suffixes.
QString WithPictureSuffix(const QString& path, PictureFormat format);

/// A warning when a PDF page of `pixels` is larger than many readers show; empty otherwise.
QString PdfPageNote(QSize pixels);

/// Writes the picture as an SVG or PDF document of its size (fonts embedded in the PDF), calling
/// `progress` after each block. Nothing is left at `path` when it fails or is stopped. An error message,
/// or empty; `stopped` tells a stop from a failure.
QString WriteVectorPicture(const SelectionPicture& picture, const QString& path, PictureFormat format,
                           const SelectionPicture::Progress& progress, bool& stopped);
