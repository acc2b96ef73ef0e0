// msaview: browse a multiple sequence alignment.

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "ViewerWindow.h"

namespace {

// Reads the command line with a plain core application, before any display is needed, so that --help
// and --version work without one.
QStringList ReadCommandLine(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("msaview"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Interactive viewer of multiple sequence alignments."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("Alignment to open (FASTA, Clustal, Stockholm, PHYLIP, PIR)."));
    parser.process(application);
    return parser.positionalArguments();
}

// Qt aborts when it cannot reach a display; say so plainly instead.
bool DisplayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
    const QStringList files = ReadCommandLine(argc, argv);
    if (!DisplayAvailable()) {
        std::fprintf(stderr, "msaview: no display to show the window on (set DISPLAY, or QT_QPA_PLATFORM)\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("msarender"));
    QApplication::setApplicationName(QStringLiteral("msaview"));

    ViewerWindow window;
    window.show();
    // A file that cannot be read is reported as from File > Open, and the window stays for another.
    if (!files.isEmpty()) window.OpenFile(files.first());
    return QApplication::exec();
}
