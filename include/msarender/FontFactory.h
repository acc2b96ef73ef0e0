#pragma once

#include <QFont>

#include "msarender/Export.h"
#include "sdm/Types.h"

namespace SQC {

/// Derives the bold and italic variants of a residue font from a residue font style.
class MSARENDER_EXPORT FontFactory {
public:
    explicit FontFactory(const QFont& font);
    FontFactory(const FontFactory& other);
    FontFactory& operator=(const FontFactory& other);
    ~FontFactory();

    /// A copy of the base font with weight and style both set from `style` (bit 1 bold, bit 2 italic).
    QFont GetFont(const SDM::FontStyle& style) const;

private:
    QFont baseFont;
};

}  // namespace SQC
