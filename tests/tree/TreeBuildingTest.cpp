// Trees built from distances: neighbour joining exact on additive distances and equal in topology to
// quicktree's on two real families; UPGMA's heights; identity distances worked by hand.

#include <gtest/gtest.h>

#include <QFile>
#include <QTextStream>
#include <cmath>
#include <map>

#include "TreeTestSupport.h"
#include "formats/AlignmentReader.h"
#include "msarender/tree/Newick.h"
#include "msarender/tree/TreeBuilding.h"
#include "support/AlignmentBuilder.h"

using treetest::Read;
using treetest::Splits;

namespace {

// The path length between every two leaves of a tree with lengths: additive distances.
DistanceMatrix PathLengths(const PhyloTree& tree) {
    const std::vector<int> leaves = tree.Leaves();
    QStringList names;
    for (int leaf : leaves) names.append(tree.nodes[std::size_t(leaf)].label);
    DistanceMatrix matrix(names);
    const auto toRoot = [&](int node) {
        std::map<int, double> distance;
        double sum = 0;
        for (; node >= 0; node = tree.nodes[std::size_t(node)].parent) {
            distance[node] = sum;
            sum += tree.nodes[std::size_t(node)].length.value_or(0);
        }
        return distance;
    };
    for (std::size_t a = 0; a < leaves.size(); ++a)
        for (std::size_t b = a + 1; b < leaves.size(); ++b) {
            const auto up = toRoot(leaves[a]);
            double sum = 0;
            int node = leaves[b];
            while (!up.count(node)) {
                sum += tree.nodes[std::size_t(node)].length.value_or(0);
                node = tree.nodes[std::size_t(node)].parent;
            }
            matrix.Set(int(a), int(b), sum + up.at(node));
        }
    return matrix;
}

// A square PHYLIP distance matrix, as quicktree reads it.
QString PhylipMatrix(const DistanceMatrix& matrix) {
    QString text = QString::number(matrix.Size()) + '\n';
    for (int a = 0; a < matrix.Size(); ++a) {
        text += matrix.Names()[a];
        for (int b = 0; b < matrix.Size(); ++b) text += ' ' + QString::number(matrix.At(a, b), 'f', 6);
        text += '\n';
    }
    return text;
}

DistanceMatrix ReadPhylipMatrix(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QTextStream in(&file);
    int size = 0;
    in >> size;
    const std::size_t n = std::size_t(std::max(size, 0));
    std::vector<std::vector<double>> rows(n, std::vector<double>(n));
    QStringList names;
    for (int a = 0; a < size; ++a) {
        QString name;
        in >> name;
        names.append(name);
        for (int b = 0; b < size; ++b) in >> rows[std::size_t(a)][std::size_t(b)];
    }
    DistanceMatrix matrix(names);
    for (int a = 0; a < size; ++a)
        for (int b = a + 1; b < size; ++b) matrix.Set(a, b, rows[std::size_t(a)][std::size_t(b)]);
    return matrix;
}

std::vector<unsigned> AllSequences(const SDM::Alignment& alignment) {
    std::vector<unsigned> all;
    alignment.getNonTransientIndexes(all, true);
    return all;
}

}  // namespace

TEST(IdentityDistances, CountOnlyColumnsWhereBothHaveResidues) {
    testsupport::AlignmentBuilder builder;
    builder.Seq("a", "ACDEFGHIKL")
        .Seq("b", "ACDEFGHIKM")
        .Seq("c", "--dEWW----")
        .Seq("d", "-----G----")
        .Seq("e", "ALLLL-----");
    const auto built = builder.Build();
    const DistanceMatrix d = IdentityDistances(*built.model, {0, 1, 2, 3, 4});
    EXPECT_EQ(d.Names(), (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_DOUBLE_EQ(d.At(0, 1), 0.1);           // 9 of 10 the same
    EXPECT_DOUBLE_EQ(d.At(0, 2), 1.0 - 2 / 4.);  // D and E, case aside, of 4 shared columns
    EXPECT_DOUBLE_EQ(d.At(2, 0), d.At(0, 2));
    EXPECT_DOUBLE_EQ(d.At(2, 3), 1.0);  // no shared column
    EXPECT_DOUBLE_EQ(d.At(3, 4), 1.0);
    EXPECT_DOUBLE_EQ(d.At(0, 4), 1.0 - 1 / 5.);
    EXPECT_DOUBLE_EQ(d.At(1, 1), 0.0);
}

TEST(NeighbourJoining, RecoversATreeFromItsAdditiveDistances) {
    const PhyloTree truth = Read("((A:2,B:3):4,(C:1,(D:2,E:5):1.5):2,(F:1,G:3):0.5);");
    const PhyloTree built = NeighbourJoining(PathLengths(truth));
    EXPECT_EQ(Splits(built), Splits(truth));
    // Additive distances come back exactly, as branch lengths of the same tree.
    const DistanceMatrix original = PathLengths(truth);
    const DistanceMatrix again = PathLengths(built);
    for (int a = 0; a < original.Size(); ++a)
        for (int b = 0; b < original.Size(); ++b) {
            const int a2 = int(again.Names().indexOf(original.Names()[a]));
            const int b2 = int(again.Names().indexOf(original.Names()[b]));
            EXPECT_NEAR(again.At(a2, b2), original.At(a, b), 1e-9);
        }
    EXPECT_EQ(built.nodes[0].children.size(), 3u);  // unrooted
}

TEST(NeighbourJoining, SmallMatricesGiveALeafOrAPair) {
    DistanceMatrix one(QStringList{"only"});
    EXPECT_EQ(WriteNewick(NeighbourJoining(one)), "only;");
    DistanceMatrix two(QStringList{"a", "b"});
    two.Set(0, 1, 0.5);
    EXPECT_EQ(WriteNewick(NeighbourJoining(two)), "(a:0.25,b:0.25);");
    EXPECT_TRUE(NeighbourJoining(DistanceMatrix(QStringList())).IsEmpty());
}

TEST(Upgma, JoinsTheClosestAverageAndMakesAnUltrametricTree) {
    DistanceMatrix d(QStringList{"a", "b", "c", "d"});
    d.Set(0, 1, 2);
    d.Set(0, 2, 6);
    d.Set(1, 2, 8);
    d.Set(0, 3, 10);
    d.Set(1, 3, 10);
    d.Set(2, 3, 10);
    // (a,b) at 1; c joins them at the mean of 6 and 8, height 3.5; d at the mean 10, height 5.
    EXPECT_EQ(WriteNewick(Upgma(d)), "(((a:1,b:1):2.5,c:3.5):1.5,d:5);");
}

// The matrices were recorded from IdentityDistances (MSARENDER_RECORD_TREES=1 writes them again), and each
// tree from them by quicktree 2.5 (Debian): `quicktree -in m -out t FAMILY.dist > FAMILY.quicktree.nwk`.
class RealFamilies : public testing::TestWithParam<const char*> {
protected:
    QString Data(const QString& suffix) const {
        return QStringLiteral(MSARENDER_TEST_DATA "/trees/") + GetParam() + suffix;
    }
};

TEST_P(RealFamilies, IdentityDistancesAreTheRecordedOnes) {
    const std::string source = std::string(MSARENDER_TEST_DATA "/") + GetParam();
    const Formats::ReadResult read = Formats::ReadAlignmentFile(source);
    ASSERT_TRUE(read.ok()) << read.error.ToString();
    const DistanceMatrix computed = IdentityDistances(*read.alignment, AllSequences(*read.alignment));
    if (qEnvironmentVariableIsSet("MSARENDER_RECORD_TREES")) {
        QFile out(Data(".dist"));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(PhylipMatrix(computed).toUtf8());
    }
    const DistanceMatrix recorded = ReadPhylipMatrix(Data(".dist"));
    ASSERT_EQ(recorded.Names(), computed.Names());
    for (int a = 0; a < computed.Size(); ++a)
        for (int b = 0; b < computed.Size(); ++b) ASSERT_NEAR(computed.At(a, b), recorded.At(a, b), 5e-7);
}

TEST_P(RealFamilies, NeighbourJoiningHasQuicktreesTopology) {
    const NewickResult quicktree = ReadNewickFile(Data(".quicktree.nwk"));
    ASSERT_TRUE(quicktree.ok()) << quicktree.error.toStdString();
    const PhyloTree ours = NeighbourJoining(ReadPhylipMatrix(Data(".dist")));
    EXPECT_EQ(ours.Leaves().size(), quicktree.tree.Leaves().size());
    EXPECT_EQ(Splits(ours), Splits(quicktree.tree));
    EXPECT_GT(Splits(ours).size(), 10u);
}

INSTANTIATE_TEST_SUITE_P(Trees, RealFamilies, testing::Values("globins50.afa", "Pkinase.sto"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? std::string("globins50") : std::string("Pkinase");
                         });
