#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QString>
#include <functional>
#include <string>

#include "common/Color.h"

namespace SQC {

/// Property colour (red in the low byte, alpha 0 meaning opaque) to display colour (0xAARRGGBB).
unsigned PropertyToDisplayColour(unsigned propertyColour);
/// Common::Color to display colour (0xAARRGGBB).
unsigned ToDisplayColour(const Common::Color& color);
QColor ToQColor(const Common::Color& color);
QString ToQString(const std::string& text);
/// The advance of a model text in a font, in pixels: how wide labels are compared.
std::function<double(const std::string&)> TextAdvance(const QFontMetrics& metrics);

}  // namespace SQC
