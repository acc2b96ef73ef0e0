// Colour schemes of the user's own: rules read from a text file, a bad line named by file and line, and
// the colours drawn.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "msarender/picture/AlignmentPicture.h"
#include "msarender/picture/SchemeFile.h"
#include "support/AlignmentBuilder.h"
#include "support/PicturePng.h"

namespace {

const char kRules[] =
    "# hydrophobic on blue\n"
    "  AVLIM  #80a0f0\n"
    "KR red white   # basic\n"
    "\n"
    "k navy\n";  // a later rule replaces an earlier one, in either case

QColor Background(const SDM::ColorScheme& scheme, char letter) {
    const Common::Color c = scheme.colorsAt(letter, 0).background;
    return QColor(c.Red(), c.Green(), c.Blue());
}
QColor Letter(const SDM::ColorScheme& scheme, char letter) {
    const Common::Color c = scheme.colorsAt(letter, 0).text;
    return QColor(c.Red(), c.Green(), c.Blue());
}

TEST(SchemeFile, RulesGiveEachLetterItsColoursInEitherCase) {
    const SchemeFile read = ParseSchemeFile(QString::fromLatin1(kRules), "mine.txt");
    ASSERT_EQ(read.error, QString());
    ASSERT_TRUE(read.scheme);
    const SDM::ColorScheme& scheme = *read.scheme;
    EXPECT_EQ(scheme.name(), "mine.txt");
    EXPECT_EQ(Background(scheme, 'v'), QColor(0x80, 0xa0, 0xf0));
    EXPECT_EQ(Letter(scheme, 'V'), QColor(Qt::black));  // readable on a light blue
    EXPECT_EQ(Background(scheme, 'R'), QColor(Qt::red));
    EXPECT_EQ(Letter(scheme, 'r'), QColor(Qt::white));
    EXPECT_EQ(Background(scheme, 'K'), QColor(0, 0, 0x80));  // navy, the later rule
    EXPECT_EQ(Letter(scheme, 'K'), QColor(Qt::white));       // readable on navy
    EXPECT_EQ(Background(scheme, 'G'), QColor(Qt::white));   // named by no rule
    EXPECT_EQ(Letter(scheme, 'G'), QColor(Qt::black));
}

TEST(SchemeFile, ABadLineIsNamedByFileAndLine) {
    for (const auto& [text, expected] :
         {std::pair{"A red\nKR bluu\n", "s.txt:2: 'bluu' is no colour"},
          std::pair{"# only\nKR\n", "s.txt:2: needs LETTERS BACKGROUND [TEXT]"},
          std::pair{"A1 red\n", "s.txt:1: 'A1' is not a word of residue letters"},
          std::pair{"A red white blue\n", "s.txt:1: 'blue' after the colours"},
          std::pair{"A red #zzzzzz\n", "s.txt:1: '#zzzzzz' is no colour"},
          std::pair{"# nothing\n\n", "s.txt: no colour rules"}}) {
        const SchemeFile read = ParseSchemeFile(QString::fromLatin1(text), "s.txt");
        EXPECT_TRUE(read.error.startsWith(QLatin1String(expected))) << read.error.toStdString();
        EXPECT_FALSE(read.scheme);
    }
    EXPECT_TRUE(ReadSchemeFile("/nonexistent/s.txt").error.startsWith("/nonexistent/s.txt: cannot read"));
}

TEST(SchemeFile, APictureDrawsTheFilesColoursAndAMissingFileStopsIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("scheme.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kRules);
    file.close();
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder.Seq("s", "RVG").Seq("t", "GRV");
    PictureSettings settings;
    settings.schemeFile = path;
    settings.showRuler = false;
    AlignmentPicture picture(builder.Build().model, {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const QImage image = testsupport::PicturePng(picture);
    ASSERT_FALSE(image.isNull());
    const CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    const int left = image.width() - cells.ColumnLeft(3);
    const auto corner = [&](int row, int column) {
        return QColor(image.pixel(left + cells.ColumnLeft(column) + 1, cells.LineTop(row) + 1));
    };
    EXPECT_EQ(corner(0, 0), QColor(Qt::red));
    EXPECT_EQ(corner(0, 1), QColor(0x80, 0xa0, 0xf0));
    EXPECT_EQ(corner(0, 2), QColor(Qt::white));
    EXPECT_EQ(corner(1, 1), QColor(Qt::red));

    settings.schemeFile = dir.filePath("gone.txt");
    AlignmentPicture missing(builder.Build().model, {settings, std::nullopt});
    EXPECT_TRUE(missing.Prepare().contains("gone.txt: cannot read"));
}

}  // namespace
