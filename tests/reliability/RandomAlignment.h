#pragma once

#include <set>
#include <string>

#include "RandomDraw.h"
#include "support/AlignmentBuilder.h"

namespace reliability {

/// Alignments shaped the way careless hosts and odd files shape them: no rows, null entries, ragged and
/// empty rows, hidden rows, secondary structure of the wrong length or without letters, selections, masks
/// and marks beyond the ends, and user properties out of range.
class RandomAlignment {
public:
    /// Every structure key the made alignments use, for checking GetSsKey answers.
    static const std::set<std::string>& StructureKeys();
    /// Letters, gaps of every kind and a few characters no scheme knows.
    static std::string RandomRow(RandomDraw& draw, std::size_t length);

    static testsupport::BuiltAlignment Make(RandomDraw& draw);

private:
    static void AddSequence(RandomDraw& draw, testsupport::AlignmentBuilder& builder, unsigned index);
    static void AddState(RandomDraw& draw, testsupport::AlignmentBuilder& builder, unsigned entries);
    static void AddProperties(RandomDraw& draw, testsupport::AlignmentBuilder& builder, unsigned entries);
};

}  // namespace reliability
