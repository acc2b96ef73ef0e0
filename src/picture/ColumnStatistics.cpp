#include "msarender/picture/ColumnStatistics.h"

#include <algorithm>
#include <numeric>

#include "msarender/picture/PictureSettings.h"
#include "msarender/picture/SequenceSelection.h"
#include "sdm/Alignment.h"
#include "sdm/annotations/ColumnOccupancy.h"
#include "sdm/annotations/ColumnStats.h"

namespace {

ColumnStatistic StatisticOf(const SDM::ColumnStats& stats, int number) {
    ColumnStatistic one;
    one.number = number;
    one.residues = stats.residues;
    one.gaps = stats.gaps;
    one.occupancy = stats.occupancy;
    one.consensus = stats.consensus.residue;
    one.consensusPercent = stats.consensus.percent;
    one.conservation = stats.conservation;
    one.quality = stats.quality;
    one.bits = stats.bits;
    std::copy(stats.letters.begin(), stats.letters.end(), one.letters.begin());
    return one;
}

// Sequence indexes the settings leave out (--hide) and keep (--sequences; empty keeps all).
QString ChosenSequences(const SDM::Alignment& alignment, const PictureSettings& settings,
                        std::vector<unsigned>& chosen) {
    std::vector<bool> hidden(alignment.size(), false);
    if (!settings.hide.isEmpty()) {
        const SequenceList hide = ResolveSequences(alignment, settings.hide);
        if (!hide.error.isEmpty()) return "--hide: " + hide.error;
        for (unsigned index : hide.indexes) hidden[index] = true;
    }
    std::vector<unsigned> listed;
    if (settings.sequences.isEmpty()) {
        listed.resize(alignment.size());
        std::iota(listed.begin(), listed.end(), 0u);
    } else {
        const SequenceList sequences = ResolveSequences(alignment, settings.sequences);
        if (!sequences.error.isEmpty()) return "--sequences: " + sequences.error;
        listed = sequences.indexes;
    }
    for (unsigned index : listed)
        if (!hidden[index]) chosen.push_back(index);
    // An empty list would mean every sequence: one that names none of them keeps none.
    if (chosen.empty()) chosen.push_back(unsigned(alignment.size()));
    return QString();
}

QByteArray Number(double value, int decimals) {
    return QByteArray::number(value, 'f', decimals);
}

// A residue is written as itself only when it cannot break the table (a file may hold any byte).
QByteArray ResidueText(char residue) {
    return residue > ' ' && residue < 127 ? QByteArray(1, residue) : QByteArray();
}

}  // namespace

ColumnStatisticsTable ComputeColumnStatistics(const SDM::Alignment& alignment,
                                              const PictureSettings& settings) {
    ColumnStatisticsTable table;
    std::vector<unsigned> chosen;
    table.error = ChosenSequences(alignment, settings, chosen);
    if (!table.error.isEmpty()) return table;
    std::vector<unsigned> columns;
    if (settings.columns.isEmpty()) {
        columns.resize(alignment.columnCount());
        std::iota(columns.begin(), columns.end(), 0u);
    } else {
        const ColumnList list = ParseColumns(settings.columns, alignment.columnCount());
        if (!list.error.isEmpty()) {
            table.error = "--columns: " + list.error;
            return table;
        }
        columns = list.columns;
    }
    table.aminoAcids = alignment.GetSequenceClass() != SDM::NucleicAcid;
    const std::vector<std::string> texts = SDM::ShownTexts(alignment, chosen);
    const std::vector<SDM::ColumnStats> stats = SDM::ComputeColumnStats(texts, table.aminoAcids);
    // Columns past the end of every text shown are gaps in all of them.
    SDM::ColumnStats empty;
    empty.gaps = unsigned(texts.size());
    for (unsigned column : columns) {
        table.columns.push_back(
            StatisticOf(column < stats.size() ? stats[column] : empty, settings.ColumnNumber(int(column))));
    }
    return table;
}

QByteArray ColumnStatisticsText(const ColumnStatisticsTable& table) {
    std::string letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        if (std::any_of(table.columns.begin(), table.columns.end(),
                        [letter](const ColumnStatistic& c) { return c.letters[letter - 'A'] > 0; }))
            letters += letter;
    QByteArray text =
        "column\tresidues\tgaps\toccupancy\tconsensus\tconsensus_percent\tconservation\tquality\tbits";
    for (char letter : letters) text += '\t' + QByteArray(1, letter);
    text += '\n';
    for (const ColumnStatistic& c : table.columns) {
        text += QByteArray::number(c.number) + '\t' + QByteArray::number(c.residues) + '\t' +
                QByteArray::number(c.gaps) + '\t' + Number(c.occupancy, 4) + '\t' + ResidueText(c.consensus) +
                '\t' + (c.consensus != 0 ? Number(c.consensusPercent, 1) : QByteArray()) + '\t' +
                (c.conservation >= 0 ? QByteArray::number(c.conservation) : QByteArray()) + '\t' +
                (table.aminoAcids ? Number(c.quality, 3) : QByteArray()) + '\t' + Number(c.bits, 4);
        for (char letter : letters) text += '\t' + QByteArray::number(c.letters[letter - 'A']);
        text += '\n';
    }
    return text;
}
