// Whole pictures as any host asks the library for them: fonts that travel with the request, pages written
// all or nothing, refusals before anything is painted, calls in any order, and the headless session.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/HeadlessSession.h"
#include "support/AlignmentBuilder.h"
#include "support/TestFont.h"

namespace {

boost::shared_ptr<SDM::Alignment> Globins() {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("HBA_HUMAN", "VLSPADKTNVKAAWGKVGAHAGEYGAEALERMFLSFPTTKTYFPHF")
        .Seq("HBB_HUMAN", "VHLTPEEKSAVTALWGKVNVDEVGGEALGRLLVVYPWTQRFFESF")
        .Seq("MYG_PHYCA", "VLSEGEWQLVLHVWAKVEADVAGHGQDILIRLFKSHPETLEKFDRF");
    return builder.Build().model;
}

PictureSettings SettingsAt(double points) {
    PictureSettings settings;
    settings.fontSize = points;
    settings.wrap = true;
    settings.residuesPerLine = 20;
    return settings;
}

QByteArray Png(AlignmentPicture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_EQ(picture.EncodePage(0, buffer, OutputFormat::Png), QString());
    return bytes;
}

QByteArray DrawnAlone(const PictureSettings& settings) {
    AlignmentPicture picture(Globins(), {settings, std::nullopt});
    EXPECT_EQ(picture.Prepare(), QString());
    return Png(picture);
}

TEST(PictureFonts, TwoFontsInterleavedInOneProcessDrawAsEachAlone) {
    const QFont applicationFont = QGuiApplication::font();
    const QByteArray small = DrawnAlone(SettingsAt(8));
    const QByteArray large = DrawnAlone(SettingsAt(15));
    ASSERT_NE(small, large);
    AlignmentPicture first(Globins(), {SettingsAt(8), std::nullopt});
    AlignmentPicture second(Globins(), {SettingsAt(15), std::nullopt});
    ASSERT_EQ(first.Prepare(), QString());
    ASSERT_EQ(second.Prepare(), QString());
    EXPECT_EQ(Png(first), small);
    EXPECT_EQ(Png(second), large);
    EXPECT_EQ(Png(first), small);
    EXPECT_EQ(QGuiApplication::font(), applicationFont);  // no picture sets the application's font
}

TEST(PictureFonts, ThePictureIsSizedByItsOwnFontsCells) {
    AlignmentPicture picture(Globins(), {SettingsAt(15), std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const CellGeometry cells(SQC::FontAttributes(SettingsAt(15).Font()));
    QImage image;
    ASSERT_TRUE(image.loadFromData(Png(picture), "PNG"));
    EXPECT_EQ(image.size(), picture.PageSize(0));
    // Three blocks of 20, 20 and 6 columns, each a ruler band and three rows, and half a cell below.
    EXPECT_EQ(image.height(), 3 * cells.LineTop(kRulerBandRows + 3) + cells.CellHeight() / 2);
}

// The bounds of the dark pixels of `area` in `image`; empty when there are none.
QRect Ink(const QImage& image, const QRect& area) {
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 96) ink |= QRect(x, y, 1, 1);
    return ink;
}

// The lowest dark pixel of `area` in `image`, or -1.
int LowestInk(const QImage& image, const QRect& area) {
    const QRect ink = Ink(image, area);
    return ink.isEmpty() ? -1 : ink.bottom();
}

TEST(PictureNames, NamesStandOnTheirLettersBaselineAndKeepTheirDescendersInTheirLine) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("gq_y", "HHHHH").Seq("HHH", "HHHHH");
    for (double scale : {1.0, 2.0}) {
        PictureSettings settings;
        settings.colorScheme = QStringLiteral("plain");
        settings.scale = scale;
        AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
        ASSERT_EQ(picture.Prepare(), QString());
        QImage image;
        ASSERT_TRUE(image.loadFromData(Png(picture), "PNG"));
        const CellGeometry cells(SQC::FontAttributes(settings.Font()));
        const int nameWidth = image.width() - cells.ColumnLeft(5);
        const int first = cells.LineTop(kRulerBandRows), second = cells.LineTop(kRulerBandRows + 1);
        const QRect secondName(0, second, nameWidth, cells.CellHeight());
        const QRect secondLetters(nameWidth, second, cells.ColumnLeft(5), cells.CellHeight());
        EXPECT_EQ(LowestInk(image, secondName), LowestInk(image, secondLetters)) << "scale " << scale;
        const int descenders = LowestInk(image, QRect(0, first, nameWidth, cells.CellHeight() + 1));
        EXPECT_GT(descenders, cells.Baseline(first)) << "scale " << scale;  // the descenders are drawn
        EXPECT_LT(descenders, second) << "scale " << scale;
    }
}

TEST(PictureNames, StructureLineAndAnnotationLabelsAreIndentedAsTheNames) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("HHH", "HHHHH").Structure("SS", "HHHHH");
    PictureSettings settings;
    settings.colorScheme = QStringLiteral("plain");
    settings.annotationRows = {QStringLiteral("consensus")};
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    QImage image;
    ASSERT_TRUE(image.loadFromData(Png(picture), "PNG"));
    const CellGeometry cells(SQC::FontAttributes(settings.Font()));
    const int nameWidth = image.width() - cells.ColumnLeft(5);
    const auto labelLeft = [&](int line) {
        const QRect ink =
            Ink(image, QRect(0, cells.LineTop(kRulerBandRows + line), nameWidth, cells.CellHeight()));
        return ink.isEmpty() ? -1 : ink.left();
    };
    const int name = labelLeft(0);
    ASSERT_GE(name, cells.CellWidth()) << "a name is drawn after a space";
    EXPECT_EQ(labelLeft(1), name) << "the HHH(SS) line under it starts with the same letter";
    EXPECT_GE(labelLeft(2), cells.CellWidth()) << "so does Consensus";
}

class PictureFiles : public ::testing::Test {
protected:
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
    QTemporaryDir dir;
};

TEST_F(PictureFiles, PagesAreNumberedBesideTheNameAndReplaceASinglePictureOfIt) {
    PictureSettings settings = SettingsAt(10);
    const CellGeometry cells(SQC::FontAttributes(settings.Font()));
    settings.pageHeight = cells.LineTop(kRulerBandRows + 3) + cells.CellHeight();  // one block a page
    const QString path = dir.filePath("fig.png");
    QFile single(path);
    ASSERT_TRUE(single.open(QIODevice::WriteOnly));
    single.close();
    AlignmentPicture picture(Globins(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    ASSERT_EQ(picture.PageCount(), 3);
    QStringList written;
    ASSERT_EQ(picture.WriteFiles(path, OutputFormat::Png, written), QString());
    EXPECT_EQ(written, (QStringList{dir.filePath("fig-001.png"), dir.filePath("fig-002.png"),
                                    dir.filePath("fig-003.png")}));
    EXPECT_EQ(Files(), (QStringList{"fig-001.png", "fig-002.png", "fig-003.png"}));
    for (int page = 0; page < 3; ++page) {
        QImage image;
        ASSERT_TRUE(image.load(written[page]));
        EXPECT_EQ(image.size(), picture.PageSize(page));
    }
}

// Blocks of a ruler band and three rows on pages that hold a band and two: each block's third row goes on
// a page of its own, under the block's band again, and the page's hit tests count that band.
TEST(PicturePages, APageThatGoesOnWithABlockStartsWithItsRulerBand) {
    PictureSettings settings = SettingsAt(10);
    const CellGeometry cells(SQC::FontAttributes(settings.Font()));
    settings.pageHeight = cells.LineTop(kRulerBandRows + 2) + cells.CellHeight() / 2;
    AlignmentPicture picture(Globins(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    ASSERT_EQ(picture.PageCount(), 6);
    const QColor rulerBackground(0xED, 0xED, 0xE1);
    for (int page = 0; page < picture.PageCount(); ++page) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_EQ(picture.EncodePage(page, buffer, OutputFormat::Png), QString());
        const QImage image = QImage::fromData(bytes);
        ASSERT_EQ(image.size(), picture.PageSize(page));
        EXPECT_LE(image.height(), settings.pageHeight) << page;
        const int nameWidth = image.width() - cells.ColumnLeft(20);
        EXPECT_EQ(QColor(image.pixel(nameWidth + cells.CellWidth() / 3, cells.CellHeight() / 2)),
                  rulerBackground)
            << "page " << page + 1;
        const int firstRow = page % 2 == 0 ? 0 : 2;  // the block's first rows, then its last
        const auto cell = picture.CellAt(page, nameWidth + 1, cells.LineTop(kRulerBandRows) + 1);
        ASSERT_TRUE(cell.has_value()) << page;
        EXPECT_EQ(cell->sequence, firstRow) << page;
        EXPECT_EQ(cell->column, page / 2 * 20) << page;
        EXPECT_FALSE(picture.CellAt(page, nameWidth + 1, 1).has_value()) << "over the band of page " << page;
    }
}

TEST_F(PictureFiles, APdfHoldsEveryPageInOneFile) {
    PictureSettings settings = SettingsAt(10);
    settings.pageHeight = 60;
    AlignmentPicture picture(Globins(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    ASSERT_GT(picture.PageCount(), 1);
    QStringList written;
    ASSERT_EQ(picture.WriteFiles(dir.filePath("fig.pdf"), OutputFormat::Pdf, written), QString());
    EXPECT_EQ(Files(), QStringList{"fig.pdf"});
    QFile pdf(written.value(0));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_EQ(bytes.count("/Type /Page") - bytes.count("/Type /Pages"), picture.PageCount());
}

TEST_F(PictureFiles, OneCallWritesTheFormatOfTheSuffixOrRefusesAnUnknownOne) {
    const PictureFileResult png = WritePictureFile(Globins(), PictureSettings(), dir.filePath("a.png"));
    ASSERT_TRUE(png.ok()) << png.error.toStdString();
    EXPECT_EQ(png.written, QStringList{dir.filePath("a.png")});
    const PictureFileResult svg = WritePictureFile(Globins(), PictureSettings(), dir.filePath("a.svg"));
    ASSERT_TRUE(svg.ok()) << svg.error.toStdString();
    QFile file(dir.filePath("a.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("HBB_HUMAN"));
    const PictureFileResult tiff = WritePictureFile(Globins(), PictureSettings(), dir.filePath("a.tiff"));
    EXPECT_FALSE(tiff.ok());
    EXPECT_TRUE(tiff.usageError);
    EXPECT_EQ(Files(), (QStringList{"a.png", "a.svg"}));
}

TEST_F(PictureFiles, APictureBeyondItsFormatIsRefusedBeforeAnythingIsWritten) {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("long", std::string(9000, 'A'));
    const PictureFileResult result =
        WritePictureFile(builder.Build().model, PictureSettings(), dir.filePath("wide.jpg"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.usageError);
    EXPECT_TRUE(result.error.contains("JPEG")) << result.error.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(PictureFiles, APictureBeyondThePixelBudgetIsRefusedInEveryFormatWithItsSize) {
    PictureSettings settings;
    settings.maxPixels = 1000;
    for (const char* name : {"a.png", "a.svg", "a.pdf"}) {
        const PictureFileResult result = WritePictureFile(Globins(), settings, dir.filePath(name));
        EXPECT_TRUE(result.usageError) << name;
        EXPECT_TRUE(result.error.contains("more than the 1e+03 allowed")) << result.error.toStdString();
        EXPECT_TRUE(result.error.contains("name column")) << result.error.toStdString();
    }
    EXPECT_TRUE(Files().isEmpty());
}

TEST(PixelBudget, ThePictureAtTheBudgetPassesAndOnePixelMoreIsNamed) {
    EXPECT_TRUE(PixelBudgetNote(100, 100, 10000).isEmpty());
    const QString note = PixelBudgetNote(100, 101, 10000);
    EXPECT_TRUE(note.contains("100 x 101 pixels")) << note.toStdString();
    EXPECT_TRUE(PixelBudgetNote(std::int64_t(1) << 40, std::int64_t(1) << 40, std::int64_t(1) << 34)
                    .contains("1.21e+24"));  // no overflow of the product
}

TEST_F(PictureFiles, ABadListIsAnErrorThatNamesItAndWritesNothing) {
    PictureSettings settings;
    settings.hide = QStringLiteral("NO_SUCH_GLOBIN");
    const PictureFileResult result = WritePictureFile(Globins(), settings, dir.filePath("a.png"));
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.contains("NO_SUCH_GLOBIN")) << result.error.toStdString();
    EXPECT_TRUE(Files().isEmpty());
}

TEST(PictureCallOrder, PagesAndViewsAskedForBeforeOrBesideThePlanAreErrorsNotCrashes) {
    AlignmentPicture unplanned(Globins(), {PictureSettings(), std::nullopt});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(unplanned.EncodePage(0, buffer, OutputFormat::Png).isEmpty());
    EXPECT_FALSE(unplanned.EncodePdf(buffer).isEmpty());
    EXPECT_EQ(unplanned.PageSize(0), QSize());
    QStringList written;
    EXPECT_FALSE(unplanned.WriteFiles(QStringLiteral("unused.png"), OutputFormat::Png, written).isEmpty());
    QString error;
    EXPECT_TRUE(unplanned.RenderView(error).isNull());
    EXPECT_FALSE(error.isEmpty());
    ASSERT_EQ(unplanned.Prepare(), QString());
    EXPECT_FALSE(unplanned.EncodePage(1, buffer, OutputFormat::Png).isEmpty());
    EXPECT_FALSE(unplanned.EncodePage(-1, buffer, OutputFormat::Png).isEmpty());
    EXPECT_EQ(buffer.size(), 0);
}

TEST(PictureViews, TheViewIsTheWindowAskedForAndAPositionPastTheEndIsNamed) {
    AlignmentPicture picture(Globins(), {PictureSettings(), ViewGeometry{300, 120, 40, 0}});
    ASSERT_EQ(picture.Prepare(), QString());
    QString error;
    const QImage view = picture.RenderView(error);
    ASSERT_FALSE(view.isNull()) << error.toStdString();
    EXPECT_EQ(view.size(), QSize(300, 120));
    EXPECT_TRUE(picture.CheckViewPosition().isEmpty());
    AlignmentPicture past(Globins(), {PictureSettings(), ViewGeometry{300, 120, 0, 100000}});
    ASSERT_EQ(past.Prepare(), QString());
    past.RenderView(error);
    EXPECT_TRUE(past.CheckViewPosition().contains("past the end"));
}

TEST(Headless, ASessionWithoutARuntimeFolderGetsAPrivateOneForItsLife) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    QString folder;
    {
        const HeadlessSession session;
        folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
        ASSERT_FALSE(folder.isEmpty());
        struct stat info {};
        ASSERT_EQ(stat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("offscreen"));
    }
    EXPECT_FALSE(QDir(folder).exists());
    if (saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

TEST(Headless, ARuntimeFolderTheCallerNamedIsKept) {
    const QTemporaryDir own;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.path()));
    { const HeadlessSession session; }
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), own.path());
    EXPECT_TRUE(QDir(own.path()).exists());
    if (saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
