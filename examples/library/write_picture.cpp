// write_picture IN OUT: reads an alignment in any format msarender reads and writes its picture, with the
// library's defaults, in the format of OUT's suffix (.png, .jpg, .bmp, .ppm, .svg, .pdf or .eps).
#include <QGuiApplication>
#include <cstdio>

#include "formats/AlignmentReader.h"
#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/HeadlessSession.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_picture IN OUT\n");
        return 2;
    }
    const HeadlessSession headless;  // no display needed
    QGuiApplication app(argc, argv);
    const Formats::ReadResult read = Formats::ReadAlignmentFile(argv[1]);
    if (!read.ok()) {
        std::fprintf(stderr, "%s\n", read.error.ToString().c_str());
        return 1;
    }
    const PictureFileResult result =
        WritePictureFile(read.alignment, PictureSettings(), QString::fromLocal8Bit(argv[2]));
    for (const QString& message : result.messages) std::fprintf(stderr, "%s\n", qPrintable(message));
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return result.usageError ? 2 : 1;
    }
    std::printf("wrote %s\n", qPrintable(result.written.join(", ")));
    return 0;
}
