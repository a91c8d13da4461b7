#include "exam/CandidateList.hpp"
#include "exam/ScoreSave.hpp"
#include "plain/ScratchDb.hpp"
#include "platform/Gbk.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ScratchDb;

namespace {

struct Row {
    std::string zkzh;
    std::string tttt; // "NULL" for no value
    std::string xm;   // UTF-8; "" when t_bm has no row

    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& r)
{
    return out << r.zkzh << "|" << r.tttt << "|" << r.xm;
}

// The organisations and candidates of two provinces, laid out in the current
// (six-character site) or the older (four-character site) generation.
void writeExam(ScratchDb& db, int generation)
{
    db.run({
        "create table t_omr (zkzh text, tttt text, qk text)",
        "create table t_bm (zkzh text, xm text)",
        "create table t_scbjg (dm text, dwmc text, jb integer, szds text)",
        "create view v_kdjg as select dm, dwmc, szds from t_scbjg where jb = 3",
    });
    const bool current = generation != 1;
    // Sites: two in city 1105, one in city 1101, one in city 1201.
    const std::string s1105a = current ? "110501" : "1151";
    const std::string s1105b = current ? "110502" : "1152";
    const std::string s1101 = current ? "110101" : "1111";
    const std::string s1201 = current ? "120101" : "1211";
    db.run({
        "insert into t_scbjg values ('" + s1105a + "', 'A', 3, '1105')",
        "insert into t_scbjg values ('" + s1105b + "', 'B', 3, '1105')",
        "insert into t_scbjg values ('" + s1101 + "', 'C', 3, '1101')",
        "insert into t_scbjg values ('" + s1201 + "', 'D', 3, '1201')",
    });
    const auto add = [&db](const std::string& zkzh, const char* tttt, const char* qk, const char* xm) {
        const auto lit = [](const char* v) { return v ? "'" + std::string(v) + "'" : std::string("NULL"); };
        db.run({"insert into t_omr values ('" + zkzh + "', " + lit(tttt) + ", " + lit(qk) + ")"});
        if (xm)
            db.run({"insert into t_bm values ('" + zkzh + "', '" + xm + "')"});
    };
    // Inserted out of order: the list sorts by number.
    add("4269" + s1105a + "002", "85", nullptr, "张三");
    add("4269" + s1105a + "001", nullptr, "", "李四");
    add("4269" + s1105b + "001", "70", "q", "缺考甲");
    add("4269" + s1105b + "002", nullptr, "Q", "缺考乙");
    add("4269" + s1105b + "003", "", nullptr, nullptr);
    add("4269" + s1101 + "001", "60", nullptr, "王五");
    add("4269" + s1201 + "001", nullptr, nullptr, "赵六");
    add("3269" + s1105a + "001", nullptr, nullptr, "三级");
    add("A269" + s1105a + "001", nullptr, nullptr, "其他");
}

std::vector<Row> rowsOf(ado::TCustomADODataSet& list)
{
    std::vector<Row> rows;
    for (list.first(); !list.eof(); list.next()) {
        const ado::FieldValue score = list.fieldValue("tttt");
        rows.push_back({list.fieldText("zkzh"), score ? *score : "NULL", gbk::toUtf8(list.fieldText("xm"))});
    }
    return rows;
}

struct ListCase {
    const char* what;
    int generation;
    SelectedNode node;
    std::vector<Row> rows;
};

TEST(RefreshCandidateList, ListsThePresentLevelFourCandidatesOfTheSelectedOrganisation)
{
    const ListCase cases[] = {
        {"root, current generation",
         2,
         {0, "00-Nation", ""},
         {{"4269110101001", "60", "王五"},
          {"4269110501001", "NULL", "李四"},
          {"4269110501002", "85", "张三"},
          {"4269110502003", "", ""},
          {"4269120101001", "NULL", "赵六"}}},
        {"province 11",
         2,
         {1, "11-Name", "00-Nation"},
         {{"4269110101001", "60", "王五"},
          {"4269110501001", "NULL", "李四"},
          {"4269110501002", "85", "张三"},
          {"4269110502003", "", ""}}},
        {"city 1105, current generation",
         2,
         {2, "05-Name", "11-Name"},
         {{"4269110501001", "NULL", "李四"}, {"4269110501002", "85", "张三"}, {"4269110502003", "", ""}}},
        {"city 1105, first generation",
         1,
         {2, "05-Name", "11-Name"},
         {{"42691151001", "NULL", "李四"}, {"42691151002", "85", "张三"}, {"42691152003", "", ""}}},
        {"site 110501",
         2,
         {3, "110501-A", "05-Name"},
         {{"4269110501001", "NULL", "李四"}, {"4269110501002", "85", "张三"}}},
        {"site 1151, first generation",
         1,
         {3, "1151-A", "05-Name"},
         {{"42691151001", "NULL", "李四"}, {"42691151002", "85", "张三"}}},
        {"city without candidates", 2, {2, "09-Name", "11-Name"}, {}},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDb db;
        writeExam(db, c.generation);
        ModuleState state;
        state.SchemaGeneration = c.generation;
        state.SiteCodeLen = c.generation == 1 ? 4 : 6;
        ado::TADODataSet list("Main_AdoSet");
        list.setConnection(&db.connection());
        RefreshCandidateList(list, state, c.node);
        EXPECT_TRUE(list.active());
        EXPECT_EQ(list.fieldNames(), (std::vector<std::string>{"zkzh", "tttt", "xm"}));
        EXPECT_EQ(rowsOf(list), c.rows);
    }
}

class ListedExam : public ::testing::Test {
protected:
    ListedExam()
    {
        writeExam(db, 2);
        state.SchemaGeneration = 2;
        state.SiteCodeLen = 6;
        list.setConnection(&db.connection());
    }

    std::vector<std::string> numbers()
    {
        std::vector<std::string> result;
        for (const Row& r : rowsOf(list))
            result.push_back(r.zkzh);
        return result;
    }

    ScratchDb db;
    ModuleState state;
    ado::TADODataSet list{"Main_AdoSet"};
};

TEST_F(ListedExam, ARefreshReRunsTheStatementAndDropsLocalChanges)
{
    RefreshCandidateList(list, state, {0, "00-Nation", ""});
    ASSERT_EQ(list.recordCount(), 5);
    list.edit();
    list.setFieldValue("tttt", std::string("99"));
    list.post();
    db.run({"update t_omr set tttt = '77' where zkzh = '4269110501001'"});

    RefreshCandidateList(list, state, {3, "110501-A", "05-Name"});
    EXPECT_EQ(rowsOf(list), (std::vector<Row>{{"4269110501001", "77", "李四"}, {"4269110501002", "85", "张三"}}));
}

TEST_F(ListedExam, StatusFiltersSplitNullAndEmptyFromScored)
{
    RefreshCandidateList(list, state, {0, "00-Nation", ""});

    ApplyStatusFilter(list, 0);
    EXPECT_EQ(numbers(), (std::vector<std::string>{"4269110501001", "4269110502003", "4269120101001"}));
    ApplyStatusFilter(list, 1);
    EXPECT_EQ(numbers(), (std::vector<std::string>{"4269110101001", "4269110501002"}));

    // "All" switches filtering off but keeps the text for the next time.
    ApplyStatusFilter(list, 2);
    EXPECT_FALSE(list.filtered());
    EXPECT_EQ(list.filter(), " tttt <> null and tttt<>''");
    EXPECT_EQ(list.recordCount(), 5);

    // Any other index changes nothing.
    ApplyStatusFilter(list, 0);
    for (int index : {3, -1}) {
        ApplyStatusFilter(list, index);
        EXPECT_TRUE(list.filtered());
        EXPECT_EQ(list.filter(), " tttt = null or tttt=''");
        EXPECT_EQ(list.recordCount(), 3);
    }
}

TEST_F(ListedExam, TheFilterHoldsAcrossARefresh)
{
    RefreshCandidateList(list, state, {0, "00-Nation", ""});
    ApplyStatusFilter(list, 1);
    RefreshCandidateList(list, state, {1, "11-Name", "00-Nation"});
    EXPECT_EQ(numbers(), (std::vector<std::string>{"4269110101001", "4269110501002"}));
}

TEST_F(ListedExam, AFailingStatementLeavesTheListClosed)
{
    RefreshCandidateList(list, state, {0, "00-Nation", ""});
    db.run({"drop view v_kdjg"});
    EXPECT_ANY_THROW(RefreshCandidateList(list, state, {2, "05-Name", "11-Name"}));
    EXPECT_FALSE(list.active());
}

TEST_F(ListedExam, ScoresAndNumbersWithQuotesAreStoredIntact)
{
    db.run({"insert into t_omr values ('4''269', NULL, NULL)"});
    EXPECT_EQ(db.connection().execute(scoreUpdateSql("8'5", "4'269")), 1);
    // A number that would widen an unquoted condition matches no row at all.
    EXPECT_EQ(db.connection().execute(scoreUpdateSql("0", "x' or '1'='1")), 0);

    RefreshCandidateList(list, state, {0, "00-Nation", ""});
    const std::vector<Row> rows = rowsOf(list);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front(), (Row{"4'269", "8'5", ""}));
    EXPECT_EQ(rows[1], (Row{"4269110101001", "60", "王五"}));
    EXPECT_EQ(rows[3], (Row{"4269110501002", "85", "张三"}));
}

} // namespace
