#pragma once

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPaintDevice>
#include <QPixmap>
#include <QRect>
#include <QVariant>
#include <boost/make_shared.hpp>
#include <string>

#include "msarender/CellGeometry.h"
#include "msarender/FontAttributes.h"
#include "msarender/RenderSequenceData.h"
#include "sdm/ColorScheme.h"
#include "support/TestFont.h"

namespace renderertest {

/// Stands in for the host's view widget: a paint device that reports itself as a widget and carries a
/// "font" property, as QWidget does, without linking Qt Widgets.
class FakeWidget : public QObject, public QPaintDevice {
public:
    explicit FakeWidget(const QFont& font) { setProperty("font", font); }
    int devType() const override { return QInternal::Widget; }
    QPaintEngine* paintEngine() const override { return nullptr; }
};

/// The cell geometry of the test font.
inline CellGeometry TestCells() {
    return CellGeometry(SQC::FontAttributes(testsupport::MonoFont()));
}

/// A view rectangle of whole cells of the test font.
inline QRect ViewOfCells(int columns, int gridRows) {
    const CellGeometry cells = TestCells();
    return QRect(0, 0, cells.ColumnLeft(columns), cells.LineTop(gridRows));
}

inline RenderSequenceData::RenderAspects AspectsOfCells(int columns, int gridRows, bool wrap = true,
                                                        int residuesPerLine = 0) {
    RenderSequenceData::RenderAspects aspects;
    aspects.viewRect = ViewOfCells(columns, gridRows);
    aspects.nameRect = QRect(0, 0, 100, TestCells().LineTop(gridRows));
    aspects.wrap = wrap;
    aspects.residuesPerLine = residuesPerLine;
    return aspects;
}

/// `length` residues cycling through the twenty amino-acid letters, starting `shift` letters in.
inline std::string Letters(unsigned length, unsigned shift = 0) {
    static const std::string alphabet = "ACDEFGHIKLMNPQRSTVWY";
    std::string text;
    for (unsigned i = 0; i < length; ++i) text += alphabet[(i + shift) % alphabet.size()];
    return text;
}

/// A distinct, opaque background per letter, black letters: cells can be told apart by colour.
class LetterScheme : public SDM::ColorScheme {
public:
    std::string name() const override { return "letters"; }
    SDM::ResidueColors colorsAt(char code, unsigned) const override {
        return {Background(code), Common::Color(0, 0, 0)};
    }
    static Common::Color Background(char code) {
        const auto c = static_cast<unsigned char>(code);
        return Common::Color(std::uint8_t(40 + (c * 37) % 200), std::uint8_t(60 + (c * 53) % 180),
                             std::uint8_t(30 + (c * 91) % 210));
    }
};

inline boost::shared_ptr<SDM::ColorScheme> MakeLetterScheme() {
    return boost::make_shared<LetterScheme>();
}

/// Identifies one painted pixmap: a new pixmap gets a new key even where it reuses a freed address.
inline qint64 KeyOf(const QPixmap* pixmap) {
    return pixmap != nullptr ? pixmap->cacheKey() : 0;
}

inline QRgb PixelAt(const QPixmap& pixmap, int x, int y) {
    return pixmap.toImage().pixel(x, y);
}

}  // namespace renderertest
