#include "msarender/picture/SequenceSelection.h"

#include <QStringList>

namespace {

bool MatchesName(const SDM::Sequence& sequence, const QString& name) {
    const QString defline = QString::fromStdString(sequence.getDefline());
    return defline == name || defline.section(QLatin1Char(' '), 0, 0) == name;
}

// A name may leave out the identifier's "/start-end" when no other sequence has the same identifier.
int FindByName(const SDM::Alignment& alignment, const QString& name) {
    int withoutRange = -1;
    int sharing = 0;
    for (unsigned i = 0; i < alignment.size(); ++i) {
        const boost::shared_ptr<SDM::Sequence> sequence = alignment.getSequence(i);
        if (!sequence || sequence->isTransient()) continue;
        if (MatchesName(*sequence, name)) return int(i);
        if (QString::fromStdString(SDM::IdentifierWithoutRange(sequence->getIdentifier())) == name) {
            withoutRange = int(i);
            ++sharing;
        }
    }
    return sharing == 1 ? withoutRange : -1;
}

// A 1-based index or a name; -1 when neither names a sequence.
int FindSequence(const SDM::Alignment& alignment, const QString& entry) {
    bool isNumber = false;
    const int number = entry.toInt(&isNumber);
    if (isNumber && number >= 1 && unsigned(number) <= alignment.size() && alignment.getSequence(number - 1))
        return number - 1;
    return FindByName(alignment, entry);
}

// "3-8": the indexes 3 to 8, unless a sequence has that name. Empty when the entry is no range.
std::vector<unsigned> IndexRange(const SDM::Alignment& alignment, const QString& entry) {
    const QStringList ends = entry.split(QLatin1Char('-'));
    if (ends.size() != 2 || FindByName(alignment, entry) >= 0) return {};
    bool firstOk = false;
    bool lastOk = false;
    const int first = ends[0].toInt(&firstOk);
    const int last = ends[1].toInt(&lastOk);
    if (!firstOk || !lastOk || first < 1 || last < first || unsigned(last) > alignment.size()) return {};
    std::vector<unsigned> indexes;
    for (int number = first; number <= last; ++number)
        if (alignment.getSequence(unsigned(number - 1))) indexes.push_back(unsigned(number - 1));
    return indexes;
}

}  // namespace

SequenceList ResolveSequences(const SDM::Alignment& alignment, const QString& list) {
    SequenceList result;
    for (const QString& raw : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString entry = raw.trimmed();
        if (const std::vector<unsigned> range = IndexRange(alignment, entry); !range.empty()) {
            result.indexes.insert(result.indexes.end(), range.begin(), range.end());
            continue;
        }
        const int index = FindSequence(alignment, entry);
        if (index < 0) {
            result.error = "no sequence named or numbered '" + entry + "'";
            return result;
        }
        result.indexes.push_back(unsigned(index));
    }
    if (result.indexes.empty()) result.error = "the sequence list is empty";
    return result;
}

namespace {
struct ColumnRange {
    unsigned first = 0;  // 1-based, inclusive
    unsigned last = 0;
};

// The ranges of "1-50,80,90-100", or the error naming the first entry that is not one.
std::vector<ColumnRange> ParseColumnRanges(const QString& ranges, QString& error) {
    std::vector<ColumnRange> result;
    for (const QString& raw : ranges.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = raw.trimmed().split(QLatin1Char('-'));
        bool okFirst = false;
        bool okLast = ends.size() == 1;
        const unsigned first = ends[0].toUInt(&okFirst);
        const unsigned last = ends.size() == 2 ? ends[1].toUInt(&okLast) : first;
        if (ends.size() > 2 || !okFirst || !okLast || first < 1 || last < first) {
            error = "'" + raw.trimmed() + "' is not a column or a range like 10-20";
            return {};
        }
        result.push_back({first, last});
    }
    if (result.empty()) error = "the column list is empty";
    return result;
}
}  // namespace

QString CheckColumnSyntax(const QString& ranges) {
    QString error;
    ParseColumnRanges(ranges, error);
    return error;
}

ColumnList ParseColumns(const QString& ranges, unsigned columnCount) {
    ColumnList result;
    for (const ColumnRange& range : ParseColumnRanges(ranges, result.error)) {
        if (range.last > columnCount) {
            result.error = QStringLiteral("column %1 is beyond the alignment's %2 columns")
                               .arg(range.last)
                               .arg(columnCount);
            return result;
        }
        for (unsigned c = range.first; c <= range.last; ++c) result.columns.push_back(c - 1);
    }
    return result;
}
