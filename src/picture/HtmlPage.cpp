#include "msarender/picture/HtmlPage.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "PageTemplate.h"  // kPageScript, kPageStyle: made by CMake from page/
#include "msarender/RenderSequenceData.h"

namespace {

// The same pixels with a palette when they have at most 256 colours (names and strips are mostly white
// and a few shades of their letters): a third of the bytes of RGB, and lossless.
QImage Palette(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QVector<QRgb> colours;
    QHash<QRgb, uchar> indexOf;
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            auto found = indexOf.constFind(in[x]);
            if (found == indexOf.constEnd()) {
                if (colours.size() == 256) return rgb;
                found = indexOf.insert(in[x], uchar(colours.size()));
                colours.append(in[x]);
            }
            out[x] = *found;
        }
    }
    indexed.setColorTable(colours);
    return indexed;
}

QString Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Palette(image).save(&buffer, "PNG", 0);  // quality 0: zlib's strongest compression
    return QString::fromLatin1(bytes.toBase64());
}

QJsonArray Pngs(const std::vector<QImage>& images) {
    QJsonArray array;
    for (const QImage& image : images) array.append(Png(image));
    return array;
}

template <typename Number>
QJsonArray Numbers(const std::vector<Number>& numbers) {
    QJsonArray array;
    for (Number number : numbers) array.append(double(number));
    return array;
}

QJsonObject DataOf(const HtmlPageContent& content) {
    QJsonArray lines;
    for (const HtmlPageContent::Line& line : content.lines) {
        lines.append(double(line.top));
        lines.append(line.height);
    }
    QJsonArray sequences;
    const bool chosenColumns = content.runStarts.size() > 1;
    for (const HtmlPageContent::Sequence& sequence : content.sequences) {
        QJsonObject object{{"top", double(sequence.top)},
                           {"name", sequence.name},
                           {"description", sequence.description},
                           {"firstResidue", double(sequence.firstResidue)},
                           {"residueStep", sequence.residueStep}};
        if (chosenColumns) object.insert("residuesBefore", Numbers(sequence.residuesBefore));
        sequences.append(object);
    }
    QJsonArray rowLines;
    for (const HtmlPageContent::RowLine& line : content.rowLines) {
        rowLines.append(double(line.top));
        rowLines.append(line.sequence);
        rowLines.append(line.first);
        rowLines.append(line.end);
    }
    QJsonArray blocks;
    for (const HtmlPageContent::Block& block : content.blocks) {
        blocks.append(double(block.top));
        blocks.append(block.first);
        blocks.append(block.end);
    }
    QJsonArray columnNumbers;  // null where the ruler gives a column no number
    for (long long number : content.columnNumbers)
        columnNumbers.append(number == RenderSequenceData::kNoRulerNumber ? QJsonValue() : double(number));
    QJsonArray strips;
    for (const HtmlPageContent::Strip& strip : content.strips)
        strips.append(QJsonObject{
            {"top", double(strip.top)}, {"height", strip.height}, {"pieces", Pngs(strip.pieces)}});
    return QJsonObject{{"title", content.title},
                       {"cellWidth", content.cellWidth},
                       {"cellHeight", content.cellHeight},
                       {"nameWidth", content.nameWidth},
                       {"rightWidth", content.rightWidth},
                       {"columns", content.columns},
                       {"lineColumns", content.lineColumns},
                       {"columnNumbers", columnNumbers},
                       {"runStarts", Numbers(content.runStarts)},
                       {"firstColumnNumber", content.firstColumnNumber},
                       {"height", double(content.height)},
                       {"pieceSide", HtmlPageContent::kPieceSide},
                       {"lines", lines},
                       {"sequences", sequences},
                       {"rowLines", rowLines},
                       {"blocks", blocks},
                       {"strips", strips},
                       {"names", Pngs(content.namePieces)},
                       {"columnPeriod", double(content.columnPeriod)},
                       {"right", Pngs(content.rightPieces)},
                       {"glyphs", Png(content.glyphs)},
                       {"glyphsPerRow", HtmlPageContent::kGlyphsPerRow},
                       {"glyphResidues", QString::fromLatin1(content.glyphResidues)},
                       {"bytesPerCell", content.bytesPerCell}};
}

// JSON inside a script element: no '<' (nor '>' or '&'), so that no text of the alignment can close it.
QByteArray ScriptSafeJson(const QJsonObject& object) {
    QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    json.replace("<", "\\u003c").replace(">", "\\u003e").replace("&", "\\u0026");
    return json;
}

// The cells' zlib stream in base64, in data blocks of kCellBlockChars characters (whole groups of four,
// each block decoded on its own) after the page's data: the browser's parser goes through them faster than
// through one string inside JSON, and the script decodes and inflates them block by block.
const qsizetype kCellBlockChars = 1 << 20;
QByteArray CellBlocks(const QByteArray& cells) {
    // qCompress puts the length before a zlib stream; the browser's DecompressionStream reads the stream.
    const QByteArray base64 = qCompress(cells, 6).mid(4).toBase64();
    QByteArray blocks;
    for (qsizetype at = 0; at < base64.size(); at += kCellBlockChars)
        blocks += "<script type=\"application/octet-stream\" class=\"msarender-cells\">" +
                  base64.mid(at, kCellBlockChars) + "</script>\n";
    return blocks;
}

QByteArray Sha256(const char* text) {
    return "'sha256-" + QCryptographicHash::hash(QByteArray(text), QCryptographicHash::Sha256).toBase64() +
           "'";
}

}  // namespace

QString EncodeHtmlPage(const HtmlPageContent& content, QIODevice& out) {
    // Only the page's own script and style run; images come from the page's data.
    const QByteArray policy = "default-src 'none'; img-src data:; style-src " + Sha256(kPageStyle) +
                              "; script-src " + Sha256(kPageScript);
    QByteArray page;
    page += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<meta http-equiv=\"Content-Security-Policy\" content=\"" + policy + "\">\n";
    page += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    page += "<meta name=\"generator\" content=\"msarender\">\n";
    page += "<title>" + content.title.toHtmlEscaped().toUtf8() + "</title>\n";
    page += QByteArray("<style>") + kPageStyle + "</style>\n</head>\n<body>\n";
    page += "<script type=\"application/json\" id=\"msarender-data\">" + ScriptSafeJson(DataOf(content)) +
            "</script>\n";
    page += CellBlocks(content.cells);
    page += QByteArray("<script>") + kPageScript + "</script>\n</body>\n</html>\n";
    if (out.write(page) != page.size()) return QStringLiteral("the page could not be written");
    return QString();
}
