// Newick files as tree builders write them, and the positions of the faults in bad ones.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "TreeTestSupport.h"
#include "msarender/tree/Newick.h"

using treetest::LeafLabels;
using treetest::Read;

TEST(NewickReading, QuotedLabelsKeepSpacesColonsAndDoubledQuotes) {
    const PhyloTree tree = Read("('HBA HUMAN:1-141':0.1,'it''s':0.2,plain_name:0.3);");
    EXPECT_EQ(LeafLabels(tree), "HBA HUMAN:1-141 it's plain_name");
    EXPECT_DOUBLE_EQ(*tree.nodes[std::size_t(tree.Leaves()[0])].length, 0.1);
}

TEST(NewickReading, LengthsMayBeMissingOrInExponentForm) {
    const PhyloTree tree = Read("((A,B:1e-3)90:0.5,C);");
    const std::vector<int> leaves = tree.Leaves();
    EXPECT_FALSE(tree.nodes[std::size_t(leaves[0])].length.has_value());
    EXPECT_DOUBLE_EQ(*tree.nodes[std::size_t(leaves[1])].length, 0.001);
    const PhyloTree::Node& inner = tree.nodes[std::size_t(tree.nodes[std::size_t(leaves[0])].parent)];
    EXPECT_EQ(inner.label, "90");  // a support value
    EXPECT_DOUBLE_EQ(*inner.length, 0.5);
}

TEST(NewickReading, CommentsNestAndMayStandBetweenAnyItems) {
    const PhyloTree tree = Read("[a tree [from somewhere]] ( A [&support=1] : [x] 1 , B\n[c]) [root];");
    EXPECT_EQ(LeafLabels(tree), "A B");
    EXPECT_DOUBLE_EQ(*tree.nodes[std::size_t(tree.Leaves()[0])].length, 1.0);
}

TEST(NewickReading, MultifurcationsAndDeepLaddersKeepTheirShape) {
    const PhyloTree tree = Read("(A,B,C,(D,E,F,G));");
    EXPECT_EQ(tree.nodes[0].children.size(), 4u);
    EXPECT_EQ(LeafLabels(tree), "A B C D E F G");
    // A ladder of 5,000 leaves: deeper than a recursive reader's stack would go.
    QString ladder = "L0";
    for (int i = 1; i < 5000; ++i) ladder = QStringLiteral("(%1,L%2)").arg(ladder).arg(i);
    const NewickResult deep = ReadNewick(ladder + ";");
    ASSERT_TRUE(deep.ok()) << deep.error.toStdString();
    EXPECT_EQ(deep.tree.Leaves().size(), 5000u);
}

struct BadTree {
    const char* text;
    int line;
    int column;
    const char* message;
};

class NewickFaults : public testing::TestWithParam<BadTree> {};

TEST_P(NewickFaults, NameTheLineAndColumnOfTheFault) {
    const NewickResult result = ReadNewick(QString::fromUtf8(GetParam().text));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.line, GetParam().line);
    EXPECT_EQ(result.column, GetParam().column);
    EXPECT_TRUE(result.error.contains(GetParam().message)) << result.error.toStdString();
    EXPECT_TRUE(result.tree.IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Newick, NewickFaults,
                         testing::Values(BadTree{"(A,B:x1);", 1, 6, "'x1' is not a branch length"},
                                         BadTree{"(A,\n  B C);", 2, 5, "expected ',' or ')', found 'C'"},
                                         BadTree{"(A,B)", 1, 6, "ends early: expected ';'"},
                                         BadTree{"(A,(B,C);", 1, 9, "expected ',' or ')', found ';'"},
                                         BadTree{"(A,'B;", 1, 4, "quoted label that is never closed"},
                                         BadTree{"(A,[B [c] ;", 1, 4, "comment that is never closed"},
                                         BadTree{"(A,,B);", 1, 4, "a leaf without a name"},
                                         BadTree{"(A,B)(C);", 1, 6,
                                                 "expected ';' at the end of the tree, found '('"},
                                         BadTree{"  \n", 2, 1, "holds no tree"}));

TEST(NewickFiles, AnUnreadableTreeNamesFileLineAndColumn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.nwk");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("(A:1,\n(B:1,C:1):z);\n");
    file.close();
    const NewickResult result = ReadNewickFile(path);
    EXPECT_EQ(result.error, path + ":2:11: 'z' is not a branch length");
    EXPECT_TRUE(ReadNewickFile(dir.filePath("none.nwk"))
                    .error.startsWith(dir.filePath("none.nwk") + ": cannot read"));
}

TEST(NewickWriting, WhatIsWrittenReadsBackTheSame) {
    const QString text = "(('a b':0.1,'x:y''z':0.25)87:0.5,C_1,(D:1e-07,E:2)):0;";
    const PhyloTree tree = Read(text);
    const QString written = WriteNewick(tree);
    EXPECT_EQ(written, "(('a b':0.1,'x:y''z':0.25)87:0.5,C_1,(D:1e-07,E:2)):0;");
    EXPECT_EQ(LeafLabels(Read(written)), LeafLabels(tree));
}

TEST(NewickWriting, AFileIsReplacedOnlyByAWholeTree) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.nwk");
    EXPECT_EQ(WriteNewickFile(Read("(A:1,B:2);"), path), QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "(A:1,B:2);\n");
    EXPECT_FALSE(WriteNewickFile(Read("(A,B);"), dir.filePath("no/such/dir/out.nwk")).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.nwk"});  // no temporary left
}

TEST(PhyloTreePruning, DropsLeavesAndMergesTheBranchesLeftAlone) {
    const PhyloTree tree = Read("((A:1,B:2):3,(C:4,D:5):6);");
    const PhyloTree pruned =
        tree.Pruned([&](int leaf) { return tree.nodes[std::size_t(leaf)].label != "B"; });
    EXPECT_EQ(WriteNewick(pruned), "(A:4,(C:4,D:5):6);");
    EXPECT_TRUE(tree.Pruned([](int) { return false; }).IsEmpty());
    // A root left with one child gives way to it.
    const PhyloTree one = tree.Pruned([&](int leaf) { return tree.nodes[std::size_t(leaf)].label >= "C"; });
    EXPECT_EQ(WriteNewick(one), "(C:4,D:5):6;");
}
