#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "msarender/Export.h"

namespace SDM {
class Alignment;
}

/// Orders of an alignment's sequences, for every host (the command's --sort, the viewer's View > Sort
/// rows). Each takes sequence indexes of the model and gives them back reordered, first row first; ties
/// keep the order given, so a sort is stable and sorting twice changes nothing.
namespace RowOrder {

/// The ways rows can be sorted by name, as --sort takes them.
enum class Key { Name, Identity, Length };
/// The key of a name ("name", "identity", "length"; any case), or nothing.
MSARENDER_EXPORT std::optional<Key> KeyNamed(const QString& name);
/// The names KeyNamed takes, for messages and help: "identity|name|length".
MSARENDER_EXPORT QString KeyNames();

/// The file's sequences in the model's order, without the consensus the model makes.
MSARENDER_EXPORT std::vector<unsigned> ModelSequences(const SDM::Alignment& alignment);

/// By name (the label shown), ignoring case.
MSARENDER_EXPORT std::vector<unsigned> ByName(const SDM::Alignment& alignment, std::vector<unsigned> indexes);
/// By identity (Identity) to the aligned text `reference`, most identical first; sequences that share no
/// residue column with it come last.
MSARENDER_EXPORT std::vector<unsigned> ByIdentity(const SDM::Alignment& alignment,
                                                  std::vector<unsigned> indexes,
                                                  const std::string& reference);
/// By their number of residues (gaps not counted), longest first.
MSARENDER_EXPORT std::vector<unsigned> ByLength(const SDM::Alignment& alignment,
                                                std::vector<unsigned> indexes);
/// Sorted by `key`; identity is to the aligned text `reference`.
MSARENDER_EXPORT std::vector<unsigned> Sorted(const SDM::Alignment& alignment, std::vector<unsigned> indexes,
                                              Key key, const std::string& reference);
/// `indexes` with `first` moved to the front (added when missing).
MSARENDER_EXPORT std::vector<unsigned> Leading(std::vector<unsigned> indexes, unsigned first);

/// The aligned text of a sequence index (the consensus too, while shown); empty without a sequence.
MSARENDER_EXPORT const std::string& AlignedText(const SDM::Alignment& alignment, unsigned index);
/// The consensus of the sequences `indexes` as an aligned text: each column's majority residue (upper
/// case), a gap where more than half the sequences have gaps or two residues tie.
MSARENDER_EXPORT std::string ConsensusText(const SDM::Alignment& alignment,
                                           const std::vector<unsigned>& indexes);
/// The percent identity of two aligned texts: of the columns holding a residue in both, the share where the
/// two residues are the same letter (any case), 0-100. Nothing when no column holds a residue in both.
MSARENDER_EXPORT std::optional<double> Identity(const std::string& first, const std::string& second);

}  // namespace RowOrder
