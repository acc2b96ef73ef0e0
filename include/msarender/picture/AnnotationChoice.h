#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "msarender/AnnotationRow.h"
#include "msarender/Export.h"

namespace SDM {
class Alignment;
}

/// The annotation rows that --annotations asks for, in the order asked, and one warning line naming the
/// file's annotations that are not drawn (with their lines), so that nothing the file carries is dropped
/// silently.
struct AnnotationChoice {
    std::vector<AnnotationRow> rows;
    QStringList warnings;
};

/// Names: consensus, conservation, occupancy, quality, logo, logo:frequency (several rows), ss (each
/// sequence's #=GR SS in pairing notation), any #=GC tag of the file (ss_cons, rf, seq_cons...;
/// case-insensitive) and "all" for every one of them but quality and the logos, which are drawn only when
/// named. A name that is neither computed nor in the file gives a warning. Computed rows describe the
/// sequences shown, and rows of one sequence ("ss") follow them: hidden sequences count for nothing, and when
/// `shownSequences` lists sequence indexes, only those count.
MSARENDER_EXPORT AnnotationChoice ChooseAnnotations(const SDM::Alignment& alignment, const QStringList& names,
                                                    const std::vector<unsigned>& shownSequences = {});

/// The computed rows there are, for a help text.
MSARENDER_EXPORT QStringList ComputedAnnotationNames();

/// One row an alignment can show: the name ChooseAnnotations takes and a title for a menu.
struct AnnotationOffer {
    QString name;
    QString title;
};

/// The rows there are, in the order "all" draws them: the computed rows (no conservation or quality for DNA
/// and RNA; "all" leaves out quality and the logos), each #=GC tag
/// of the file once, and "ss" when sequences carry #=GR SS pairing structures.
MSARENDER_EXPORT std::vector<AnnotationOffer> OfferedAnnotations(const SDM::Alignment& alignment);
