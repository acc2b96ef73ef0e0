#include "RowOrder.h"

#include <QString>
#include <algorithm>
#include <cctype>

#include "sdm/Alignment.h"
#include "sqv/UserProperties.h"

namespace {

// The file's sequences as the model holds them now, without the consensus the model makes.
std::vector<unsigned> ModelOrder(const SDM::Alignment& alignment) {
    std::vector<unsigned> order;
    alignment.getNonTransientIndexes(order, false);
    return order;
}

const std::string& AlignedText(const SDM::Alignment& alignment, unsigned index) {
    static const std::string kNone;
    const boost::shared_ptr<SDM::Sequence> sequence = alignment.getSequence(index);
    return sequence ? sequence->getAligned() : kNone;
}

}  // namespace

namespace RowOrder {

std::vector<unsigned> ByName(const SDM::Alignment& alignment) {
    std::vector<QString> names;
    for (unsigned index = 0; index < alignment.size(); ++index)
        names.push_back(QString::fromStdString(alignment.getSequence(index)->getDefline()));
    std::vector<unsigned> order = ModelOrder(alignment);
    std::stable_sort(order.begin(), order.end(), [&names](unsigned a, unsigned b) {
        return names[a].compare(names[b], Qt::CaseInsensitive) < 0;
    });
    return order;
}

double Identity(const SDM::Alignment& alignment, unsigned first, unsigned second) {
    const std::string& a = AlignedText(alignment, first);
    const std::string& b = AlignedText(alignment, second);
    std::size_t shared = 0;
    std::size_t same = 0;
    for (std::size_t column = 0; column < std::min(a.size(), b.size()); ++column) {
        if (SQC::SequenceConstants::IsGap(a[column]) || SQC::SequenceConstants::IsGap(b[column])) continue;
        ++shared;
        same += std::toupper(static_cast<unsigned char>(a[column])) ==
                std::toupper(static_cast<unsigned char>(b[column]));
    }
    return shared == 0 ? 0.0 : double(same) / double(shared);
}

std::vector<unsigned> ByIdentity(const SDM::Alignment& alignment, unsigned reference) {
    std::vector<double> identity;
    for (unsigned index = 0; index < alignment.size(); ++index)
        identity.push_back(index == reference ? 2.0 : Identity(alignment, reference, index));  // it leads
    std::vector<unsigned> order = ModelOrder(alignment);
    std::stable_sort(order.begin(), order.end(),
                     [&identity](unsigned a, unsigned b) { return identity[a] > identity[b]; });
    return order;
}

}  // namespace RowOrder
