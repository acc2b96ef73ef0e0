#include "VectorExport.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

#include "msarender/picture/VectorOutput.h"

PictureFormat PictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
    return PictureFormat::Png;
}

QString WithPictureSuffix(const QString& path, PictureFormat format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg") || suffix == QLatin1String("pdf"))
        return path;
    switch (format) {
        case PictureFormat::Svg:
            return path + ".svg";
        case PictureFormat::Pdf:
            return path + ".pdf";
        case PictureFormat::Png:
            break;
    }
    return path + ".png";
}

QString PdfPageNote(QSize pixels) {
    const double points = 72.0 / VectorResolution();
    const qint64 width = qRound64(pixels.width() * points);
    const qint64 height = qRound64(pixels.height() * points);
    if (std::max(width, height) <= kPdfPageLimitPoints) return QString();
    return QStringLiteral(
               "The PDF page is %1 x %2 points, more than many readers show (%3 a side); hide rows or "
               "pick a smaller font.")
        .arg(width)
        .arg(height)
        .arg(kPdfPageLimitPoints);
}

QString WriteVectorPicture(const SelectionPicture& picture, const QString& path, PictureFormat format,
                           const SelectionPicture::Progress& progress, bool& stopped) {
    stopped = false;
    if (!picture.IsValid()) return QStringLiteral("Nothing to draw.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    const PaintVectorPage paint = [&](QPainter& painter, int) {
        stopped = !picture.PaintShapes(painter, progress);
    };
    const QString error = format == PictureFormat::Pdf ? EncodePdf(file, picture.Size(), 1, paint)
                                                       : EncodeSvg(file, picture.Size(), paint);
    if (stopped || !error.isEmpty()) {
        file.cancelWriting();
        return stopped ? QString() : QStringLiteral("Could not write %1: %2").arg(path, error);
    }
    if (!file.commit()) return QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
    return QString();
}
