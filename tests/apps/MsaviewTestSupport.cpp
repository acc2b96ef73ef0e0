#include "MsaviewTestSupport.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>
#include <boost/make_shared.hpp>

#include "AlignmentView.h"

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

}  // namespace msaviewtest
