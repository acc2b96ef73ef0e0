#include "MsaviewTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <boost/make_shared.hpp>

#include "AlignmentView.h"
#include "msarender/FontAttributes.h"
#include "support/TestFont.h"

namespace msaviewtest {

QString DataFile(const char* name) {
    return QStringLiteral(MSARENDER_TEST_DATA "/") + QString::fromLatin1(name);
}

boost::shared_ptr<SDM::Alignment> MakeAlignment(const std::vector<RowSpec>& rows) {
    auto alignment = boost::make_shared<SDM::Alignment>();
    alignment->SetSequenceClass(SDM::AminoAcid);
    for (const RowSpec& row : rows) {
        auto sequence = boost::make_shared<SDM::AASequence>(row.name, row.aligned);
        if (!row.structure.empty())
            sequence->setSecondaryStructure("SS", boost::make_shared<SDM::SecondaryStructure>(row.structure));
        alignment->addSequence(sequence);
    }
    return alignment;
}

boost::shared_ptr<SDM::Alignment> MakeLargeAlignment(unsigned count, unsigned columns) {
    static const char kLetters[] = "ACDEFGHIKLMNPQRSTVWY";
    std::vector<RowSpec> rows;
    rows.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        std::string text(columns, 'A');
        for (unsigned c = 0; c < columns; ++c) text[c] = (c + i) % 11 == 0 ? '-' : kLetters[(c * 7 + i) % 20];
        rows.push_back({"seq" + std::to_string(i), text, ""});
    }
    return MakeAlignment(rows);
}

QPoint CellCentre(const AlignmentView& view, unsigned column, unsigned sequenceIndex) {
    const std::optional<QPoint> corner = view.ResiduePosition(column, sequenceIndex);
    EXPECT_TRUE(corner.has_value()) << "column " << column << " of sequence " << sequenceIndex
                                    << " is not shown";
    return corner.value_or(QPoint()) + QPoint(view.CellWidth() / 2, view.CellHeight() / 2);
}

void ShowAndWait(QWidget& widget) {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

void WhenIdle(std::function<void()> act) {
    QTimer::singleShot(0, std::move(act));
}

namespace {

bool ClearSettings() {
    QSettings().clear();
    return true;
}

}  // namespace

WindowTest::WindowTest()
    : cells(SQC::FontAttributes(testsupport::MonoFont())), freshSettings(ClearSettings()) {}

void WindowTest::SetUp() {
    window.View().setFont(testsupport::MonoFont());
    window.resize(900, 600);
    ShowAndWait(window);
}

QWidget* WindowTest::viewport() {
    return view().viewport();
}

void WindowTest::Open(const char* file) {
    ASSERT_TRUE(window.OpenFile(DataFile(file))) << window.LastError().toStdString();
    ASSERT_TRUE(view().IsComposed());
}

void WindowTest::SetOptions(const std::function<void(DisplayOptions&)>& change) {
    DisplayOptions options = view().Options();
    change(options);
    view().SetOptions(options);
}

void WindowTest::Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(viewport(), Qt::LeftButton, modifiers, from);
    QTest::mouseMove(viewport(), to);
    QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, to);
}

QImage WindowTest::Shot() {
    return viewport()->grab().toImage();
}

namespace {

QAction* FindAction(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (action->menu()) {
            if (QAction* found = FindAction(action->menu()->actions(), text)) return found;
        } else if (action->text().remove('&') == text) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

QAction* WindowTest::MenuAction(const QString& text) {
    QAction* found = FindAction(window.menuBar()->actions(), text);
    if (!found) ADD_FAILURE() << "no menu item " << text.toStdString();
    return found;
}

void WindowTest::AnswerFileDialog(const QString& path, bool& dialogShown, const QString& filter) {
    WhenIdle([path, filter, &dialogShown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            dialogShown = true;
            if (!filter.isEmpty()) dialog->selectNameFilter(filter);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, through the public base
        } else if (modal) {
            modal->close();
        }
    });
}

int WindowTest::LineTop(unsigned sequenceIndex) {
    for (const ShownLine& line : view().ShownLines())
        if (line.sequenceIndex == int(sequenceIndex)) return line.top;
    return -1;
}

}  // namespace msaviewtest
