#pragma once

namespace SDM {

class Alignment;

/// The column geometry of an alignment.
class SeqAlign {
public:
    explicit SeqAlign(const Alignment& alignment) : alignment_(alignment) {}
    /// Number of alignment columns: the longest aligned text of any sequence.
    unsigned getMaxTotalLength() const;

private:
    const Alignment& alignment_;  // not owned; the alignment owns this part
};

}  // namespace SDM
