#include "ViewerWindow.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QStatusBar>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>

#include "AlignmentView.h"
#include "AnnotationMenu.h"
#include "FindBar.h"
#include "GoToDialog.h"
#include "OverviewStrip.h"
#include "PictureExport.h"
#include "SelectionFasta.h"
#include "SelectionPicture.h"
#include "msarender/picture/SchemeFile.h"
#include "msarender/tree/Newick.h"
#include "sdm/schemes/ColorSchemes.h"

namespace {

QString LocalFileOf(const QMimeData* data) {
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return QString();
}

// Why a colour scheme file cannot colour the view ("file:line: ..."), or empty when it can or none is named.
QString SchemeFileError(const QString& path) {
    return path.isEmpty() ? QString() : ReadSchemeFile(path).error;
}

// Milliseconds of drawing before the progress dialog shows.
constexpr int kProgressDelay = 250;

const char* const kPictureFilters = "PNG (*.png);;SVG (*.svg);;PDF (*.pdf)";

// A filter ("SVG (*.svg)") names its format first.
OutputFormat FormatOfFilter(const QString& filter) {
    return PictureFormatOf("x." + filter.section(' ', 0, 0));
}

}  // namespace

ViewerWindow::ViewerWindow(QWidget* parent)
    : QMainWindow(parent),
      view(new AlignmentView(this)),
      findBar(new FindBar(*view, this)),
      overview(new OverviewStrip(*view, this)),
      hoverLabel(new QLabel(this)),
      selectionLabel(new QLabel(this)),
      schemeActions(new QActionGroup(this)),
      annotationMenu(new AnnotationMenu(this)),
      settings(ViewerSettings::Load()) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(findBar);
    layout->addWidget(view, 1);
    layout->addWidget(overview);
    setCentralWidget(central);
    setAcceptDrops(true);
    statusBar()->addWidget(hoverLabel, 1);
    statusBar()->addPermanentWidget(selectionLabel);
    connect(view, &AlignmentView::hoverTextChanged, hoverLabel, &QLabel::setText);
    connect(view, &AlignmentView::selectionChanged, this, &ViewerWindow::ShowSelectionState);
    if (!settings.font.family().isEmpty()) view->setFont(AlignmentView::ResidueFont(settings.font));
    view->SetOptions(settings.options);
    overview->setVisible(settings.showOverview);
    CreateFileMenu();
    CreateEditMenu();
    CreateViewMenu();
    annotationMenu->Fill(nullptr, settings.options.annotationRows);
    SyncActions();
    EnableDocumentActions();
    setWindowTitle(tr("msaview"));
    resize(1000, 700);
    if (!settings.geometry.isEmpty()) restoreGeometry(settings.geometry);
}

ViewerWindow::~ViewerWindow() = default;

// ---- Menus ----------------------------------------------------------------------------------------------

void ViewerWindow::CreateFileMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&File"));
    menu->addAction(tr("&Open..."), QKeySequence::Open, this, &ViewerWindow::ChooseFile);
    recentMenu = menu->addMenu(tr("Open &recent"));
    FillRecentMenu();
    documentActions.push_back(menu->addAction(tr("&Save selection as..."), QKeySequence::Save, this,
                                              &ViewerWindow::ChooseImageFile));
    documentActions.push_back(menu->addAction(tr("&Export alignment as..."), QKeySequence(tr("Ctrl+E")), this,
                                              &ViewerWindow::ChooseExportFile));
    documentActions.push_back(menu->addAction(tr("Load &tree..."), this, &ViewerWindow::ChooseTreeFile));
    menu->addSeparator();
    menu->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void ViewerWindow::FillRecentMenu() {
    recentMenu->clear();
    for (const QString& path : settings.recentFiles)
        recentMenu->addAction(QFileInfo(path).fileName(), this, [this, path] { OpenFile(path); })
            ->setToolTip(path);
    recentMenu->setEnabled(!settings.recentFiles.isEmpty());
}

void ViewerWindow::CreateEditMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&Edit"));
    const auto add = [this, menu](auto&&... arguments) {
        QAction* action = menu->addAction(std::forward<decltype(arguments)>(arguments)...);
        documentActions.push_back(action);
        return action;
    };
    add(tr("&Copy selection as image"), QKeySequence::Copy, this, [this] { CopySelectionImage(); });
    add(tr("Copy selection as &FASTA"), QKeySequence(tr("Ctrl+Shift+C")), this,
        [this] { CopySelectionFasta(); });
    menu->addSeparator();
    add(tr("Select &all"), QKeySequence::SelectAll, view, &AlignmentView::SelectAll);
    // Esc closes the Find bar first, keeping its matches selected; then it clears the selection.
    add(tr("Select &none"), QKeySequence(Qt::Key_Escape), this, [this] {
        if (findBar->isVisible()) {
            findBar->hide();
            view->setFocus(Qt::ShortcutFocusReason);
            return;
        }
        view->ClearSelection();
        view->SetCurrentSequence(-1);
        view->MarkResidue(-1, -1);
    });
    menu->addSeparator();
    add(tr("&Find..."), QKeySequence::Find, findBar, &FindBar::Open);
    add(tr("Find &next"), QKeySequence::FindNext, findBar, [this] { findBar->Next(); });
    add(tr("Find &previous"), QKeySequence::FindPrevious, findBar, [this] { findBar->Previous(); });
    add(tr("&Go to..."), QKeySequence(tr("Ctrl+G")), this, &ViewerWindow::ChooseGoTo);
    menu->addSeparator();
    add(tr("&Hide selected sequences"), QKeySequence(tr("Ctrl+H")), this, [this] {
        if (!view->HideChosenSequences())
            statusBar()->showMessage(tr("Select residues or click a name first; one row must stay."), 4000);
    });
    add(tr("&Show all sequences"), QKeySequence(tr("Ctrl+Shift+H")), view, &AlignmentView::ShowAllSequences);
    menu->addSeparator();
    add(tr("High&light selection..."), QKeySequence(tr("Ctrl+L")), this, &ViewerWindow::ChooseHighlight);
    add(tr("Clear highli&ghts"), QKeySequence(), this,
        [this] { ChangeOptions([](DisplayOptions& options) { options.highlights.clear(); }); });
}

// Items that act on an alignment are greyed out until one is open.
void ViewerWindow::EnableDocumentActions() {
    for (QAction* action : documentActions) action->setEnabled(view->Document() != nullptr);
}

void ViewerWindow::CreateViewMenu() {
    QMenu* menu = menuBar()->addMenu(tr("&View"));
    AddToggle(menu, tr("&Wrap"), &DisplayOptions::wrap);
    menu->addAction(tr("&Residues per line..."), this, &ViewerWindow::ChooseResiduesPerLine);
    menu->addSeparator();
    menu->addAction(tr("&Font..."), this, &ViewerWindow::ChooseFont);
    menu->addAction(tr("Zoom &in"), QKeySequence::ZoomIn, this, [this] { view->Zoom(1); });
    menu->addAction(tr("Zoom &out"), QKeySequence::ZoomOut, this, [this] { view->Zoom(-1); });
    menu->addMenu(CreateSchemeMenu());
    menu->addAction(tr("Colour above identity &threshold..."), this, &ViewerWindow::ChooseIdentityThreshold);
    AddToggle(menu, tr("Colour by conser&vation"), &DisplayOptions::byConservation);
    menu->addSeparator();
    AddToggle(menu, tr("R&uler"), &DisplayOptions::showRuler);
    AddToggle(menu, tr("Ruler &numbers"), &DisplayOptions::showRulerNumbers);
    menu->addAction(tr("Ruler &origin..."), this, &ViewerWindow::ChooseRulerOrigin);
    AddToggle(menu, tr("Secondary s&tructure"), &DisplayOptions::showSecondaryStructure);
    AddToggle(menu, tr("Consensus se&quence"), &DisplayOptions::showConsensus);
    menu->addMenu(annotationMenu);
    connect(annotationMenu, &AnnotationMenu::choiceChanged, this, [this](const QStringList& names) {
        ChangeOptions([&names](DisplayOptions& options) { options.annotationRows = names; });
    });
    AddToggle(menu, tr("Full &names (with descriptions)"), &DisplayOptions::fullNames);
    QMenu* sortMenu = menu->addMenu(tr("S&ort rows"));
    documentActions.push_back(sortMenu->menuAction());
    sortMenu->addAction(tr("By &name"), view, [this] { view->SortRows(AlignmentView::RowSort::ByName); });
    sortMenu->addAction(tr("By &identity to the current row"), view,
                        [this] { view->SortRows(AlignmentView::RowSort::ByIdentity); });
    sortMenu->addAction(tr("As in the &file"), view,
                        [this] { view->SortRows(AlignmentView::RowSort::AsInTheFile); });
    sortMenu->addAction(tr("By &tree (loaded, else neighbour joining)"), view,
                        [this] { view->SortRows(AlignmentView::RowSort::ByTree); });
    CreateReferenceMenu(menu);
    QMenu* marksMenu = menu->addMenu(tr("Figure &marks (in pictures)"));
    AddToggle(marksMenu, tr("&Residue numbers beside each line"), &DisplayOptions::residueNumbers);
    AddToggle(marksMenu, tr("&Identity column (to the reference, else the consensus)"),
              &DisplayOptions::identity);
    menu->addSeparator();
    overviewAction = menu->addAction(tr("O&verview"));
    overviewAction->setCheckable(true);
    overviewAction->setChecked(settings.showOverview);
    connect(overviewAction, &QAction::toggled, overview, &QWidget::setVisible);
}

void ViewerWindow::CreateReferenceMenu(QMenu* viewMenu) {
    QMenu* menu = viewMenu->addMenu(tr("Refere&nce"));
    documentActions.push_back(menu->menuAction());
    menu->addAction(tr("Compare with the &current row"), QKeySequence(tr("Ctrl+R")), this,
                    [this] { SetReference(view->CurrentOrTopSequence()); });
    menu->addAction(tr("&No reference"), this, [this] { SetReference(-1); });
    menu->addSeparator();
    AddToggle(menu, tr("Identical residues &blank (else dots)"), &DisplayOptions::blankIdentical);
    AddToggle(menu, tr("&Ruler numbers its residues"), &DisplayOptions::rulerByReference);
}

void ViewerWindow::SetReference(int sequenceIndex) {
    view->SetReference(sequenceIndex);
    const int reference = view->Reference();
    if (reference < 0) {
        statusBar()->showMessage(tr("No reference: every residue in its colours."), 4000);
        return;
    }
    const QString name =
        QString::fromStdString(view->Document()->Model().getSequence(unsigned(reference))->getDefline());
    statusBar()->showMessage(tr("Residues identical to %1 are shown as %2.")
                                 .arg(name, view->Options().blankIdentical ? tr("blanks") : tr("dots")),
                             6000);
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
            ChangeOptions([name](DisplayOptions& options) {
                options.colorScheme = name;
                options.schemeFile.clear();
            });
        });
    }
    menu->addSeparator();
    schemeFileAction = menu->addAction(tr("From &file..."), this, &ViewerWindow::ChooseSchemeFile);
    schemeFileAction->setCheckable(true);
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
    const DisplayOptions& options = view->Options();
    for (QAction* action : schemeActions->actions())
        action->setChecked(options.schemeFile.isEmpty() && action->data().toString() == options.colorScheme);
    schemeFileAction->setChecked(!options.schemeFile.isEmpty());
    schemeFileAction->setText(options.schemeFile.isEmpty()
                                  ? tr("From &file...")
                                  : tr("From &file (%1)...").arg(QFileInfo(options.schemeFile).fileName()));
    annotationMenu->Check(view->Options().annotationRows);
}

// ---- Files, clipboard -----------------------------------------------------------------------------------

bool ViewerWindow::OpenFile(const QString& path) {
    QString error;
    std::unique_ptr<AlignmentDocument> document = AlignmentDocument::Load(path, error);
    if (!document) {
        std::fprintf(stderr, "msaview: %s\n", error.toLocal8Bit().constData());
        ReportError(error);
        return false;
    }
    RememberScheme();
    const QString alphabet = ViewerSettings::AlphabetKey(document->Model().GetSequenceClass());
    // A scheme chosen for proteins would make little sense of DNA: each alphabet keeps its own.
    DisplayOptions options = view->Options();
    options.colorScheme = settings.schemeByAlphabet.value(alphabet);
    options.schemeFile = settings.schemeFileByAlphabet.value(alphabet);
    options.reference.clear();   // a place among the last file's sequences
    options.highlights.clear();  // of the last file's sequences
    if (const QString unreadable = SchemeFileError(options.schemeFile); !unreadable.isEmpty()) {
        options.schemeFile.clear();
        settings.schemeFileByAlphabet.remove(alphabet);
        statusBar()->showMessage(tr("The remembered colour scheme cannot be used: %1").arg(unreadable), 8000);
    }
    view->SetDocument(std::move(document), options);
    SyncActions();
    // Keys go to the alignment whichever way the file came: menu, recent list, drop or command line.
    view->setFocus(Qt::OtherFocusReason);
    EnableDocumentActions();
    selectionLabel->clear();
    annotationMenu->Fill(&view->Document()->Model(), view->Options().annotationRows);
    lastError.clear();
    setWindowTitle(tr("%1 - msaview").arg(QFileInfo(path).fileName()));
    settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    FillRecentMenu();
    settings.SaveRecentFiles();
    if (!view->IsComposed()) statusBar()->showMessage(tr("The window is too small for one residue."), 4000);
    return true;
}

bool ViewerWindow::LoadTree(const QString& path) {
    if (!view->Document()) return false;
    NewickResult read = ReadNewickFile(path);
    if (!read.ok()) {
        std::fprintf(stderr, "msaview: %s\n", read.error.toLocal8Bit().constData());
        ReportError(read.error);
        return false;
    }
    const QString warning = view->SetTree(std::move(read.tree));
    if (!warning.isEmpty()) std::fprintf(stderr, "msaview: %s\n", warning.toLocal8Bit().constData());
    statusBar()->showMessage(
        warning.isEmpty() ? tr("Rows in the order of %1.").arg(QFileInfo(path).fileName()) : warning, 6000);
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

bool ViewerWindow::CopySelectionFasta() {
    const QString text = view->Document() ? SelectionFasta(*view->Document()) : QString();
    if (text.isEmpty()) {
        ReportError(tr("Nothing to copy: select residues first."));
        return false;
    }
    QApplication::clipboard()->setText(text);
    statusBar()->showMessage(tr("Copied %n sequence(s) as FASTA.", nullptr, int(text.count('>'))), 4000);
    return true;
}

bool ViewerWindow::SaveSelectionImage(const QString& path) {
    AlignmentDocument* document = view->Document();
    const SelectionPicture picture =
        view->PictureOf(document ? PictureRange::OfSelection(*document) : PictureRange());
    if (!picture.IsValid()) {
        ReportError(tr("Nothing to save: select residues first."));
        return false;
    }
    return WritePicture(picture, path);
}

bool ViewerWindow::ExportAlignmentImage(const QString& path) {
    AlignmentDocument* document = view->Document();
    const SelectionPicture picture =
        view->PictureOf(document ? PictureRange::OfAlignment(*document) : PictureRange());
    if (!picture.IsValid()) {
        ReportError(tr("Nothing to export: open an alignment first."));
        return false;
    }
    return WritePicture(picture, path);
}

// PNG, SVG or PDF by the path's suffix, with a progress dialog that can stop it.
bool ViewerWindow::WritePicture(const SelectionPicture& picture, const QString& path) {
    QProgressDialog progress(tr("Drawing the alignment..."), tr("Cancel"), 0, 100, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelay);
    // The file dialog that just closed stays on screen until the window repaints: let it go first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    bool cancelled = false;
    const SelectionPicture::Progress tell = [&](std::int64_t done, std::int64_t total) {
        progress.setValue(int(100 * done / std::max<std::int64_t>(total, 1)));
        cancelled = progress.wasCanceled();
        return !cancelled;
    };
    const OutputFormat format = PictureFormatOf(path);
    const QString error = ::WritePicture(picture, path, format, tell, cancelled);
    progress.reset();
    if (cancelled) return false;
    if (!error.isEmpty()) {
        ReportError(error);
        return false;
    }
    const QString note = format == OutputFormat::Pdf ? PdfPageNote(picture.Size()) : QString();
    statusBar()->showMessage(note.isEmpty() ? tr("Wrote %1.").arg(path) : tr("Wrote %1. %2").arg(path, note),
                             note.isEmpty() ? 4000 : 0);
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

// Counts the shown sequences with a selection: hidden ones are not part of it.
void ViewerWindow::ShowSelectionState() {
    AlignmentDocument* document = view->Document();
    if (!document) return;
    int sequences = 0;
    for (unsigned sequence : document->Model().getSelection().sequences())
        if (document->Rows().RowOfSequence(int(sequence)) != RowMap::kNone) ++sequences;
    selectionLabel->setText(sequences > 0 ? tr("%n sequence(s) selected", nullptr, sequences) : QString());
}

// Keeps the open alignment's scheme for the next alignment of its alphabet.
void ViewerWindow::RememberScheme() {
    const AlignmentDocument* document = view->Document();
    if (!document) return;
    const QString alphabet = ViewerSettings::AlphabetKey(document->Model().GetSequenceClass());
    settings.schemeByAlphabet.insert(alphabet, view->Options().colorScheme);
    if (view->Options().schemeFile.isEmpty())
        settings.schemeFileByAlphabet.remove(alphabet);
    else
        settings.schemeFileByAlphabet.insert(alphabet, view->Options().schemeFile);
}

bool ViewerWindow::LoadSchemeFile(const QString& path) {
    if (const QString error = SchemeFileError(path); !error.isEmpty()) {
        std::fprintf(stderr, "msaview: %s\n", error.toLocal8Bit().constData());
        ReportError(error);
        SyncActions();  // the item stays checked only while a file colours the view
        return false;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    ChangeOptions([&absolute](DisplayOptions& options) { options.schemeFile = absolute; });
    RememberScheme();
    statusBar()->showMessage(tr("Colours from %1.").arg(QFileInfo(path).fileName()), 4000);
    return true;
}

bool ViewerWindow::AddHighlight(const QString& label) {
    const QString highlight = view->SelectionHighlight(label);
    if (highlight.isEmpty()) {
        ReportError(tr("Nothing to highlight: select residues first."));
        return false;
    }
    ChangeOptions([&highlight](DisplayOptions& options) { options.highlights.append(highlight); });
    statusBar()->showMessage(tr("Highlighted %1; pictures frame it and put its label above.").arg(highlight),
                             6000);
    return true;
}

void ViewerWindow::ChooseHighlight() {
    bool ok = false;
    const QString label =
        QInputDialog::getText(this, tr("Highlight selection"), tr("Label above the frame (may be empty):"),
                              QLineEdit::Normal, QString(), &ok);
    if (ok) AddHighlight(label.simplified());
}

void ViewerWindow::ChooseSchemeFile() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Colour scheme file"), QString(),
                                                      tr("Colour schemes (*.txt *.scheme);;All files (*)"));
    if (path.isEmpty()) {
        SyncActions();
        return;
    }
    LoadSchemeFile(path);
}

void ViewerWindow::SaveSettings() {
    RememberScheme();
    settings.geometry = saveGeometry();
    settings.font = view->font();
    settings.options = view->Options();
    settings.showOverview = overviewAction ? overviewAction->isChecked() : true;
    settings.Save();
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QMainWindow::closeEvent(event);
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

void ViewerWindow::ChooseTreeFile() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Load tree"), QString(),
                                     tr("Newick trees (*.nwk *.newick *.tree *.tre *.dnd);;All files (*)"));
    if (!path.isEmpty()) LoadTree(path);
}

// Asks for a file only when there is something to save.
void ViewerWindow::ChooseImageFile() {
    if (!view->Document() || view->Document()->Model().getSelection().empty()) {
        ReportError(tr("Nothing to save: select residues first."));
        return;
    }
    const QString path = AskPicturePath(tr("Save selection"));
    if (!path.isEmpty()) SaveSelectionImage(path);
}

void ViewerWindow::ChooseExportFile() {
    if (!view->Document()) {
        ReportError(tr("Nothing to export: open an alignment first."));
        return;
    }
    const QString path = AskPicturePath(tr("Export alignment"));
    if (!path.isEmpty()) ExportAlignmentImage(path);
}

// The suffix typed decides the format; without one, the chosen filter does.
QString ViewerWindow::AskPicturePath(const QString& title) {
    QString filter;
    const QString path = QFileDialog::getSaveFileName(this, title, QString(), tr(kPictureFilters), &filter);
    return path.isEmpty() ? path : WithPictureSuffix(path, FormatOfFilter(filter));
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

// 0 % colours every residue that is its column's most frequent; "off" (below 0) colours every residue.
void ViewerWindow::ChooseIdentityThreshold() {
    bool ok = false;
    const int percent = QInputDialog::getInt(
        this, tr("Identity threshold"),
        tr("Colour residues that agree with their column's consensus in at least this % of the sequences "
           "(-1: colour every residue):"),
        view->Options().identityThreshold, -1, 100, 5, &ok);
    if (ok) ChangeOptions([percent](DisplayOptions& options) { options.identityThreshold = percent; });
}

void ViewerWindow::ChooseRulerOrigin() {
    bool ok = false;
    const int origin = QInputDialog::getInt(this, tr("Ruler origin"), tr("Column numbered 1:"),
                                            view->Options().rulerOrigin, 1, 10000000, 1, &ok);
    if (ok) ChangeOptions([origin](DisplayOptions& options) { options.rulerOrigin = origin; });
}

// The dialog lists monospaced fonts only; given any other it would start on some face of the first one,
// often an oblique, so it starts on the system's fixed font. Only the family and size are kept: the
// renderer makes the bold and italic faces itself.
void ViewerWindow::ChooseFont() {
    const QFont current = view->font();
    QFont start =
        QFontInfo(current).fixedPitch() ? current : QFontDatabase::systemFont(QFontDatabase::FixedFont);
    start.setPointSize(current.pointSize());
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, AlignmentView::ResidueFont(start), this, tr("Residue font"),
                                            QFontDialog::MonospacedFonts);
    if (ok) view->setFont(AlignmentView::ResidueFont(font));
}

void ViewerWindow::ChooseGoTo() {
    AlignmentDocument* document = view->Document();
    if (!document) return;
    GoToDialog dialog(*document, view->Options(), this);
    if (dialog.exec() == QDialog::Accepted) GoToNamed(dialog.TypedName(), dialog.ColumnNumber());
}

bool ViewerWindow::GoToNamed(const QString& name, int columnNumber) {
    AlignmentDocument* document = view->Document();
    if (!document) return false;
    const int sequence = document->FindSequenceByName(name);
    if (sequence < 0) {
        ReportError(tr("No shown sequence is named \"%1\".").arg(name));
        return false;
    }
    const int column = view->Options().ColumnOfNumber(columnNumber);
    if (column < 0 || !view->CentreOn(unsigned(sequence), unsigned(column))) {
        ReportError(tr("Column %1 of %2 is not shown.").arg(columnNumber).arg(name));
        return false;
    }
    view->SetCurrentSequence(sequence);
    view->MarkResidue(sequence, column);
    return true;
}
