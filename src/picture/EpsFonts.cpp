#include "picture/EpsFonts.h"

#include <QPainterPath>
#include <QRectF>

#include "picture/VectorDevice.h"

namespace {

// Outlines in thousandths of the em, as Type 3 fonts usually are.
constexpr int kUnitsPerEm = 1000;

QByteArray Number(qreal value) {
    return DecimalNumber(qRound(value));
}

// A PostScript name: letters, digits and '-' of the family and style.
QByteArray PostScriptName(const QRawFont& face) {
    QByteArray name;
    for (const QChar c : face.familyName() + QLatin1Char('-') + face.styleName())
        if (c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('-'))) name += char(c.unicode());
    return name.isEmpty() ? QByteArray("Embedded") : name;
}

// Printable ASCII keeps its own code, so that the strings of the document stay readable; other characters
// take the free codes in order.
int FreeCode(const std::map<char32_t, int>& codes, char32_t character) {
    if (character >= 32 && character < 127) return int(character);
    std::vector<bool> taken(256, false);
    for (const auto& entry : codes) taken[std::size_t(entry.second)] = true;
    for (int code = 127; code < 256 + 32; ++code)
        if (!taken[std::size_t(code % 256)] && (code % 256 >= 127 || code % 256 < 32)) return code % 256;
    return -1;
}

QByteArray Literal(const QByteArray& codes) {
    QByteArray literal = "(";
    for (const char byte : codes) {
        const auto code = uchar(byte);
        if (code == '(' || code == ')' || code == '\\') {
            literal += '\\';
            literal += char(code);
        } else if (code >= 32 && code < 127) {
            literal += char(code);
        } else {
            literal += '\\' + QByteArray::number(code, 8).rightJustified(3, '0');
        }
    }
    return literal + ')';
}

QByteArray GlyphOutline(const QPainterPath& path) {
    QByteArray operators;
    const auto point = [](const QPainterPath::Element& e) { return Number(e.x) + ' ' + Number(-e.y); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0) operators += "closepath ";
            operators += point(e) + " moveto ";
        } else if (e.isLineTo()) {
            operators += point(e) + " lineto ";
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            operators += point(e) + ' ' + point(path.elementAt(i + 1)) + ' ' + point(path.elementAt(i + 2)) +
                         " curveto ";
            i += 2;
        }
    }
    return path.elementCount() > 0 ? operators + "closepath fill" : operators;
}

// The procedure that draws one character: its advance and box for the cache, then its outline, filled
// with the current colour (y up, as in every font).
QByteArray GlyphProcedure(const QRawFont& face, char32_t character) {
    const QList<quint32> glyphs = face.glyphIndexesForString(QString::fromUcs4(&character, 1));
    const quint32 glyph = glyphs.isEmpty() ? 0 : glyphs.first();
    const QList<QPointF> advances = face.advancesForGlyphIndexes({glyph});
    const QPainterPath path = face.pathForGlyph(glyph);
    const QRectF box = path.boundingRect();
    return '{' + Number(advances.isEmpty() ? 0 : advances.first().x()) + " 0 " + Number(box.left()) + ' ' +
           Number(-box.bottom()) + ' ' + Number(box.right()) + ' ' + Number(-box.top()) + " setcachedevice " +
           GlyphOutline(path) + '}';
}

}  // namespace

QByteArray EpsFonts::Face::FontName(std::size_t part) const {
    return part == 0 ? name : name + '.' + QByteArray::number(qulonglong(part));
}

std::vector<EpsFonts::Run> EpsFonts::Encode(const QFont& font, const QString& text) {
    Face& face = FaceOf(font);
    std::vector<Run> runs;
    std::size_t current = 0;
    QByteArray codes;
    for (const char32_t character : text.toUcs4()) {
        std::size_t part = 0;
        int code = -1;
        for (;; ++part) {
            if (part == face.codesOfFonts.size()) face.codesOfFonts.emplace_back();
            std::map<char32_t, int>& codesOfFont = face.codesOfFonts[part];
            if (const auto known = codesOfFont.find(character); known != codesOfFont.end()) {
                code = known->second;
                break;
            }
            if ((code = FreeCode(codesOfFont, character)) >= 0) {
                codesOfFont.emplace(character, code);
                break;
            }
        }
        if (part != current && !codes.isEmpty()) {
            runs.push_back({face.FontName(current), Literal(codes)});
            codes.clear();
        }
        current = part;
        codes += char(code);
    }
    if (!codes.isEmpty()) runs.push_back({face.FontName(current), Literal(codes)});
    return runs;
}

EpsFonts::Face& EpsFonts::FaceOf(const QFont& font) {
    QRawFont outlines = QRawFont::fromFont(font);
    outlines.setPixelSize(kUnitsPerEm);
    const QByteArray name = PostScriptName(outlines);
    for (Face& face : faces)
        if (face.name == name) return face;
    faces.push_back({name, outlines, {}});
    return faces.back();
}

QByteArray EpsFonts::Definitions() const {
    QByteArray definitions;
    for (const Face& face : faces)
        for (std::size_t part = 0; part < face.codesOfFonts.size(); ++part)
            definitions += Definition(face, part);
    return definitions;
}

QByteArray EpsFonts::Definition(const Face& face, std::size_t part) {
    const std::map<char32_t, int>& codes = face.codesOfFonts[part];
    QByteArray encoding = "/Encoding 256 array 0 1 255 {1 index exch /.notdef put} for\n";
    QByteArray procedures = "/CharProcs " + QByteArray::number(int(codes.size()) + 1) +
                            " dict dup begin\n/.notdef {0 0 0 0 0 0 setcachedevice} def\n";
    for (const auto& [character, code] : codes) {
        const QByteArray glyph = "/c" + QByteArray::number(code);
        encoding += "dup " + QByteArray::number(code) + ' ' + glyph + " put\n";
        procedures += glyph + ' ' + GlyphProcedure(face.outlines, character) + " bind def\n";
    }
    const QByteArray name = face.FontName(part);
    return "%%BeginResource: font " + name +
           "\n8 dict begin\n/FontType 3 def\n/FontMatrix [0.001 0 0 0.001 0 0] def\n/FontBBox [0 0 0 0] "
           "def\n" +
           encoding + "def\n" + procedures +
           "end def\n"
           "/BuildGlyph {exch /CharProcs get exch 2 copy known not {pop /.notdef} if get exec} bind def\n"
           "/BuildChar {1 index /Encoding get exch get 1 index /BuildGlyph get exec} bind def\n"
           "currentdict end\n/" +
           name + " exch definefont pop\n%%EndResource\n";
}
