#include "msarender/tree/TreeOrder.h"

#include <QStringList>
#include <map>

#include "sdm/Alignment.h"

namespace {

const int kNamesListed = 8;

// "A, B, C and 4 more"
QString NameList(const QStringList& names) {
    QString list = names.mid(0, kNamesListed).join(QStringLiteral(", "));
    if (names.size() > kNamesListed) list += QStringLiteral(" and %1 more").arg(names.size() - kNamesListed);
    return list;
}

QString Plural(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// Sequences by identifier, and by identifier without its range where that leaves it unique.
class NameIndex {
public:
    NameIndex(const SDM::Alignment& alignment, const std::vector<unsigned>& indexes) {
        for (unsigned index : indexes) {
            const std::string& identifier = alignment.getSequence(index)->getIdentifier();
            exact.emplace(identifier, index);
            const auto [at, added] = bare.emplace(SDM::IdentifierWithoutRange(identifier), int(index));
            if (!added) at->second = -1;  // two sequences share it: no bare match
        }
    }
    int Find(const std::string& label) const {
        if (const auto at = exact.find(label); at != exact.end()) return int(at->second);
        const auto at = bare.find(SDM::IdentifierWithoutRange(label));
        return at == bare.end() ? -1 : at->second;
    }

private:
    std::map<std::string, unsigned> exact;  // the first sequence of a name
    std::map<std::string, int> bare;
};

}  // namespace

TreeRows OrderByTree(const SDM::Alignment& alignment, const PhyloTree& tree,
                     const std::vector<unsigned>& indexes) {
    TreeRows rows;
    const NameIndex names(alignment, indexes);
    std::map<int, unsigned> sequenceOfLeaf;
    std::vector<char> placed(alignment.size(), 0);
    QStringList strangers;
    for (int leaf : tree.Leaves()) {
        const QString& label = tree.nodes[std::size_t(leaf)].label;
        const int sequence = names.Find(label.toStdString());
        if (sequence < 0 || placed[std::size_t(sequence)]) {
            strangers.append(label);
            continue;
        }
        placed[std::size_t(sequence)] = 1;
        sequenceOfLeaf[leaf] = unsigned(sequence);
        rows.order.push_back(unsigned(sequence));
    }
    rows.leafSequences = rows.order;  // pruning keeps the leaves' order
    rows.tree = tree.Pruned([&](int leaf) { return sequenceOfLeaf.count(leaf) > 0; });
    QStringList missing;
    for (unsigned index : indexes)
        if (!placed[index]) {
            rows.order.push_back(index);
            missing.append(QString::fromStdString(alignment.getSequence(index)->getIdentifier()));
        }
    QStringList parts;
    if (!missing.isEmpty())
        parts.append(QStringLiteral("%1 not in the tree, drawn below it: %2")
                         .arg(Plural(missing.size(), "sequence", "sequences"), NameList(missing)));
    if (!strangers.isEmpty())
        parts.append(QStringLiteral("%1 naming no sequence of the alignment, left out: %2")
                         .arg(Plural(strangers.size(), "leaf", "leaves"), NameList(strangers)));
    if (!parts.isEmpty())
        rows.warning = QStringLiteral("the tree and the alignment differ: ") + parts.join("; ");
    return rows;
}
