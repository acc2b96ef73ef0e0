// Figures about one sequence: the reference's row placed first, identical residues of the others drawn as
// dots (or blank) with differences in their scheme's colours, and rows sorted in the picture.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "msarender/picture/AlignmentPicture.h"
#include "support/AlignmentBuilder.h"
#include "support/PicturePng.h"

namespace {

// Row 0 "ref" is the reference; identical residues are marked '=' in the comments.
boost::shared_ptr<SDM::Alignment> Family() {
    testsupport::AlignmentBuilder builder(SDM::AminoAcid);
    builder
        .Seq("other", "MKILAW-")  // = = . = = . gap
        .Seq("ref", "MKVLAYG")
        .Seq("third", "mRVLQYG");  // = . = = . = =
    return builder.Build().model;
}

QImage Drawn(PictureSettings settings) {
    settings.showSecondaryStructure = false;
    AlignmentPicture picture(Family(), {settings, std::nullopt});
    EXPECT_EQ(picture.Prepare(), QString());
    return testsupport::PicturePng(picture);
}

struct CellProbe {
    CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    int residueLeft = 0;  // the residues end at the picture's right edge

    QRect Cell(int row, int column) const {
        return cells.Cell(column, cells.LineTop(kRulerBandRows + row)).translated(residueLeft, 0);
    }
};

CellProbe ProbeFor(const QImage& image, int columns) {
    CellProbe probe;
    probe.residueLeft = image.width() - probe.cells.ColumnLeft(columns);
    return probe;
}

QImage CellImage(const QImage& image, const QRect& cell) {
    return image.copy(cell);
}

// Dark pixels of a cell, above and below its middle.
std::pair<int, int> InkAboveAndBelow(const QImage& image, const QRect& cell) {
    int above = 0;
    int below = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++(y < cell.center().y() ? above : below);
    return {above, below};
}

bool AllWhite(const QImage& image, const QRect& cell) {
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

const bool kIdentical[2][7] = {{true, true, false, true, true, false, false},
                               {true, false, true, true, false, true, true}};

TEST(ReferenceFigure, IdenticalResiduesAreDotsExactlyWhereTheyEqualTheReferences) {
    PictureSettings plain;
    plain.sequences = QStringLiteral("ref,other,third");
    PictureSettings dotted;
    dotted.reference = QStringLiteral("ref");
    const QImage before = Drawn(plain);
    const QImage after = Drawn(dotted);
    ASSERT_EQ(before.size(), after.size());
    const CellProbe probe = ProbeFor(after, 7);
    for (int column = 0; column < 7; ++column)  // the reference's own row, first, is as it was
        EXPECT_EQ(CellImage(after, probe.Cell(0, column)), CellImage(before, probe.Cell(0, column)));
    for (int row = 1; row <= 2; ++row)
        for (int column = 0; column < 7; ++column) {
            const QRect cell = probe.Cell(row, column);
            if (kIdentical[row - 1][column]) {
                const auto [above, below] = InkAboveAndBelow(after, cell);
                EXPECT_EQ(above, 0) << "row " << row << " column " << column;  // a dot sits low
                EXPECT_GT(below, 0) << "row " << row << " column " << column;
                EXPECT_EQ(after.pixel(cell.left() + 1, cell.top() + 1), qRgb(255, 255, 255));
            } else {
                // A difference (or a gap) keeps its letter and the scheme's colours.
                EXPECT_EQ(CellImage(after, cell), CellImage(before, cell))
                    << "row " << row << " column " << column;
            }
        }
}

TEST(ReferenceFigure, BlankLeavesIdenticalResiduesWhiteAndInPlaceKeepsTheRowOrder) {
    PictureSettings settings;
    settings.reference = QStringLiteral("2");
    settings.blankIdentical = true;
    settings.referenceInPlace = true;
    const QImage image = Drawn(settings);
    const CellProbe probe = ProbeFor(image, 7);
    PictureSettings plain;
    const QImage before = Drawn(plain);
    // Rows stay as in the file: "other", then the reference, then "third".
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(CellImage(image, probe.Cell(1, column)), CellImage(before, probe.Cell(1, column)));
        EXPECT_EQ(AllWhite(image, probe.Cell(0, column)), kIdentical[0][column]) << column;
        EXPECT_EQ(AllWhite(image, probe.Cell(2, column)), kIdentical[1][column]) << column;
    }
}

TEST(ReferenceFigure, SortingByIdentityOrdersThePicturesRowsAfterTheReference) {
    // Identity to "ref": other 4 of 6 shared columns, third 5 of 7: third comes before other.
    PictureSettings sorted;
    sorted.reference = QStringLiteral("ref");
    sorted.sort = QStringLiteral("identity");
    PictureSettings listed;
    listed.reference = QStringLiteral("ref");
    listed.sequences = QStringLiteral("ref,third,other");
    EXPECT_EQ(Drawn(sorted), Drawn(listed));
}

// Chosen columns keep the rows whole, so also their order: the reference first, then by identity.
TEST(ReferenceFigure, ChosenColumnsKeepTheSortedOrder) {
    PictureSettings settings;
    settings.reference = QStringLiteral("ref");
    settings.sort = QStringLiteral("identity");
    settings.columns = QStringLiteral("2-5");
    settings.showSecondaryStructure = false;
    AlignmentPicture picture(Family(), {settings, std::nullopt});
    ASSERT_EQ(picture.Prepare(), QString());
    const CellGeometry cells{SQC::FontAttributes(PictureSettings().Font())};
    const std::vector<int> expected = {1, 2, 0};  // ref, third, other
    for (int row = 0; row < 3; ++row) {
        const auto name = picture.CellAt(0, 1, cells.LineTop(kRulerBandRows + row) + cells.CellHeight() / 2);
        ASSERT_TRUE(name.has_value()) << row;
        EXPECT_EQ(name->sequence, expected[std::size_t(row)]) << row;
    }
}

TEST(ReferenceFigure, ABadReferenceOrSortIsAnErrorThatNamesIt) {
    for (const auto& [reference, sort, expected] :
         {std::tuple{"nosuch", "", "nosuch"}, std::tuple{"1-2", "", "one sequence"},
          std::tuple{"ref", "height", "height"}}) {
        PictureSettings settings;
        settings.reference = QString::fromLatin1(reference);
        settings.sort = QString::fromLatin1(sort);
        AlignmentPicture picture(Family(), {settings, std::nullopt});
        const QString error = picture.Prepare();
        EXPECT_TRUE(error.contains(QLatin1String(expected))) << error.toStdString();
    }
}

}  // namespace
