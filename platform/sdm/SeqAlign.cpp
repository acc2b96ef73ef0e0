#include "sdm/SeqAlign.h"

#include "sdm/Alignment.h"

namespace SDM {

unsigned SeqAlign::getMaxTotalLength() const {
    return alignment_.columnCount();
}

}  // namespace SDM
