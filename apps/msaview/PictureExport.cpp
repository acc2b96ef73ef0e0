#include "PictureExport.h"

#include <QPainter>

#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/FileOutput.h"
#include "msarender/picture/PictureSettings.h"
#include "msarender/picture/PngEncoder.h"
#include "msarender/picture/VectorOutput.h"

namespace {

bool IsViewerFormat(OutputFormat format) {
    return format == OutputFormat::Png || format == OutputFormat::Svg || format == OutputFormat::Pdf;
}

// The PNG bands, with a stop between any two of them; a stopped picture paints nothing more.
QString EncodePicturePng(const SelectionPicture& picture, QIODevice& out,
                         const SelectionPicture::Progress& progress, bool& stopped) {
    // The plan's own size: a picture beyond what PNG holds is refused by the encoder, not cut.
    const std::int64_t width = picture.Plan().width + picture.TreeWidth();
    const std::int64_t height = picture.Plan().height;
    PngEncoding encoding;
    encoding.pixelsPerMetre = PictureSettings().PixelsPerMetre();
    return EncodePng(
        out, width, height, PngBandRows(width),
        [&](int top, int rows) {
            if (stopped) return QImage();
            QImage band = picture.PaintBand(top, rows);
            stopped = progress && !progress(top + rows, height);
            return band;
        },
        encoding);
}

}  // namespace

OutputFormat PictureFormatOf(const QString& path) {
    const std::optional<OutputFormat> format = OutputFormatOfPath(path);
    return format && IsViewerFormat(*format) ? *format : OutputFormat::Png;
}

QString WithPictureSuffix(const QString& path, OutputFormat format) {
    const std::optional<OutputFormat> named = OutputFormatOfPath(path);
    if (named && IsViewerFormat(*named)) return path;
    return path + '.' + OutputSuffix(format);
}

QString PdfPageNote(QSize pixels) {
    QString note = ::PdfPageNote(pixels.width(), pixels.height());
    if (note.isEmpty()) return note;
    note[0] = note[0].toUpper();
    return note + QStringLiteral("; hide rows or pick a smaller font.");
}

QString WritePicture(const SelectionPicture& picture, const QString& path, OutputFormat format,
                     const SelectionPicture::Progress& progress, bool& stopped) {
    stopped = false;
    if (!picture.IsValid()) return QStringLiteral("Nothing to draw.");
    QString tooLarge = PixelBudgetNote(picture.Plan().width + picture.TreeWidth(), picture.Plan().height,
                                       PictureSettings().maxPixels);
    if (!tooLarge.isEmpty()) {
        tooLarge[0] = tooLarge[0].toUpper();
        return tooLarge + QStringLiteral("; hide rows, select fewer or pick a smaller font.");
    }
    const PaintVectorPage paint = [&](QPainter& painter, int) {
        stopped = !picture.PaintShapes(painter, progress);
    };
    const QString error = WriteEncoded(path, [&](QIODevice& out) {
        const QString failure = format == OutputFormat::Png
                                    ? EncodePicturePng(picture, out, progress, stopped)
                                : format == OutputFormat::Pdf ? EncodePdf(out, picture.Size(), 1, paint)
                                                              : EncodeSvg(out, picture.Size(), paint);
        // A stopped picture is not written, whatever the encoder made of its last band.
        return stopped ? QStringLiteral("stopped") : failure;
    });
    if (stopped || error.isEmpty()) return QString();
    return QStringLiteral("Could not save: %1").arg(error);
}
