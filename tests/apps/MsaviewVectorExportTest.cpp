// Pictures of the whole alignment and of the selection written as SVG and PDF through the File menu, read
// back by an XML parser and by Poppler.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "AlignmentView.h"
#include "MsaviewTestSupport.h"
#include "PictureExport.h"
#include "SelectionPicture.h"
#include "ViewerWindow.h"
#include "msarender/picture/VectorOutput.h"

namespace {

// Every text element of an SVG document, in document order; `error` tells a document that does not parse.
QStringList SvgTexts(const QString& path, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open " + path;
        return {};
    }
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    if (xml.hasError()) error = xml.errorString();
    return texts;
}

class VectorExportTest : public msaviewtest::WindowTest {
protected:
    // Exports the alignment through the menu, answering the dialog with `name` (under `filter`).
    QString ExportThroughMenu(const QString& name, const QString& filter = QString()) {
        bool dialogShown = false;
        AnswerFileDialog(folder.filePath(name), dialogShown, filter);
        MenuAction("Export alignment as...")->trigger();
        EXPECT_TRUE(dialogShown);
        return folder.filePath(name);
    }
    QStringList ShownNames() {
        QStringList names;
        const RowMap& rows = view().Document()->Rows();
        for (int row = 0; row < rows.RowCount(); ++row)
            names << view().Document()->SequenceName(rows.SequenceOfRow(row));
        return names;
    }

    QTemporaryDir folder;
};

TEST_F(VectorExportTest, SvgOfTheWholeAlignmentParsesAndHoldsEachNameOncePerBlock) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 40; });
    const unsigned blocks = view().Renderer().BlockCount();
    ASSERT_GT(blocks, 1u);
    const QString path = ExportThroughMenu("whole.svg");
    QString error;
    const QStringList texts = SvgTexts(path, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString() << " " << window.LastError().toStdString();
    // Painted block by block, no block's names are written twice.
    for (const QString& name : ShownNames()) EXPECT_EQ(texts.count(name), int(blocks)) << name.toStdString();
}

TEST_F(VectorExportTest, PdfChosenByTheFilterStartsAsPdfAndHoldsTheNames) {
    Open("globins4.sto");
    const QString path = ExportThroughMenu("whole", "PDF (*.pdf)") + ".pdf";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << window.LastError().toStdString();
    EXPECT_EQ(file.read(4), "%PDF");
    file.close();
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
    QProcess poppler;
    poppler.start("pdftotext", {path, "-"});
    ASSERT_TRUE(poppler.waitForFinished(30000));
    const QString text = QString::fromUtf8(poppler.readAllStandardOutput());
    for (const QString& name : ShownNames()) EXPECT_TRUE(text.contains(name)) << name.toStdString();
}

TEST_F(VectorExportTest, SavedSelectionHoldsTheSelectedRowsOnly) {
    Open("globins4.sto");
    view().SelectRuns({{1, 5, 20}, {2, 10, 30}});
    bool dialogShown = false;
    const QString path = folder.filePath("part.svg");
    AnswerFileDialog(path, dialogShown);
    MenuAction("Save selection as...")->trigger();
    ASSERT_TRUE(dialogShown);
    QString error;
    const QStringList texts = SvgTexts(path, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString() << " " << window.LastError().toStdString();
    const AlignmentDocument& document = *view().Document();
    EXPECT_TRUE(texts.contains(document.SequenceName(1)));
    EXPECT_TRUE(texts.contains(document.SequenceName(2)));
    EXPECT_FALSE(texts.contains(document.SequenceName(0)));
    EXPECT_FALSE(texts.contains(document.SequenceName(3)));
}

TEST_F(VectorExportTest, AStoppedExportLeavesNoFileAndNothingToDrawIsAnError) {
    Open("fn3.sto");
    const SelectionPicture whole = view().PictureOf(PictureRange::OfAlignment(*view().Document()));
    const QString path = folder.filePath("stopped.pdf");
    bool stopped = false;
    const QString error = WritePicture(
        whole, path, OutputFormat::Pdf, [](std::int64_t, std::int64_t) { return false; }, stopped);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    const SelectionPicture nothing = view().PictureOf(PictureRange());
    EXPECT_FALSE(WritePicture(nothing, path, OutputFormat::Svg, {}, stopped).isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(VectorExportTest, PngOfTheWholeAlignmentIsStreamedAtItsFullSize) {
    Open("fn3.sto");
    SetOptions([](DisplayOptions& options) { options.residuesPerLine = 30; });
    const SelectionPicture whole = view().PictureOf(PictureRange::OfAlignment(*view().Document()));
    const QString path = ExportThroughMenu("whole.png");
    QImage image;
    ASSERT_TRUE(image.load(path)) << window.LastError().toStdString();
    EXPECT_EQ(image.size(), whole.Size());
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), qRgb(255, 255, 255));
    // What the file holds is what the picture paints.
    const QImage band = whole.PaintBand(0, image.height());
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), band);
}

TEST_F(VectorExportTest, AStoppedPngLeavesTheFileThatWasThere) {
    Open("fn3.sto");
    const SelectionPicture whole = view().PictureOf(PictureRange::OfAlignment(*view().Document()));
    const QString path = folder.filePath("kept.png");
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("the picture before");
    }
    bool stopped = false;
    const QString error = WritePicture(
        whole, path, OutputFormat::Png, [](std::int64_t, std::int64_t) { return false; }, stopped);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("the picture before"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.png"});
}

TEST(PictureFormatTest, TheSuffixDecidesAndTheFilterOnlyAddsAMissingOne) {
    EXPECT_EQ(PictureFormatOf("a/b.SVG"), OutputFormat::Svg);
    EXPECT_EQ(PictureFormatOf("b.pdf"), OutputFormat::Pdf);
    EXPECT_EQ(PictureFormatOf("b.png"), OutputFormat::Png);
    EXPECT_EQ(PictureFormatOf("b"), OutputFormat::Png);
    EXPECT_EQ(PictureFormatOf("b.eps"), OutputFormat::Png);  // a format the viewer does not write
    EXPECT_EQ(WithPictureSuffix("b", OutputFormat::Pdf), "b.pdf");
    EXPECT_EQ(WithPictureSuffix("b.png", OutputFormat::Svg), "b.png");
    EXPECT_EQ(WithPictureSuffix("b.tar", OutputFormat::Png), "b.tar.png");
}

TEST(PictureFormatTest, APdfPageTallerThanReadersShowIsNoted) {
    // Pixels of the page limit at the resolution pictures are measured in.
    const int limit = kPdfPageLimitPoints * VectorResolution() / 72;
    EXPECT_TRUE(PdfPageNote(QSize(200, limit)).isEmpty());
    EXPECT_TRUE(
        PdfPageNote(QSize(200, limit + VectorResolution())).contains(QString::number(kPdfPageLimitPoints)));
    EXPECT_FALSE(PdfPageNote(QSize(limit + VectorResolution(), 10)).isEmpty());
}

}  // namespace
