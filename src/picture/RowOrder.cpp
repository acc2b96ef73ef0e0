#include "msarender/picture/RowOrder.h"

#include <algorithm>
#include <cctype>

#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnConsensus.h"
#include "sqv/UserProperties.h"

namespace {

// Stable, so that ties keep the order given.
template <typename Value>
std::vector<unsigned> SortedBy(std::vector<unsigned> indexes, const std::vector<Value>& values,
                               bool highestFirst) {
    std::stable_sort(indexes.begin(), indexes.end(), [&](unsigned a, unsigned b) {
        return highestFirst ? values[a] > values[b] : values[a] < values[b];
    });
    return indexes;
}

// One value per sequence index of the model, for the indexes given.
template <typename Value, typename Function>
std::vector<Value> ValuesOf(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes,
                            Function valueOf) {
    std::vector<Value> values(alignment.size());
    for (unsigned index : indexes)
        if (index < values.size()) values[index] = valueOf(index);
    return values;
}

std::vector<unsigned> InModel(const SDM::Alignment& alignment, std::vector<unsigned> indexes) {
    indexes.erase(std::remove_if(indexes.begin(), indexes.end(),
                                 [&alignment](unsigned index) { return index >= alignment.size(); }),
                  indexes.end());
    return indexes;
}

}  // namespace

namespace RowOrder {

std::optional<Key> KeyNamed(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("name")) return Key::Name;
    if (key == QLatin1String("identity")) return Key::Identity;
    if (key == QLatin1String("length")) return Key::Length;
    return std::nullopt;
}

QString KeyNames() {
    return QStringLiteral("identity|name|length");
}

std::vector<unsigned> ModelSequences(const SDM::Alignment& alignment) {
    std::vector<unsigned> order;
    alignment.getNonTransientIndexes(order, false);
    return order;
}

const std::string& AlignedText(const SDM::Alignment& alignment, unsigned index) {
    static const std::string kNone;
    const boost::shared_ptr<SDM::Sequence> sequence = alignment.getSequence(index);
    return sequence ? sequence->getAligned() : kNone;
}

std::string ConsensusText(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes) {
    std::vector<std::string> texts;
    for (unsigned index : indexes) texts.push_back(AlignedText(alignment, index));
    std::string text;
    for (const SDM::ConsensusColumn& column : SDM::ColumnConsensus(texts))
        text += column.residue == 0 || column.residue == SDM::ConsensusColumn::kTie ? '-' : column.residue;
    return text;
}

std::optional<double> Identity(const std::string& first, const std::string& second) {
    std::size_t shared = 0;
    std::size_t same = 0;
    for (std::size_t column = 0; column < std::min(first.size(), second.size()); ++column) {
        if (SQC::SequenceConstants::IsGap(first[column]) || SQC::SequenceConstants::IsGap(second[column]))
            continue;
        ++shared;
        same += std::toupper(static_cast<unsigned char>(first[column])) ==
                std::toupper(static_cast<unsigned char>(second[column]));
    }
    if (shared == 0) return std::nullopt;
    return 100.0 * double(same) / double(shared);
}

std::vector<unsigned> ByName(const SDM::Alignment& alignment, std::vector<unsigned> indexes) {
    indexes = InModel(alignment, std::move(indexes));
    const std::vector<QString> names = ValuesOf<QString>(alignment, indexes, [&alignment](unsigned index) {
        const boost::shared_ptr<SDM::Sequence> sequence = alignment.getSequence(index);
        return sequence ? QString::fromStdString(sequence->getDefline()).toCaseFolded() : QString();
    });
    return SortedBy(std::move(indexes), names, false);
}

std::vector<unsigned> ByIdentity(const SDM::Alignment& alignment, std::vector<unsigned> indexes,
                                 const std::string& reference) {
    indexes = InModel(alignment, std::move(indexes));
    // No shared column ranks below 0%.
    const std::vector<double> identity = ValuesOf<double>(alignment, indexes, [&](unsigned index) {
        return Identity(AlignedText(alignment, index), reference).value_or(-1.0);
    });
    return SortedBy(std::move(indexes), identity, true);
}

std::vector<unsigned> ByLength(const SDM::Alignment& alignment, std::vector<unsigned> indexes) {
    indexes = InModel(alignment, std::move(indexes));
    const std::vector<std::size_t> lengths = ValuesOf<std::size_t>(alignment, indexes, [&](unsigned index) {
        const std::string& text = AlignedText(alignment, index);
        return std::size_t(std::count_if(text.begin(), text.end(),
                                         [](char c) { return !SQC::SequenceConstants::IsGap(c); }));
    });
    return SortedBy(std::move(indexes), lengths, true);
}

std::vector<unsigned> Sorted(const SDM::Alignment& alignment, std::vector<unsigned> indexes, Key key,
                             const std::string& reference) {
    switch (key) {
        case Key::Name:
            return ByName(alignment, std::move(indexes));
        case Key::Identity:
            return ByIdentity(alignment, std::move(indexes), reference);
        case Key::Length:
            return ByLength(alignment, std::move(indexes));
    }
    return indexes;
}

std::vector<unsigned> Leading(std::vector<unsigned> indexes, unsigned first) {
    indexes.erase(std::remove(indexes.begin(), indexes.end(), first), indexes.end());
    indexes.insert(indexes.begin(), first);
    return indexes;
}

}  // namespace RowOrder
