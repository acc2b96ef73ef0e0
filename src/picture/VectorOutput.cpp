#include "msarender/picture/VectorOutput.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "picture/EpsDevice.h"
#include "picture/SvgDevice.h"

namespace {

const char* const kTitle = "msarender alignment";

// The page as the painter sees it: white under the picture, whose background is the caller's.
void PaintWhitePage(QPainter& painter, QSize pixels, int page, const PaintVectorPage& paint) {
    painter.fillRect(QRect(QPoint(0, 0), pixels), Qt::white);
    paint(painter, page);
}

QString WriteFailure(const QIODevice& out, const QString& what) {
    return out.errorString().isEmpty() || out.errorString() == QLatin1String("Unknown error")
               ? "cannot write the " + what
               : "cannot write the " + what + ": " + out.errorString();
}

}  // namespace

QString PdfPageNote(std::int64_t width, std::int64_t height) {
    const double points = 72.0 / VectorResolution();
    const qint64 pointsWide = qRound64(width * points);
    const qint64 pointsHigh = qRound64(height * points);
    if (std::max(pointsWide, pointsHigh) <= kPdfPageLimitPoints) return QString();
    return QStringLiteral("the PDF page is %1 x %2 points, more than many readers show (%3 a side)")
        .arg(pointsWide)
        .arg(pointsHigh)
        .arg(kPdfPageLimitPoints);
}

int VectorResolution() {
    return QImage(1, 1, QImage::Format_RGB32).logicalDpiX();
}

QString EncodeSvg(QIODevice& out, QSize pixels, const PaintVectorPage& paint) {
    SvgDevice svg(out, pixels, VectorResolution(), QString::fromLatin1(kTitle));
    QPainter painter;
    if (!painter.begin(&svg)) return WriteFailure(out, QStringLiteral("SVG"));
    PaintWhitePage(painter, pixels, 0, paint);
    painter.end();
    return svg.Written() ? QString() : WriteFailure(out, QStringLiteral("SVG"));
}

QString EncodePdf(QIODevice& out, QSize pagePixels, int pageCount, const PaintVectorPage& paint) {
    QPdfWriter pdf(&out);
    const int dpi = VectorResolution();
    pdf.setResolution(dpi);
    pdf.setTitle(QString::fromLatin1(kTitle));
    pdf.setCreator(QStringLiteral("msarender"));
    // An exact size: the nearest standard paper would cut the picture or pad it.
    const QPageSize size(QSizeF(pagePixels) / dpi, QPageSize::Inch, QString(), QPageSize::ExactMatch);
    pdf.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&pdf)) return WriteFailure(out, QStringLiteral("PDF"));
    for (int page = 0; page < pageCount; ++page) {
        if (page > 0 && !pdf.newPage()) return WriteFailure(out, QStringLiteral("PDF"));
        PaintWhitePage(painter, pagePixels, page, paint);
    }
    return painter.end() ? QString() : WriteFailure(out, QStringLiteral("PDF"));
}

QString EncodeEps(QIODevice& out, QSize pixels, const PaintVectorPage& paint) {
    EpsDevice eps(pixels, VectorResolution(), QString::fromLatin1(kTitle));
    QPainter painter;
    if (!painter.begin(&eps)) return WriteFailure(out, QStringLiteral("EPS"));
    PaintWhitePage(painter, pixels, 0, paint);
    painter.end();
    const QByteArray& document = eps.Document();
    if (out.write(document) != document.size()) return WriteFailure(out, QStringLiteral("EPS"));
    return QString();
}
