#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <string>
#include <vector>

#include "msarender/Export.h"

namespace SDM {
class Alignment;
}
struct PictureSettings;

/// The numbers behind the column rows of one column, as --stats writes them.
struct ColumnStatistic {
    int number = 0;  // the column as the ruler numbers it
    unsigned residues = 0;
    unsigned gaps = 0;
    double occupancy = 0;  // residues as a share of the sequences shown, 0 to 1
    char consensus = 0;    // the majority residue; '+' for a tie; 0 for none (mostly gaps)
    double consensusPercent = 0;
    int conservation = -1;  // 0 to 11 (11: identity); -1 when not scored (nucleic acids, gappy columns)
    double quality = 0;     // Jalview's alignment quality (amino acids)
    double bits = 0;        // information content, as the logo stacks it
    std::array<unsigned, 26> letters{};  // count of each letter 'A'..'Z', case folded
};

/// The statistics of the columns a picture with `settings` shows (--columns, in their order), counted over
/// the sequences it shows (displayed ones, without --hide, only --sequences when given).
struct ColumnStatisticsTable {
    std::vector<ColumnStatistic> columns;
    bool aminoAcids = true;  // whether conservation and quality were scored
    QString error;           // a list of --columns, --sequences or --hide that names nothing
};
MSARENDER_EXPORT ColumnStatisticsTable ComputeColumnStatistics(const SDM::Alignment& alignment,
                                                               const PictureSettings& settings);

/// The table as tab-separated text: a header line, then one line per column; one count column for each
/// letter that occurs in the table. Numbers are written the same under every locale.
MSARENDER_EXPORT QByteArray ColumnStatisticsText(const ColumnStatisticsTable& table);
