#include "support/TestFont.h"

namespace testsupport {

QFont MonoFont(int pointSize) {
    QFont font(QStringLiteral("DejaVu Sans Mono"), pointSize);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace testsupport
