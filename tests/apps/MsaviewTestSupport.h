#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <boost/shared_ptr.hpp>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AlignmentDocument.h"
#include "AlignmentView.h"
#include "ViewerWindow.h"
#include "msarender/CellGeometry.h"

class QAction;
class QMenu;
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

/// Runs `act` once the event loop turns: for a step that opens a modal dialog, so that the test can
/// answer it.
void WhenIdle(std::function<void()> act);

/// A shown 900 x 600 window in the tests' font, with helpers to drive its view.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    AlignmentView& view() { return window.View(); }
    QWidget* viewport();
    SDM::Alignment& model() { return view().Document()->Model(); }
    void Open(const char* file);
    void SetOptions(const std::function<void(DisplayOptions&)>& change);
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    QImage Shot();
    /// The menu item of that text (without '&'), in any menu or submenu of the window.
    QAction* MenuAction(const QString& text);
    /// Answers the next file dialog with `path` under the name filter `filter` (unless empty), or closes
    /// the modal box that came instead; `dialogShown` tells which.
    void AnswerFileDialog(const QString& path, bool& dialogShown, const QString& filter = QString());
    /// The top of the first shown residue line of a sequence, or -1.
    int LineTop(unsigned sequenceIndex);

    const CellGeometry cells;
    const bool freshSettings;  // before the window, which reads them
    ViewerWindow window;

public:
    WindowTest();
};

}  // namespace msaviewtest
