#include "picture/EpsDevice.h"

#include <QColor>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <cmath>

#include "picture/EpsFonts.h"

namespace {

// Short names keep a picture of a million cells to a few bytes a cell.
const char* const kProlog =
    "/C {setrgbcolor} bind def\n"
    "/F {rectfill} bind def\n"
    "/M {moveto} bind def\n"
    "/L {lineto} bind def\n"
    "/B {curveto} bind def\n"
    "/N {newpath} bind def\n"
    "/Z {closepath} bind def\n"
    "/T {gsave translate 1 -1 scale 0 0 moveto show grestore} bind def\n";

QByteArray Number(qreal value) {
    return DecimalNumber(value);
}

QByteArray Point(QPointF point) {
    return Number(point.x()) + ' ' + Number(point.y());
}

}  // namespace

/// Writes what a QPainter draws as PostScript operators into a document buffer.
class EpsPaintEngine : public VectorPaintEngine {
public:
    EpsPaintEngine(QSize pixels, int dpi, const QString& title) : size(pixels), dpi(dpi), title(title) {}

    bool begin(QPaintDevice*) override {
        document = "gsave\n" + PageTransform();
        ResetRemembered();
        return true;
    }
    // The fonts are known once everything is drawn; they go before the drawing.
    bool end() override {
        document.prepend(Header() + "%%BeginSetup\n" + fonts.Definitions() + "%%EndSetup\n");
        document += "grestore\nshowpage\n%%EOF\n";
        return true;
    }

    void drawRects(const QRectF* rects, int count) override {
        if (transform.type() > QTransform::TxScale) {
            QPaintEngine::drawRects(rects, count);
            return;
        }
        for (int i = 0; i < count; ++i) {
            const QRectF r = transform.mapRect(rects[i]).normalized();
            const QByteArray box = Point(r.topLeft()) + ' ' + Point(QPointF(r.width(), r.height()));
            if (brush.style() != Qt::NoBrush) document += Colour(brush.color()) + box + " F\n";
            if (pen.style() != Qt::NoPen) document += PenSetup() + box + " rectstroke\n";
        }
    }

    void drawPath(const QPainterPath& path) override {
        document += "N\n" + PathOperators(transform.map(path));
        Paint(path.fillRule() == Qt::OddEvenFill, true);
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (count < 2) return;
        QByteArray operators = "N " + Point(transform.map(points[0])) + " M\n";
        for (int i = 1; i < count; ++i) operators += Point(transform.map(points[i])) + " L\n";
        const bool closed = mode != PolylineMode;
        document += operators + (closed ? "Z\n" : "");
        Paint(mode == OddEvenMode, closed);
    }

    void drawTextItem(const QPointF& point, const QTextItem& item) override {
        const QString text = item.text();
        if (text.isEmpty()) return;
        const std::vector<EpsFonts::Run> runs = fonts.Encode(item.font(), text);
        document += Colour(pen.color());
        if (runs.size() == 1) {
            document += FontSetup(item.font(), runs.front().font) + runs.front().literal + ' ' +
                        Point(transform.map(point)) + " T\n";
            return;
        }
        // Characters of more than one embedded font: each piece goes on from where the last one ended.
        document += "gsave " + Point(transform.map(point)) + " translate 1 -1 scale 0 0 moveto\n";
        for (const EpsFonts::Run& run : runs)
            document += FontSetup(item.font(), run.font) + run.literal + " show\n";
        document += "grestore\n";
        remembered.font.clear();  // grestore took the font back
    }

    const QByteArray& Document() const { return document; }

private:
    QByteArray Header() const {
        const qreal scale = 72.0 / dpi;
        const qreal width = size.width() * scale;
        const qreal height = size.height() * scale;
        QByteArray safeTitle = title.toLatin1();
        safeTitle.replace('\n', ' ');
        return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " + QByteArray::number(int(std::ceil(width))) +
               ' ' + QByteArray::number(int(std::ceil(height))) + "\n%%HiResBoundingBox: 0 0 " +
               Number(width) + ' ' + Number(height) + "\n%%Creator: msarender\n%%Title: " + safeTitle +
               "\n%%LanguageLevel: 2\n%%EndComments\n%%BeginProlog\n" + kProlog + "%%EndProlog\n";
    }

    // Pixels from the top-left corner, as the painter counts them.
    QByteArray PageTransform() const {
        const qreal scale = 72.0 / dpi;
        return "0 " + Number(size.height() * scale) + " translate " + Number(scale) + ' ' + Number(-scale) +
               " scale\n";
    }

    // The operators to fill and outline the current path with the painter's brush and pen.
    void Paint(bool evenOdd, bool fill) {
        const bool filled = fill && brush.style() != Qt::NoBrush;
        const bool stroked = pen.style() != Qt::NoPen;
        if (filled && stroked) document += "gsave ";
        if (filled) document += Colour(brush.color()) + (evenOdd ? "eofill\n" : "fill\n");
        if (filled && stroked) {
            document += "grestore\n";
            remembered.colourSet = false;  // grestore took the fill colour back
        }
        if (stroked) document += PenSetup() + "stroke\n";
    }

    QByteArray PenSetup() {
        QByteArray setup = Colour(pen.color());
        const qreal width = PenPixels();
        setup += Number(width) + " setlinewidth ";
        const qreal unit = std::max<qreal>(width, 1);
        QByteArray dashes = "[";
        if (pen.style() != Qt::SolidLine)
            for (qreal dash : pen.dashPattern()) dashes += Number(dash * unit) + ' ';
        return setup + dashes + "] 0 setdash\n";
    }

    QByteArray Colour(const QColor& colour) {
        const QRgb rgb = colour.rgb();
        if (remembered.colourSet && remembered.colour == rgb) return QByteArray();
        remembered.colourSet = true;
        remembered.colour = rgb;
        return Number(qRed(rgb) / 255.0) + ' ' + Number(qGreen(rgb) / 255.0) + ' ' +
               Number(qBlue(rgb) / 255.0) + " C ";
    }

    QByteArray FontSetup(const QFont& itemFont, const QByteArray& embedded) {
        const qreal pixels = FontPixels(itemFont, dpi);
        const QByteArray setup = '/' + embedded + " findfont " + Number(pixels) + " scalefont setfont\n";
        if (setup == remembered.font) return QByteArray();
        remembered.font = setup;
        return setup;
    }

    static QByteArray PathOperators(const QPainterPath& path) {
        QByteArray operators;
        for (int i = 0; i < path.elementCount(); ++i) {
            const QPainterPath::Element e = path.elementAt(i);
            if (e.isMoveTo()) {
                operators += Point(e) + " M\n";
            } else if (e.isLineTo()) {
                operators += Point(e) + " L\n";
            } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
                operators += Point(e) + ' ' + Point(path.elementAt(i + 1)) + ' ' +
                             Point(path.elementAt(i + 2)) + " B\n";
                i += 2;
            }
        }
        return operators;
    }

    // The clip is the painter's bounding rectangle of it, in pixels of the page: PaintPicture clips to
    // rectangles only. PostScript cannot widen a clip, so the page state starts afresh.
    void ClipChanged() override {
        document += "grestore gsave\n" + PageTransform();
        ResetRemembered();
        if (!painter() || !painter()->hasClipping()) return;
        const QRectF clip = painter()->transform().mapRect(painter()->clipBoundingRect());
        document += Point(clip.topLeft()) + ' ' + Point(QPointF(clip.width(), clip.height())) + " rectclip\n";
    }

    void ResetRemembered() { remembered = Remembered(); }

    struct Remembered {
        bool colourSet = false;
        QRgb colour = 0;
        QByteArray font;  // the operators that set it
    };

    QSize size;
    int dpi;
    QString title;
    QByteArray document;
    EpsFonts fonts;
    Remembered remembered;  // what the PostScript state holds now
};

EpsDevice::EpsDevice(QSize pixels, int dpi, const QString& title)
    : VectorDevice(pixels, dpi), engine(std::make_unique<EpsPaintEngine>(pixels, Dpi(), title)) {}

EpsDevice::~EpsDevice() = default;

QPaintEngine* EpsDevice::paintEngine() const {
    return engine.get();
}

const QByteArray& EpsDevice::Document() const {
    return engine->Document();
}
