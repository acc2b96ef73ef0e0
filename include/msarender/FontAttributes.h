#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QSize>

#include "msarender/Export.h"

namespace SQC {

/// The character cell of a residue font: as wide as the widest printable 7-bit character, as high as the
/// font's line spacing. All layout of the renderer is counted in these cells.
class MSARENDER_EXPORT FontAttributes {
public:
    explicit FontAttributes(const QFont& font);
    FontAttributes(const FontAttributes& other);
    FontAttributes& operator=(const FontAttributes& other);
    ~FontAttributes();

    void SetFont(const QFont& font);
    int GetMaxHeight() const;
    int GetMaxWidth() const;
    QSize GetMaxSize() const;
    const QFontMetrics& GetMetrics() const;

private:
    static int WidestAsciiAdvance(const QFontMetrics& metrics);

    QFontMetrics metrics;
    int maxWidth;
};

}  // namespace SQC
