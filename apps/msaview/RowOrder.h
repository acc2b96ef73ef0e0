#pragma once

#include <vector>

namespace SDM {
class Alignment;
}

/// Orders of the alignment's sequences for View > Sort rows: each is a permutation of the model's sequence
/// indexes (the consensus the model makes left out), first row first. Ties keep the model's order.
namespace RowOrder {

/// By name (the defline), ignoring case.
std::vector<unsigned> ByName(const SDM::Alignment& alignment);
/// By identity to `reference`, most identical first (the reference itself leads).
std::vector<unsigned> ByIdentity(const SDM::Alignment& alignment, unsigned reference);
/// The share of columns holding residues in both sequences where the two residues are the same (any
/// case); 0 when they share no such column.
double Identity(const SDM::Alignment& alignment, unsigned first, unsigned second);

}  // namespace RowOrder
