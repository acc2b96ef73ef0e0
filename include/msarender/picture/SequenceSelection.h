#pragma once

#include <QString>
#include <vector>

#include "msarender/Export.h"
#include "sdm/Alignment.h"

/// Sequence indexes (0-based, in the order given) from a comma-separated list of names, 1-based indexes and
/// index ranges ("3-8", unless a sequence is named so). A name matches a sequence's defline or its first
/// word, or its identifier without a "/start-end" that only one sequence has.
struct SequenceList {
    std::vector<unsigned> indexes;
    QString error;  // non-empty when an entry names no sequence
};
MSARENDER_EXPORT SequenceList ResolveSequences(const SDM::Alignment& alignment, const QString& list);

/// Columns (0-based, in the order given) from 1-based ranges such as "1-50,80,90-100".
struct ColumnList {
    std::vector<unsigned> columns;
    QString error;
};
MSARENDER_EXPORT ColumnList ParseColumns(const QString& ranges, unsigned columnCount);
/// The syntax error of a column list ("abc", "5-1", "0-5", "1-"), or an empty string.
MSARENDER_EXPORT QString CheckColumnSyntax(const QString& ranges);
