// The system's own statements give the same rows through the embedded SQLite connection
// and through ODBC (the SQLite ODBC driver) on one demo examination database.
#include "OdbcFixture.hpp"

#include "plain/DemoDb.hpp"
#include "platform/Text.hpp"
#include "platform/ado/TADOConnection.hpp"

#include <gtest/gtest.h>

namespace skorvin::test {
namespace {

using ado::FieldValue;
using ado::TADOConnection;

struct Result {
    std::vector<std::string> names;
    std::vector<Row> rows;
    bool operator==(const Result&) const = default;
};

Result run(TADOConnection& connection, const std::string& sql, const std::vector<FieldValue>& params = {})
{
    Rows sink;
    connection.query(sql, params, sink);
    return {sink.names, sink.rows};
}

// The candidate list statement: the common head, then what the selected level adds.
const std::string kListHead = " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  "
                              "(UPPER(qk)<>'Q' or qk Is Null)) b left join t_bm a on a.zkzh=b.zkzh  ";

class CrossBackend : public ::testing::TestWithParam<int> {
protected:
    CrossBackend() : db(options())
    {
        sqlite.open();
        odbc.open();
    }

    static demodb::Options options()
    {
        auto o = DemoDb::smallOptions();
        o.generation = GetParam();
        o.candidates = 400;
        return o;
    }

    std::string odbcConnectionString() const
    {
        const auto u8 = db.path().u8string();
        return "Driver=" + sqliteOdbcDriver() + ";Database=" + gbk::fromUtf8(std::string(u8.begin(), u8.end()));
    }

    const demodb::Organisation& first(int level) const
    {
        for (const auto& org : db.summary().organisations)
            if (org.level == level)
                return org;
        throw std::logic_error("no organisation of that level");
    }

    // Runs the statement on both connections; both must answer alike, and with rows
    // unless told otherwise, so that two empty answers prove nothing.
    void expectSame(const std::string& sql, const std::vector<FieldValue>& params = {}, bool rowsExpected = true)
    {
        SCOPED_TRACE(gbk::toUtf8(sql));
        const auto viaSqlite = run(sqlite, sql, params);
        const auto viaOdbc = run(odbc, sql, params);
        EXPECT_EQ(viaOdbc.names, viaSqlite.names);
        EXPECT_EQ(viaOdbc.rows, viaSqlite.rows);
        if (rowsExpected) {
            EXPECT_FALSE(viaSqlite.rows.empty());
        }
    }

    DemoDb db;
    TADOConnection sqlite{db.connectionString()};
    TADOConnection odbc{odbcConnectionString()};
};

TEST_P(CrossBackend, SettingsVersionAndOrganisationStatements)
{
    const auto& province = first(1);
    const auto& city = first(2);
    expectSame("select * from t_setting");
    expectSame("select dbversion from t_version");
    expectSame("select dwmc from t_scbjg where jb=0 ");
    expectSame("select dm,dwmc from v_ssjg order by dm");
    expectSame("select dm,dwmc from v_dsjg where dm like :dm order by dm", {province.code + "%"});
    expectSame("select dm,dwmc from v_kdjg where szds=:dsdm order by dm", {city.code});
    expectSame("select dm,dwmc from v_kdjg where szds=:dsdm order by dm", {"9999"}, false);
}

TEST_P(CrossBackend, CandidateListForEveryLevel)
{
    const int generation = GetParam();
    const auto siteLength = generation == 1 ? 4 : 6;
    const auto width = std::to_string(siteLength);
    const auto& province = first(1);
    const auto& city = first(2);
    const auto& site = first(3);

    expectSame(kListHead + "order by b.zkzh");
    expectSame(kListHead + "where  SubString(b.zkzh,5,2)=" + text::quoted(province.code) + " order by b.zkzh");
    expectSame(kListHead + "where SubSTring(b.zkzh,5," + width +
               ") in (select dm from v_kdjg where szds=" + text::quoted(city.code) + ")" + " order by b.zkzh");
    expectSame(kListHead + "where SubString(b.zkzh,5," + width +
               ")=" + text::quoted(text::left(site.code, siteLength)) + " order by b.zkzh");
    expectSame(kListHead + "where  SubString(b.zkzh,5,2)='99' order by b.zkzh", {}, false);

    // The whole list is what the generator says it holds, names and all.
    const auto all = run(odbc, kListHead + "order by b.zkzh");
    EXPECT_EQ(static_cast<std::int64_t>(all.rows.size()), db.summary().counts(0, "00").listed);
    EXPECT_EQ(all.names, (std::vector<std::string>{"zkzh", "tttt", "xm"}));
}

TEST_P(CrossBackend, ScoreUpdateSeenByBothConnections)
{
    const auto zkzh = db.summary().samples.unscored.zkzh;
    const auto update = [&](const std::string& score, const std::string& number) {
        return "update t_omr set tttt=" + text::quoted(score) + " where zkzh=" + text::quoted(number);
    };
    const auto scoreOf = "select tttt from t_omr where zkzh=" + text::quoted(zkzh);

    EXPECT_EQ(odbc.execute(update("8'5", zkzh)), 1);
    EXPECT_EQ(run(sqlite, scoreOf).rows, (std::vector<Row>{{"8'5"}}));
    EXPECT_EQ(sqlite.execute(update("27.5", zkzh)), 1);
    EXPECT_EQ(run(odbc, scoreOf).rows, (std::vector<Row>{{"27.5"}}));

    EXPECT_EQ(odbc.execute(update("1", "4no-such")), 0);
    EXPECT_EQ(sqlite.execute(update("1", "4no-such")), 0);
    expectSame(kListHead + "order by b.zkzh");
}

INSTANTIATE_TEST_SUITE_P(Generations, CrossBackend, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "generation" + std::to_string(param.param);
                         });

} // namespace
} // namespace skorvin::test
