#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "DisplayOptions.h"

class AlignmentView;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;

/// The viewer's main window: the alignment view, its menus, the status bar that tells what is under the
/// mouse, and opening files from the menu or by dropping them.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ViewerWindow(QWidget* parent = nullptr);

    AlignmentView& View() { return *view; }
    /// Opens an alignment file; on failure the message is shown and kept in LastError().
    bool OpenFile(const QString& path);
    /// Puts the picture of the selection on the clipboard.
    bool CopySelectionImage();
    /// Writes the picture of the selection as PNG.
    bool SaveSelectionImage(const QString& path);
    QString StatusText() const;
    const QString& LastError() const { return lastError; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    QMenu* CreateSchemeMenu();
    QAction* AddToggle(QMenu* menu, const QString& text, bool DisplayOptions::*option);
    void ChangeOptions(const std::function<void(DisplayOptions&)>& change);
    void SyncActions();
    void ReportError(const QString& message);
    void ShowSelectionState();

    void ChooseFile();
    void ChooseImageFile();
    void ChooseResiduesPerLine();
    void ChooseRulerOrigin();
    void ChooseFont();
    void ScaleFont(int steps);
    void ChooseGoTo();

    AlignmentView* view;          // not owned; the central widget
    QLabel* hoverLabel;           // not owned; a child of the status bar
    QLabel* selectionLabel;       // not owned; a child of the status bar
    QActionGroup* schemeActions;  // not owned; a child of the window
    QString lastError;
    // Checkable View items and the switch each shows; the actions are children of their menus.
    std::vector<std::pair<QAction*, bool DisplayOptions::*>> toggles;
};
