#pragma once

#include <QSize>
#include <QString>

#include "SelectionPicture.h"
#include "msarender/picture/OutputFormat.h"

/// The format a path's suffix names among those the viewer writes (PNG, SVG, PDF; any case); PNG for any
/// other suffix.
OutputFormat PictureFormatOf(const QString& path);
/// `path` with the format's suffix added unless it already ends with one of the viewer's formats' suffixes.
QString WithPictureSuffix(const QString& path, OutputFormat format);

/// A warning when a PDF page of `pixels` is larger than many readers show; empty otherwise.
QString PdfPageNote(QSize pixels);

/// Writes the picture as a PNG (painted and encoded band by band, so that no whole image is held), or as
/// an SVG or PDF document of its size (fonts embedded in the PDF), calling `progress` as it goes. Nothing
/// is left at `path` when it fails or is stopped, and an existing file is only replaced by a whole one. An
/// error message, or empty; `stopped` tells a stop from a failure.
QString WritePicture(const SelectionPicture& picture, const QString& path, OutputFormat format,
                     const SelectionPicture::Progress& progress, bool& stopped);
