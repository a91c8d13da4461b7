#include "exam/KDTree.hpp"
#include "plain/DemoDb.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;

namespace {

// The text a node shows for an organisation of the demo database.
std::string nodeText(const demodb::Organisation& org)
{
    if (org.level == 0)
        return "00-" + org.name;
    const std::string code = org.level == 2 ? text::right(org.code, 2) : org.code;
    return code + "-" + org.name;
}

void expectTreeOf(const test::DemoDb& demo)
{
    ado::TADOConnection connection(demo.connectionString());
    connection.open();
    OrgTree tree;
    BuildOrgTree(tree, connection);

    const std::vector<demodb::Organisation>& orgs = demo.summary().organisations;
    ASSERT_EQ(tree.size(), static_cast<int>(orgs.size()));
    int levelCounts[4] = {};
    for (int i = 0; i < tree.size(); ++i) {
        const OrgNode& node = tree.node(i);
        SCOPED_TRACE("node " + std::to_string(i) + " " + gbk::toUtf8(node.text));
        ASSERT_EQ(node.level, orgs[static_cast<std::size_t>(i)].level);
        EXPECT_EQ(node.text, nodeText(orgs[static_cast<std::size_t>(i)]));
        EXPECT_EQ(node.imageIndex, 2 * node.level + 1);
        EXPECT_EQ(node.selectedImageIndex, 2 * node.level);
        if (node.level > 0) {
            EXPECT_EQ(tree.node(node.parent).level, node.level - 1);
        }
        ++levelCounts[node.level];
    }
    EXPECT_EQ(levelCounts[0], 1);
    EXPECT_EQ(tree.node(0).text, "00-" + gbk::fromUtf8(demodb::kNationalName));
}

TEST(BuildOrgTree, FollowsTheDemoDatabaseInBothGenerations)
{
    for (int generation : {2, 1}) {
        SCOPED_TRACE("generation " + std::to_string(generation));
        demodb::Options options = test::DemoDb::smallOptions();
        options.generation = generation;
        expectTreeOf(test::DemoDb(options));
    }
}

TEST(BuildOrgTree, ReadsTheWholeCountry)
{
    demodb::Options options;
    options.candidates = 0;
    const test::DemoDb demo(options);
    expectTreeOf(demo);

    ado::TADOConnection connection(demo.connectionString());
    connection.open();
    OrgTree tree;
    BuildOrgTree(tree, connection);
    int provinces = 0;
    for (const OrgNode& node : tree.nodes())
        provinces += node.level == 1;
    EXPECT_EQ(provinces, 34);
}

TEST(SelectOrgNode, FindsEveryOrganisationOfTheDemoDatabaseByItsCode)
{
    const test::DemoDb demo;
    ado::TADOConnection connection(demo.connectionString());
    connection.open();
    OrgTree tree;
    BuildOrgTree(tree, connection);

    const std::vector<demodb::Organisation>& orgs = demo.summary().organisations;
    for (std::size_t i = 0; i < orgs.size(); ++i) {
        const std::string code = orgs[i].level == 0 ? "00" : orgs[i].code;
        EXPECT_EQ(SelectOrgNode(tree, orgs[i].level, code), static_cast<int>(i)) << gbk::toUtf8(nodeText(orgs[i]));
    }
}

} // namespace
