#pragma once

#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>
#include <map>
#include <vector>

/// The fonts an EPS picture embeds: each face it draws text in becomes a Type 3 font holding the outlines
/// of just the characters shown, so that every interpreter shows the letters of the PNG and the PDF. A face
/// holds 256 characters; past that, further characters go to another font of the same face.
class EpsFonts {
public:
    /// One piece of a text: the PostScript name of the font that shows it and its string literal.
    struct Run {
        QByteArray font;
        QByteArray literal;
    };
    /// The pieces that show `text` in `font`, whose outlines are now kept for `Definitions`.
    std::vector<Run> Encode(const QFont& font, const QString& text);
    /// The PostScript that defines every font used so far.
    QByteArray Definitions() const;

private:
    /// One face and the characters it shows, 256 codes a font.
    struct Face {
        QByteArray name;
        QRawFont outlines;
        std::vector<std::map<char32_t, int>> codesOfFonts;
        QByteArray FontName(std::size_t part) const;
    };
    Face& FaceOf(const QFont& font);
    static QByteArray Definition(const Face& face, std::size_t part);

    std::vector<Face> faces;
};
