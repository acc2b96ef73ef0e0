#include "picture/SvgDevice.h"

#include <QColor>
#include <QFontInfo>
#include <QPainterPath>

namespace {

const qsizetype kFlushBytes = qsizetype(1) << 20;

QByteArray Colour(const QColor& colour) {
    return colour.name(QColor::HexRgb).toLatin1();
}

// Text content with the characters XML reserves escaped; control characters are dropped.
QByteArray Escaped(const QString& text) {
    QByteArray escaped;
    for (const char c : text.toUtf8()) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '<')
            escaped += "&lt;";
        else if (c == '>')
            escaped += "&gt;";
        else if (c == '"')
            escaped += "&quot;";
        else if (static_cast<unsigned char>(c) >= 32)
            escaped += c;
    }
    return escaped;
}

QByteArray PathData(const QPainterPath& path) {
    QByteArray data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QByteArray point = DecimalNumber(e.x) + ' ' + DecimalNumber(e.y);
        if (e.isMoveTo()) {
            data += 'M' + point;
        } else if (e.isLineTo()) {
            data += 'L' + point;
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += 'C' + point + ' ' + DecimalNumber(c2.x) + ' ' + DecimalNumber(c2.y) + ' ' +
                    DecimalNumber(end.x) + ' ' + DecimalNumber(end.y);
            i += 2;
        }
    }
    return data;
}

}  // namespace

/// Writes what a QPainter draws as SVG elements onto the output, a megabyte at a time.
class SvgPaintEngine : public VectorPaintEngine {
public:
    SvgPaintEngine(QIODevice& out, QSize pixels, int dpi, const QString& title)
        : out(out), size(pixels), dpi(dpi), title(title) {}

    bool begin(QPaintDevice*) override {
        const QByteArray width = QByteArray::number(size.width());
        const QByteArray height = QByteArray::number(size.height());
        text =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
            width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
            "\" xml:space=\"preserve\" style=\"white-space:pre\">\n<title>" + Escaped(title) + "</title>\n";
        return Flush();
    }
    bool end() override {
        CloseFontGroup();
        text += "</svg>\n";
        return Flush(true);
    }

    void drawRects(const QRectF* rects, int count) override {
        if (transform.type() > QTransform::TxScale) {
            QPaintEngine::drawRects(rects, count);
            return;
        }
        for (int i = 0; i < count; ++i) {
            const QRectF r = transform.mapRect(rects[i]).normalized();
            text += "<rect x=\"" + DecimalNumber(r.x()) + "\" y=\"" + DecimalNumber(r.y()) + "\" width=\"" +
                    DecimalNumber(r.width()) + "\" height=\"" + DecimalNumber(r.height()) + '"' +
                    Paint(true) + "/>\n";
        }
        Flush();
    }

    void drawPath(const QPainterPath& path) override {
        const QByteArray rule = path.fillRule() == Qt::OddEvenFill ? " fill-rule=\"evenodd\"" : "";
        text += "<path d=\"" + PathData(transform.map(path)) + '"' + rule + Paint(true) + "/>\n";
        Flush();
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        QPainterPath path(points[0]);
        for (int i = 1; i < count; ++i) path.lineTo(points[i]);
        const bool closed = mode != PolylineMode;
        if (closed) path.closeSubpath();
        path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        const QByteArray rule = mode == OddEvenMode ? " fill-rule=\"evenodd\"" : "";
        text += "<path d=\"" + PathData(transform.map(path)) + '"' + rule + Paint(closed) + "/>\n";
        Flush();
    }

    void drawTextItem(const QPointF& point, const QTextItem& item) override {
        const QString content = item.text();
        if (content.isEmpty()) return;
        UseFontGroup(item.font());
        QPointF at = transform.map(point);
        const QRgb rgb = pen.color().rgb();
        if (rgb != textRgb || textFill.isEmpty()) {
            textRgb = rgb;
            textFill = "\" fill=\"" + Colour(pen.color()) + "\">";
        }
        // A single letter is a residue or symbol in its cell: anchored at its middle, it stays centred
        // there in whatever font a reader's machine puts in place of ours.
        const bool centred = content.size() == 1;
        if (centred) at.rx() += transform.m11() * item.width() / 2;
        text += "<text x=\"" + DecimalNumber(at.x()) + "\" y=\"" + DecimalNumber(at.y()) +
                (centred ? "\" text-anchor=\"middle" : "") + textFill + Escaped(content) + "</text>\n";
        Flush();
    }

    bool Written() const { return !failed; }

private:
    // The fill and outline attributes of a shape in the painter's brush and pen.
    QByteArray Paint(bool fill) const {
        QByteArray attributes = fill && brush.style() != Qt::NoBrush
                                    ? " fill=\"" + Colour(brush.color()) + '"'
                                    : QByteArray(" fill=\"none\"");
        if (pen.style() == Qt::NoPen) return attributes;
        const qreal width = PenPixels() > 0 ? PenPixels() : 1;  // zero: one pixel
        attributes += " stroke=\"" + Colour(pen.color()) + "\" stroke-width=\"" + DecimalNumber(width) + '"';
        if (pen.style() != Qt::SolidLine) {
            QByteArray dashes;
            for (qreal dash : pen.dashPattern())
                dashes += (dashes.isEmpty() ? "" : " ") + DecimalNumber(dash * width);
            attributes += " stroke-dasharray=\"" + dashes + '"';
        }
        return attributes;
    }

    void UseFontGroup(const QFont& itemFont) {
        // Most texts are in the font of the one before: comparing fonts is cheaper than writing the tag.
        if (!fontGroup.isEmpty() && itemFont == groupFont) return;
        groupFont = itemFont;
        const qreal pixels = FontPixels(itemFont, dpi);
        // A generic family after ours: a reader without our font still gets one of the same kind.
        const char* generic = QFontInfo(itemFont).fixedPitch() ? "monospace" : "sans-serif";
        QByteArray group = "<g font-family=\"'" + Escaped(QString(itemFont.family()).remove('\'')) + "', " +
                           generic + "\" font-size=\"" + DecimalNumber(pixels) + '"';
        if (itemFont.bold()) group += " font-weight=\"bold\"";
        if (itemFont.italic()) group += " font-style=\"italic\"";
        group += ">\n";
        if (group == fontGroup) return;
        CloseFontGroup();
        fontGroup = group;
        text += group;
    }
    void CloseFontGroup() {
        if (fontGroup.isEmpty()) return;
        text += "</g>\n";
        fontGroup.clear();
    }

    bool Flush(bool all = false) {
        if (failed || (!all && text.size() < kFlushBytes)) return !failed;
        failed = out.write(text) != text.size();
        text.clear();
        return !failed;
    }

    QIODevice& out;
    QSize size;
    int dpi;
    QString title;
    QByteArray text;       // written but not yet flushed
    QByteArray fontGroup;  // the open font group's start tag; empty when none is open
    QFont groupFont;       // the font of the open group
    QRgb textRgb = 0;      // the colour textFill names
    QByteArray textFill;   // the end of a text's start tag in that colour
    bool failed = false;
};

SvgDevice::SvgDevice(QIODevice& out, QSize pixels, int dpi, const QString& title)
    : VectorDevice(pixels, dpi), engine(std::make_unique<SvgPaintEngine>(out, pixels, Dpi(), title)) {}

SvgDevice::~SvgDevice() = default;

QPaintEngine* SvgDevice::paintEngine() const {
    return engine.get();
}

bool SvgDevice::Written() const {
    return engine->Written();
}
