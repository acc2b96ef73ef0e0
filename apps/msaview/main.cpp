// msaview: browse a multiple sequence alignment.

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "ViewerWindow.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("msaview"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Interactive viewer of multiple sequence alignments."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("Alignment to open (FASTA, Clustal, Stockholm, PHYLIP, PIR)."));
    parser.process(application);

    ViewerWindow window;
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && !window.OpenFile(files.first())) {
        std::fprintf(stderr, "msaview: %s\n", window.LastError().toLocal8Bit().constData());
        return 1;
    }
    return QApplication::exec();
}
