#pragma once

#include <QFont>

namespace testsupport {

/// DejaVu Sans Mono at the given point size: the font every drawing test measures its cells with.
QFont MonoFont(int pointSize = 10);

}  // namespace testsupport
