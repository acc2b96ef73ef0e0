#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

#include "DisplayOptions.h"
#include "SelectionPicture.h"
#include "ViewerSettings.h"

class AlignmentView;
class AnnotationMenu;
class FindBar;
class OverviewStrip;
class QAction;
class QActionGroup;
class QLabel;
class QMenu;

/// The viewer's main window: the alignment view with the Find bar above and the overview strip below,
/// its menus, the status bar that tells what is under the mouse, opening files from the menu, the
/// recent-files list or by dropping them, and the settings it keeps between runs.
class ViewerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ViewerWindow(QWidget* parent = nullptr);
    ~ViewerWindow() override;

    AlignmentView& View() { return *view; }
    FindBar& Find() { return *findBar; }
    OverviewStrip& Overview() { return *overview; }
    /// Opens an alignment file; on failure the message is shown and kept in LastError().
    bool OpenFile(const QString& path);
    /// Reads a Newick tree and shows the rows in its order with the tree beside them; a tree that cannot be
    /// read is reported as a bad file is, and leaves the rows as they were.
    bool LoadTree(const QString& path);
    /// Colours the view by a scheme file (remembered for the alignment's alphabet); a file that cannot be
    /// read is reported as "file:line: ..." and leaves the colours as they were.
    bool LoadSchemeFile(const QString& path);
    /// Frames the selection in the view and in pictures, with `label` above it in pictures: one sequence's
    /// residues, or the columns of several.
    bool AddHighlight(const QString& label);
    /// Puts the picture of the selection on the clipboard.
    bool CopySelectionImage();
    /// Puts the selected residues on the clipboard as FASTA text.
    bool CopySelectionFasta();
    /// Writes the picture of the selection as PNG, SVG or PDF, by the path's suffix.
    bool SaveSelectionImage(const QString& path);
    /// Writes the picture of every shown row as PNG, SVG or PDF, by the path's suffix, with a progress
    /// dialog that can stop it.
    bool ExportAlignmentImage(const QString& path);
    /// Goes to a residue named as the Go to dialog takes it; false (and a message) when there is none.
    bool GoToNamed(const QString& name, int columnNumber);
    QString StatusText() const;
    const QString& LastError() const { return lastError; }
    const ViewerSettings& Settings() const { return settings; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    QMenu* CreateSchemeMenu();
    void CreateReferenceMenu(QMenu* viewMenu);
    void SetReference(int sequenceIndex);
    void ChooseSchemeFile();
    void ChooseHighlight();
    QAction* AddToggle(QMenu* menu, const QString& text, bool DisplayOptions::*option);
    void ChangeOptions(const std::function<void(DisplayOptions&)>& change);
    void SyncActions();
    void ReportError(const QString& message);
    void ChooseTreeFile();
    void EnableDocumentActions();
    void ShowSelectionState();
    void FillRecentMenu();
    void SaveSettings();
    void RememberScheme();

    bool WritePicture(const SelectionPicture& picture, const QString& path);
    QString AskPicturePath(const QString& title);

    void ChooseFile();
    void ChooseImageFile();
    void ChooseExportFile();
    void ChooseResiduesPerLine();
    void ChooseRulerOrigin();
    void ChooseIdentityThreshold();
    void ChooseFont();
    void ChooseGoTo();

    AlignmentView* view;  // not owned; children of the window
    FindBar* findBar;
    OverviewStrip* overview;
    QLabel* hoverLabel;  // not owned; children of the status bar
    QLabel* selectionLabel;
    QActionGroup* schemeActions;          // not owned; a child of the window
    QAction* schemeFileAction = nullptr;  // not owned; a child of the scheme menu
    AnnotationMenu* annotationMenu;
    QMenu* recentMenu = nullptr;  // not owned; a child of the File menu
    QAction* overviewAction = nullptr;
    std::vector<QAction*> documentActions;  // items that act on an open alignment; children of their menus
    QString lastError;
    ViewerSettings settings;
    // Checkable View items and the switch each shows; the actions are children of their menus.
    std::vector<std::pair<QAction*, bool DisplayOptions::*>> toggles;
};
