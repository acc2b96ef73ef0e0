#include "RandomAlignment.h"

#include <algorithm>

#include "sqv/UserProperties.h"

namespace reliability {

namespace {

// Lengths are kept short: the run needs many alignments, not long ones.
constexpr long long kLongestRow = 90;
constexpr unsigned kMostEntries = 7;

unsigned RandomColumn(RandomDraw& draw) {
    return unsigned(draw.OneOf<long long>(
        {0, draw.Between(0, kLongestRow), draw.Between(0, 2 * kLongestRow), 0xFFFFFFF0LL, 0xFFFFFFFFLL}));
}

}  // namespace

const std::set<std::string>& RandomAlignment::StructureKeys() {
    static const std::set<std::string> keys{"SS", "pdb_1abc", "x"};
    return keys;
}

std::string RandomAlignment::RandomRow(RandomDraw& draw, std::size_t length) {
    static const std::string alphabet = "ACDEFGHIKLMNPQRSTVWYacgtu-----...~~  *XBZ#0";
    return draw.Text(length, alphabet);
}

testsupport::BuiltAlignment RandomAlignment::Make(RandomDraw& draw) {
    testsupport::AlignmentBuilder builder(
        draw.OneOf({SDM::AminoAcid, SDM::AminoAcid, SDM::AminoAcid, SDM::NucleicAcid, SDM::UnknownClass}));
    const unsigned entries = unsigned(draw.Between(0, kMostEntries));
    for (unsigned index = 0; index < entries; ++index) AddSequence(draw, builder, index);
    AddState(draw, builder, entries);
    AddProperties(draw, builder, entries);
    return builder.Build();
}

void RandomAlignment::AddSequence(RandomDraw& draw, testsupport::AlignmentBuilder& builder, unsigned index) {
    if (draw.Chance(0.1)) {
        builder.EmptyEntry();
        return;
    }
    const long long typical = draw.Between(2, kLongestRow);
    const std::size_t length = std::size_t(draw.OneOf<long long>({0, 1, typical, typical, typical, typical}));
    const std::string row = RandomRow(draw, length);
    builder.Seq("seq" + std::to_string(index) + (draw.Chance(0.3) ? " a description" : ""), row);
    for (const std::string& key : StructureKeys()) {
        if (!draw.Chance(0.35)) continue;
        if (draw.Chance(0.15)) {
            builder.NullStructure(key);
            continue;
        }
        // Right length (one letter per residue) or wrong, with letters the cartoon does not know.
        const std::size_t residues =
            row.size() - std::size_t(std::count_if(row.begin(), row.end(),
                                                   [](char c) { return SQC::SequenceConstants::IsGap(c); }));
        const std::size_t letters = draw.Chance(0.6) ? residues : std::size_t(draw.Between(0, kLongestRow));
        builder.Structure(key, draw.Text(letters, "HHHSSSCC-E?"));
    }
    if (draw.Chance(0.2)) builder.Hidden();
    if (draw.Chance(0.1)) builder.Indented();
}

void RandomAlignment::AddState(RandomDraw& draw, testsupport::AlignmentBuilder& builder, unsigned entries) {
    const auto sequence = [&] { return unsigned(draw.Between(0, entries + 2)); };
    for (long long i = draw.Between(0, 3); i > 0; --i)
        builder.Select(sequence(), RandomColumn(draw), RandomColumn(draw));
    for (long long i = draw.Between(0, 2); i > 0; --i)
        builder.Mask(sequence(), RandomColumn(draw), RandomColumn(draw));
    for (long long i = draw.Between(0, 2); i > 0; --i)
        builder.FixedBlock(RandomColumn(draw), RandomColumn(draw));
    for (long long i = draw.Between(0, 3); i > 0; --i) {
        const SDM::MarkColors colors;
        builder.Mark(sequence(), RandomColumn(draw), unsigned(draw.Between(0, 0x3F)), colors);
        builder.Style(sequence(), RandomColumn(draw),
                      draw.OneOf({SDM::NormalStyle, SDM::Bold, SDM::BoldItalic}));
    }
    builder.Consensus(draw.Chance(0.2));
    builder.StructuresShown(draw.Chance(0.8));
    for (const std::string& key : StructureKeys())
        if (draw.Chance(0.15)) builder.StructureVisible(key, false);
}

void RandomAlignment::AddProperties(RandomDraw& draw, testsupport::AlignmentBuilder& builder,
                                    unsigned entries) {
    using Keys = SQC::UserProperties;
    if (draw.Chance(0.3))
        builder.IntProperty(Keys::CurrSeqIndex,
                            draw.OneOf<int>({-1, int(entries), int(draw.Between(0, 3)), -7}));
    if (draw.Chance(0.2)) builder.BoolProperty(Keys::FontChanged, true);
    if (draw.Chance(0.3)) builder.IntProperty(Keys::RulerDragOffset, draw.HostileInt(100));
    if (draw.Chance(0.3))
        builder.ColorProperty(Keys::SSHelixColorKey, unsigned(draw.Between(0, 0xFFFFFFFFLL)));
    if (draw.Chance(0.1))
        builder.IntProperty(Keys::SSSheetColorKey, -1);  // a colour stored with the wrong type
}

}  // namespace reliability
