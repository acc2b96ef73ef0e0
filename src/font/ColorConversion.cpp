#include "font/ColorConversion.h"

namespace SQC {

namespace {
unsigned Channel(unsigned packed, int shift) {
    return (packed >> shift) & 0xFFu;
}
}  // namespace

// The property store leaves alpha 0 for colours that were never given one; those mean opaque.
unsigned PropertyToDisplayColour(unsigned propertyColour) {
    unsigned alpha = Channel(propertyColour, 24);
    if (alpha == 0) {
        alpha = 0xFF;
    }
    QColor colour;
    colour.setRgb(int(Channel(propertyColour, 0)), int(Channel(propertyColour, 8)),
                  int(Channel(propertyColour, 16)), int(alpha));
    return colour.rgba();
}

unsigned ToDisplayColour(const Common::Color& color) {
    return (unsigned(color.Alpha()) << 24) | (unsigned(color.Red()) << 16) | (unsigned(color.Green()) << 8) |
           unsigned(color.Blue());
}

QColor ToQColor(const Common::Color& color) {
    QColor colour;
    colour.setRgb(color.Red(), color.Green(), color.Blue(), color.Alpha());
    return colour;
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

std::function<double(const std::string&)> TextAdvance(const QFontMetrics& metrics) {
    return [&metrics](const std::string& text) { return double(metrics.horizontalAdvance(ToQString(text))); };
}

}  // namespace SQC
