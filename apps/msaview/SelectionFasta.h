#pragma once

#include <QString>

class AlignmentDocument;

/// The selected residues as FASTA text: one record per shown sequence with a selection, named by its
/// defline, holding its selected columns left to right (gaps kept, as the view shows them), 60 to a line.
QString SelectionFasta(AlignmentDocument& document);
