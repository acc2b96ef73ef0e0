#pragma once

#include <QPoint>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <memory>
#include <string>
#include <vector>

#include "AlignmentDocument.h"

class AlignmentView;
class QWidget;

namespace msaviewtest {

QString DataFile(const char* name);

/// An amino-acid alignment from rows of "name", "aligned text" and optional "SS letters" (one per residue).
struct RowSpec {
    std::string name;
    std::string aligned;
    std::string structure;  // empty: none
};
boost::shared_ptr<SDM::Alignment> MakeAlignment(const std::vector<RowSpec>& rows);
/// `count` sequences of `columns` residues each, cycling through the amino-acid letters.
boost::shared_ptr<SDM::Alignment> MakeLargeAlignment(unsigned count, unsigned columns);

/// The middle of a residue's cell in viewport pixels; the residue must be shown.
QPoint CellCentre(const AlignmentView& view, unsigned column, unsigned sequenceIndex);

/// Shows the widget on the offscreen platform and waits until it can be painted and hit.
void ShowAndWait(QWidget& widget);

}  // namespace msaviewtest
