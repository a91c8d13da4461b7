#include "exam/KDTree.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace skorvin::exam;

namespace {

// Province 10 has a city 05 too, ahead of 11's, so that a city is told apart by its province.
OrgTree sampleTree()
{
    OrgTree tree;
    const int root = tree.addNode(OrgTree::kNoParent, "00-Nation", 1, 0);
    const int p10 = tree.addNode(root, "10-P10", 3, 2);
    const int c1005 = tree.addNode(p10, "05-C1005", 5, 4);
    tree.addNode(c1005, "100501-S", 7, 6);
    const int p11 = tree.addNode(root, "11-P11", 3, 2);
    const int c1101 = tree.addNode(p11, "01-C1101", 5, 4);
    tree.addNode(c1101, "110101-S", 7, 6);
    const int c1105 = tree.addNode(p11, "05-C1105", 5, 4);
    tree.addNode(c1105, "110501-S", 7, 6);
    tree.addNode(c1105, "110502-S", 7, 6);
    tree.addNode(root, "12-P12", 3, 2);
    return tree;
}

TEST(SelectOrgNode, FindsTheFirstMatchingNodeOfTheLevel)
{
    const struct {
        int level;
        const char* code;
        int index;
    } cases[] = {
        {0, "", 0},         {0, "9999", 0}, // the root, whatever the code
        {1, "11", 4},       {1, "12", 10},    {1, "1", 1},        {1, "", 1},      {1, "99", -1},
        {1, "11-P11x", -1}, // longer than the text
        {2, "1105", 7},     {2, "1005", 2},   {2, "1101", 5},     {2, "1205", -1}, {2, "1199", -1},
        {2, "05", -1},      {3, "110502", 9}, {3, "1105", 8}, // a short code takes the first site it begins
        {3, "", 3},         {3, "1106", -1},  {3, "110501-S", 8}, {4, "11", -1},   {-1, "", -1},
    };
    const OrgTree tree = sampleTree();
    for (const auto& c : cases)
        EXPECT_EQ(SelectOrgNode(tree, c.level, c.code), c.index) << "level " << c.level << " code " << c.code;
}

TEST(SelectOrgNode, AnEmptyTreeHasNothingToSelect)
{
    const OrgTree tree;
    for (int level : {0, 1, 2, 3})
        EXPECT_EQ(SelectOrgNode(tree, level, "11"), -1) << level;
}

TEST(SelectOrgNode, ComparesBytesExactly)
{
    OrgTree tree;
    const int root = tree.addNode(OrgTree::kNoParent, "00-Nation", 1, 0);
    tree.addNode(root, "ab-Lower", 3, 2);
    tree.addNode(root, "AB-Upper", 3, 2);
    EXPECT_EQ(SelectOrgNode(tree, 1, "AB"), 2);
    EXPECT_EQ(SelectOrgNode(tree, 1, "ab"), 1);
}

TEST(OrgTree, SelectionGivesLevelTextAndParentText)
{
    const OrgTree tree = sampleTree();
    const SelectedNode city = tree.selection(7);
    EXPECT_EQ(city.level, 2);
    EXPECT_EQ(city.text, "05-C1105");
    EXPECT_EQ(city.parentText, "11-P11");
    const SelectedNode root = tree.selection(0);
    EXPECT_EQ(root.level, 0);
    EXPECT_EQ(root.parentText, "");
}

} // namespace
