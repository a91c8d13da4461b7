#include "exam/KDTree.hpp"
#include "plain/ScratchDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ScratchDb;

namespace {

// One node as a reader of the tree sees it: depth, text, images, parent.
struct Shown {
    int level;
    std::string text; // UTF-8
    int image;
    int selectedImage;
    int parent;

    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& n)
{
    return out << n.level << " " << n.text << " " << n.image << "/" << n.selectedImage << " ^" << n.parent;
}

std::vector<Shown> shown(const OrgTree& tree)
{
    std::vector<Shown> result;
    for (const OrgNode& n : tree.nodes())
        result.push_back({n.level, gbk::toUtf8(n.text), n.imageIndex, n.selectedImageIndex, n.parent});
    return result;
}

void writeOrganisations(ScratchDb& db)
{
    db.run({
        "create table t_scbjg (dm text, dwmc text, jb integer, szds text)",
        "create view v_ssjg as select dm, dwmc from t_scbjg where jb = 1",
        "create view v_dsjg as select dm, dwmc from t_scbjg where jb = 2",
        "create view v_kdjg as select dm, dwmc, szds from t_scbjg where jb = 3",
    });
}

void org(ScratchDb& db, const std::string& dm, const std::string& dwmc, int jb, const std::string& szds = "")
{
    db.run({"insert into t_scbjg values ('" + dm + "', '" + dwmc + "', " + std::to_string(jb) + ", '" + szds + "')"});
}

TEST(BuildOrgTree, ReadsRootProvincesCitiesAndSitesInCodeOrder)
{
    ScratchDb db;
    writeOrganisations(db);
    // Written out of order: each level comes back sorted by code.
    org(db, "12", "天津", 1);
    org(db, "11", "北京", 1);
    org(db, "13", "河北", 1); // no cities: a leaf
    org(db, "00", "全国", 0);
    org(db, "1105", "朝阳", 2);
    org(db, "1101", "东城", 2);
    org(db, "1199", "无考点", 2); // no sites: a leaf
    org(db, "110", "三位", 2);    // matches 11%: shown by its last two characters
    org(db, "0111", "他省", 2);   // contains 11 but does not begin with it
    org(db, "1201", "和平", 2);
    org(db, "9", "单字省", 1);
    org(db, "9", "单字市", 2); // a one-character city code shows alone
    org(db, "110502", "第二中学", 3, "1105");
    org(db, "110501", "第一中学", 3, "1105");
    org(db, "110101", "东城中学", 3, "1101");
    org(db, "120101", "和平中学", 3, "1201");
    org(db, "110999", "错城", 3, "110"); // belongs to the city 110

    OrgTree tree;
    BuildOrgTree(tree, db.connection());

    const std::vector<Shown> expected = {
        {0, "00-全国", 1, 0, -1},         {1, "11-北京", 3, 2, 0},         {2, "10-三位", 5, 4, 1},
        {3, "110999-错城", 7, 6, 2},      {2, "01-东城", 5, 4, 1},         {3, "110101-东城中学", 7, 6, 4},
        {2, "05-朝阳", 5, 4, 1},          {3, "110501-第一中学", 7, 6, 6}, {3, "110502-第二中学", 7, 6, 6},
        {2, "99-无考点", 5, 4, 1},        {1, "12-天津", 3, 2, 0},         {2, "01-和平", 5, 4, 10},
        {3, "120101-和平中学", 7, 6, 11}, {1, "13-河北", 3, 2, 0},         {1, "9-单字省", 3, 2, 0},
        {2, "9-单字市", 5, 4, 14},
    };
    EXPECT_EQ(shown(tree), expected);
    EXPECT_EQ(tree.node(0).children, (std::vector<int>{1, 10, 13, 14}));
    EXPECT_EQ(tree.node(6).children, (std::vector<int>{7, 8}));
    EXPECT_TRUE(tree.node(9).children.empty());
    EXPECT_TRUE(tree.node(13).children.empty());
}

TEST(BuildOrgTree, WithoutANationalRowTheRootIsZuvo)
{
    ScratchDb empty;
    writeOrganisations(empty);
    OrgTree bare;
    BuildOrgTree(bare, empty.connection());
    EXPECT_EQ(shown(bare), (std::vector<Shown>{{0, "00-Zuvo", 1, 0, -1}}));

    ScratchDb provincesOnly;
    writeOrganisations(provincesOnly);
    org(provincesOnly, "11", "北京", 1);
    OrgTree tree;
    BuildOrgTree(tree, provincesOnly.connection());
    EXPECT_EQ(shown(tree), (std::vector<Shown>{{0, "00-Zuvo", 1, 0, -1}, {1, "11-北京", 3, 2, 0}}));
}

// The statements a build runs, in order.
std::vector<std::string> statementsOf(ScratchDb& db, OrgTree& tree)
{
    std::vector<std::string> statements;
    db.connection().setStatementListener([&statements](const std::string& sql) { statements.push_back(sql); });
    BuildOrgTree(tree, db.connection());
    db.connection().setStatementListener({});
    return statements;
}

TEST(BuildOrgTree, ReadsEachLevelWithOneStatementWhateverTheTreesSize)
{
    ScratchDb db;
    writeOrganisations(db);
    org(db, "11", "北京", 1);
    org(db, "12", "天津", 1);
    org(db, "1101", "东城", 2);
    org(db, "1105", "朝阳", 2);
    org(db, "1201", "和平", 2);
    org(db, "110101", "东城中学", 3, "1101");

    OrgTree tree;
    const std::vector<std::string> expected = {
        "select dwmc from t_scbjg where jb=0 ",
        "select dm,dwmc from v_ssjg order by dm",
        "select dm,dwmc from v_dsjg order by dm",
        "select dm,dwmc,szds from v_kdjg order by dm",
    };
    EXPECT_EQ(statementsOf(db, tree), expected);
    EXPECT_EQ(tree.size(), 7);
}

// Where a code is not plain digits, the server's LIKE and = may judge it otherwise than
// "begins with" and "the same bytes" (wildcards, letter case, blanks, a number column), so
// the tree is read statement by statement and shows what those statements give.
TEST(BuildOrgTree, CodesOtherThanPlainDigitsAreMatchedByTheServer)
{
    struct Case {
        const char* what;
        std::vector<std::vector<std::string>> organisations; // dm, dwmc, jb, szds
        std::vector<Shown> expected;
    };
    const std::vector<Case> cases = {
        {"a wildcard in a province code",
         {{"1_", "通配", "1", ""}, {"1101", "东城", "2", ""}, {"1201", "和平", "2", ""}, {"2101", "沈阳", "2", ""}},
         {{0, "00-Zuvo", 1, 0, -1}, {1, "1_-通配", 3, 2, 0}, {2, "01-东城", 5, 4, 1}, {2, "01-和平", 5, 4, 1}}},
        {"letters in another case",
         {{"a1", "甲", "1", ""}, {"A101", "乙", "2", ""}, {"A101X1", "丙", "3", "a101"}},
         {{0, "00-Zuvo", 1, 0, -1}, {1, "a1-甲", 3, 2, 0}, {2, "01-乙", 5, 4, 1}}},
        {"a city code with a leading zero",
         {{"0", "零", "1", ""}, {"0101", "零一", "2", ""}, {"010101", "零一中学", "3", "0101"}},
         {{0, "00-Zuvo", 1, 0, -1}, {1, "0-零", 3, 2, 0}, {2, "01-零一", 5, 4, 1}, {3, "010101-零一中学", 7, 6, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDb db;
        writeOrganisations(db);
        for (const auto& o : c.organisations)
            org(db, o[0], o[1], std::stoi(o[2]), o[3]);
        OrgTree tree;
        const auto statements = statementsOf(db, tree);
        EXPECT_EQ(shown(tree), c.expected);
        EXPECT_TRUE(std::any_of(statements.begin(), statements.end(), [](const std::string& s) {
            return s.rfind("select dm,dwmc from v_dsjg where dm like ", 0) == 0;
        }));
    }
}

TEST(BuildOrgTree, AFailureHalfWayKeepsTheNodesAddedSoFar)
{
    ScratchDb db;
    writeOrganisations(db);
    org(db, "00", "全国", 0);
    org(db, "11", "北京", 1);
    org(db, "12", "天津", 1);
    org(db, "1101", "东城", 2);
    db.run({"drop view v_kdjg"});

    OrgTree tree;
    try {
        BuildOrgTree(tree, db.connection());
        FAIL() << "no error without v_kdjg";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "no such table: v_kdjg");
    }
    const std::vector<Shown> expected = {{0, "00-全国", 1, 0, -1}, {1, "11-北京", 3, 2, 0}, {2, "01-东城", 5, 4, 1}};
    EXPECT_EQ(shown(tree), expected);
    // Nothing of the failed build holds the database: its tables can still be changed.
    db.run({"drop table t_scbjg"});
}

// A level that cannot be read ends the build where the statement per province and city
// would have ended it, with the nodes those statements added before it.
TEST(BuildOrgTree, AFailureAtAnyLevelKeepsWhatTheStatementsBeforeItAdded)
{
    const std::vector<std::pair<std::string, std::vector<Shown>>> cases = {
        {"v_ssjg", {{0, "00-全国", 1, 0, -1}}},
        {"v_dsjg", {{0, "00-全国", 1, 0, -1}, {1, "11-北京", 3, 2, 0}}},
    };
    for (const auto& [view, expected] : cases) {
        SCOPED_TRACE(view);
        ScratchDb db;
        writeOrganisations(db);
        org(db, "00", "全国", 0);
        org(db, "11", "北京", 1);
        org(db, "1101", "东城", 2);
        db.run({"drop view " + view});
        OrgTree tree;
        try {
            BuildOrgTree(tree, db.connection());
            ADD_FAILURE() << "no error without " << view;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.message(), "no such table: " + view);
        }
        EXPECT_EQ(shown(tree), expected);
    }
}

TEST(BuildOrgTree, AppendsToATreeThatAlreadyHasNodes)
{
    ScratchDb db;
    writeOrganisations(db);
    OrgTree tree;
    tree.addNode(OrgTree::kNoParent, "xx", 9, 9);
    BuildOrgTree(tree, db.connection());
    ASSERT_EQ(tree.size(), 2);
    EXPECT_EQ(tree.node(1).text, "00-Zuvo");
    EXPECT_EQ(tree.node(1).level, 0);
}

} // namespace
