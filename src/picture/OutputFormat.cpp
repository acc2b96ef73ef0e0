#include "msarender/picture/OutputFormat.h"

#include <QFileInfo>

#include "msarender/picture/PngEncoder.h"

std::optional<OutputFormat> OutputFormatNamed(const QString& name) {
    const QString type = name.toLower();
    if (type == QLatin1String("png")) return OutputFormat::Png;
    if (type == QLatin1String("jpg") || type == QLatin1String("jpeg")) return OutputFormat::Jpeg;
    if (type == QLatin1String("bmp")) return OutputFormat::Bmp;
    if (type == QLatin1String("ppm")) return OutputFormat::Ppm;
    if (type == QLatin1String("svg")) return OutputFormat::Svg;
    if (type == QLatin1String("pdf")) return OutputFormat::Pdf;
    if (type == QLatin1String("eps")) return OutputFormat::Eps;
    if (type == QLatin1String("html") || type == QLatin1String("htm")) return OutputFormat::Html;
    return std::nullopt;
}

std::optional<OutputFormat> OutputFormatOfPath(const QString& path) {
    if (path == QLatin1String("-")) return OutputFormat::Png;
    return OutputFormatNamed(QFileInfo(path).suffix());
}

QByteArray OutputFormatName(OutputFormat format) {
    switch (format) {
        case OutputFormat::Png:
            return "png";
        case OutputFormat::Jpeg:
            return "jpeg";
        case OutputFormat::Bmp:
            return "bmp";
        case OutputFormat::Ppm:
            return "ppm";
        case OutputFormat::Svg:
            return "svg";
        case OutputFormat::Pdf:
            return "pdf";
        case OutputFormat::Eps:
            return "eps";
        case OutputFormat::Html:
            return "html";
    }
    return "png";
}

QString OutputSuffix(OutputFormat format) {
    return format == OutputFormat::Jpeg ? QStringLiteral("jpg")
                                        : QString::fromLatin1(OutputFormatName(format));
}

bool IsVectorFormat(OutputFormat format) {
    return format == OutputFormat::Svg || format == OutputFormat::Pdf || format == OutputFormat::Eps;
}

qint64 RasterSideLimit(OutputFormat format) {
    if (format == OutputFormat::Png) return kMaxPngSide;
    return format == OutputFormat::Jpeg ? 65535 : 32767;
}
