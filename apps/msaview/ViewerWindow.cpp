#include "ViewerWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <functional>

#include "AlignmentView.h"
#include "GoToDialog.h"
#include "sdm/schemes/ColorSchemes.h"

namespace {

QString LocalFileOf(const QMimeData* data) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return QString();
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* parent)
    : QMainWindow(parent),
      view(new AlignmentView(this)),
      hoverLabel(new QLabel(this)),
      selectionLabel(new QLabel(this)),
      schemeActions(new QActionGroup(this)) {
    setCentralWidget(view);
    setAcceptDrops(true);
    statusBar()->addWidget(hoverLabel, 1);
    statusBar()->addPermanentWidget(selectionLabel);
    connect(view, &AlignmentView::hoverTextChanged, hoverLabel, &QLabel::setText);
    connect(view, &AlignmentView::selectionChanged, this, &ViewerWindow::ShowSelectionState);
    CreateFileMenu();
    CreateEditMenu();
    CreateViewMenu();
    SyncActions();
    setWindowTitle(tr("msaview"));
    resize(1000, 700);
}

// ---- Menus ----------------------------------------------------------------------------------------------

void ViewerWindow::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    menu->addAction(tr("&Open..."), QKeySequence::Open, this, &ViewerWindow::ChooseFile);
    menu->addAction(tr("&Save selection as PNG..."), QKeySequence::Save, this,
                    &ViewerWindow::ChooseImageFile);
    menu->addSeparator();
    menu->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void ViewerWindow::CreateEditMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Edit"));
    menu->addAction(tr("&Copy selection as image"), QKeySequence::Copy, this,
                    [this] { CopySelectionImage(); });
    menu->addAction(tr("Select &none"), QKeySequence(Qt::Key_Escape), this, [this] {
        view->ClearSelection();
        view->SetCurrentSequence(-1);
    });
    menu->addAction(tr("&Go to..."), QKeySequence(tr("Ctrl+G")), this, &ViewerWindow::ChooseGoTo);
    menu->addSeparator();
    menu->addAction(tr("&Hide selected sequences"), QKeySequence(tr("Ctrl+H")), this, [this] {
        if (!view->HideChosenSequences())
            statusBar()->showMessage(tr("Select residues or click a name first; one row must stay."), 4000);
    });
    menu->addAction(tr("&Show all sequences"), QKeySequence(tr("Ctrl+Shift+H")), view,
                    &AlignmentView::ShowAllSequences);
}

void ViewerWindow::CreateViewMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&View"));
    AddToggle(menu, tr("&Wrap"), &DisplayOptions::wrap);
    menu->addAction(tr("&Residues per line..."), this, &ViewerWindow::ChooseResiduesPerLine);
    menu->addSeparator();
    menu->addAction(tr("&Font..."), this, &ViewerWindow::ChooseFont);
    menu->addAction(tr("&Larger font"), QKeySequence::ZoomIn, this, [this] { ScaleFont(1); });
    menu->addAction(tr("S&maller font"), QKeySequence::ZoomOut, this, [this] { ScaleFont(-1); });
    menu->addMenu(CreateSchemeMenu());
    menu->addSeparator();
    AddToggle(menu, tr("R&uler"), &DisplayOptions::showRuler);
    AddToggle(menu, tr("Ruler &numbers"), &DisplayOptions::showRulerNumbers);
    menu->addAction(tr("Ruler &origin..."), this, &ViewerWindow::ChooseRulerOrigin);
    AddToggle(menu, tr("Secondary s&tructure"), &DisplayOptions::showSecondaryStructure);
    AddToggle(menu, tr("&Consensus"), &DisplayOptions::showConsensus);
}

QMenu* ViewerWindow::CreateSchemeMenu() {
    auto* menu = new QMenu(tr("Colour &scheme"), this);
    QStringList names{QString()};
    for (const std::string& name : SDM::ColorSchemeNames()) names << QString::fromStdString(name);
    for (const QString& name : names) {
        QAction* action = menu->addAction(name.isEmpty() ? tr("Default") : name);
        action->setCheckable(true);
        action->setData(name);
        schemeActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, name] {
            ChangeOptions([name](DisplayOptions& options) { options.colorScheme = name; });
        });
    }
    return menu;
}

QAction* ViewerWindow::AddToggle(QMenu* menu, const QString& text, bool DisplayOptions::*option) {
    QAction* action = menu->addAction(text);
    action->setCheckable(true);
    toggles.emplace_back(action, option);
    connect(action, &QAction::toggled, this, [this, option](bool on) {
        ChangeOptions([option, on](DisplayOptions& options) { options.*option = on; });
    });
    return action;
}

void ViewerWindow::ChangeOptions(const std::function<void(DisplayOptions&)>& change) {
    DisplayOptions options = view->Options();
    change(options);
    view->SetOptions(options);
    SyncActions();
}

// Checks the menu items that show the current options.
void ViewerWindow::SyncActions() {
    for (const auto& [action, option] : toggles) {
        const QSignalBlocker quiet(action);
        action->setChecked(view->Options().*option);
    }
    for (QAction* action : schemeActions->actions())
        action->setChecked(action->data().toString() == view->Options().colorScheme);
}

// ---- Files, clipboard -----------------------------------------------------------------------------------

bool ViewerWindow::OpenFile(const QString& path) {
    QString error;
    std::unique_ptr<AlignmentDocument> document = AlignmentDocument::Load(path, error);
    if (!document) {
        ReportError(error);
        return false;
    }
    view->SetDocument(std::move(document));
    selectionLabel->clear();
    lastError.clear();
    setWindowTitle(tr("%1 - msaview").arg(QFileInfo(path).fileName()));
    if (!view->IsComposed()) statusBar()->showMessage(tr("The window is too small for one residue."), 4000);
    return true;
}

bool ViewerWindow::CopySelectionImage() {
    const std::unique_ptr<QPixmap> image = view->SelectionImage();
    if (!image) {
        ReportError(tr("Nothing to copy: select residues first."));
        return false;
    }
    QApplication::clipboard()->setPixmap(*image);
    statusBar()->showMessage(tr("Copied a %1 x %2 picture.").arg(image->width()).arg(image->height()), 4000);
    return true;
}

bool ViewerWindow::SaveSelectionImage(const QString& path) {
    const std::unique_ptr<QPixmap> image = view->SelectionImage();
    if (!image) {
        ReportError(tr("Nothing to save: select residues first."));
        return false;
    }
    if (!image->save(path, "PNG")) {
        ReportError(tr("Could not write %1.").arg(path));
        return false;
    }
    return true;
}

QString ViewerWindow::StatusText() const {
    return hoverLabel->text();
}

// Shown without blocking: the message box is window-modal and deletes itself.
void ViewerWindow::ReportError(const QString& message) {
    lastError = message;
    statusBar()->showMessage(message, 6000);
    if (!isVisible()) return;
    auto* box = new QMessageBox(QMessageBox::Warning, tr("msaview"), message, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ViewerWindow::ShowSelectionState() {
    AlignmentDocument* document = view->Document();
    if (!document) return;
    const std::size_t sequences = document->Model().getSelection().sequences().size();
    selectionLabel->setText(sequences > 0 ? tr("%n sequence(s) selected", nullptr, int(sequences))
                                          : QString());
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFileOf(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event) {
    const QString path = LocalFileOf(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenFile(path);
}

// ---- Dialogs --------------------------------------------------------------------------------------------

void ViewerWindow::ChooseFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open alignment"), QString(),
        tr("Alignments (*.sto *.stk *.fa *.fasta *.afa *.a2m *.a3m *.aln *.phy *.pir *.gz);;All files (*)"));
    if (!path.isEmpty()) OpenFile(path);
}

void ViewerWindow::ChooseImageFile() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save selection"), QString(), tr("PNG (*.png)"));
    if (!path.isEmpty())
        SaveSelectionImage(path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? path : path + ".png");
}

void ViewerWindow::ChooseResiduesPerLine() {
    const int current = std::max(view->Options().residuesPerLine, 0);
    bool ok = false;
    const int count =
        QInputDialog::getInt(this, tr("Residues per line"), tr("Residues per line (0: fit to width):"),
                             current, 0, 100000, 10, &ok);
    if (ok)
        ChangeOptions([count](DisplayOptions& options) {
            options.residuesPerLine = count > 0 ? count : DisplayOptions::kFitToWidth;
            options.wrap = true;
        });
}

void ViewerWindow::ChooseRulerOrigin() {
    bool ok = false;
    const int origin = QInputDialog::getInt(this, tr("Ruler origin"), tr("Column numbered 1:"),
                                            view->Options().rulerOrigin, 1, 10000000, 1, &ok);
    if (ok) ChangeOptions([origin](DisplayOptions& options) { options.rulerOrigin = origin; });
}

void ViewerWindow::ChooseFont() {
    bool ok = false;
    const QFont font =
        QFontDialog::getFont(&ok, view->font(), this, tr("Residue font"), QFontDialog::MonospacedFonts);
    if (ok) view->setFont(font);
}

void ViewerWindow::ScaleFont(int steps) {
    QFont font = view->font();
    font.setPointSize(std::clamp(font.pointSize() + steps, 4, 72));
    view->setFont(font);
}

void ViewerWindow::ChooseGoTo() {
    AlignmentDocument* document = view->Document();
    if (!document) return;
    GoToDialog dialog(*document, this);
    if (dialog.exec() == QDialog::Accepted && !view->GoTo(unsigned(dialog.SequenceIndex()), dialog.Column()))
        ReportError(tr("That residue is not shown."));
}
