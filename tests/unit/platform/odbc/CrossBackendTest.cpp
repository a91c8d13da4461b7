// The system's own statements give the same rows through the embedded SQLite connection
// and through ODBC on the same demo examination data: the SQLite ODBC driver on the same
// file, and psqlODBC on a PostgreSQL server holding a copy of it.
#include "OdbcFixture.hpp"

#include "plain/DemoDb.hpp"
#include "plain/PostgresDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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

enum class Server { SqliteOdbc, Postgres };

struct CrossCase {
    Server server;
    int generation;
};

// Servers fold unquoted names to their own letter case (PostgreSQL: lower); the system
// looks fields up without regard to it.
std::vector<std::string> lowered(std::vector<std::string> names)
{
    for (auto& name : names)
        name = text::lowerAscii(name);
    return names;
}

class CrossBackend : public ::testing::TestWithParam<CrossCase> {
protected:
    CrossBackend() : db(options()) {}

    void SetUp() override
    {
        if (GetParam().server == Server::Postgres) {
            if (!postgresServer())
                GTEST_SKIP() << kNoPostgres;
            postgres = std::make_unique<PostgresDb>();
            postgres->load(db);
        }
        sqlite.open();
        odbc.setConnectionString(odbcConnectionString());
        odbc.open();
    }

    static demodb::Options options()
    {
        auto o = DemoDb::smallOptions();
        o.generation = GetParam().generation;
        o.candidates = 400;
        return o;
    }

    std::string odbcConnectionString() const
    {
        if (postgres)
            return postgres->connectionString();
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
        EXPECT_EQ(lowered(viaOdbc.names), lowered(viaSqlite.names));
        EXPECT_EQ(viaOdbc.rows, viaSqlite.rows);
        if (rowsExpected) {
            EXPECT_FALSE(viaSqlite.rows.empty());
        }
    }

    DemoDb db;
    std::unique_ptr<PostgresDb> postgres;
    TADOConnection sqlite{db.connectionString()};
    TADOConnection odbc;
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
    const int generation = GetParam().generation;
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

TEST_P(CrossBackend, ScoreUpdatesCountAndLandAlike)
{
    const auto zkzh = db.summary().samples.unscored.zkzh;
    const auto scoreOf = "select tttt from t_omr where zkzh=" + text::quoted(zkzh);
    // An update through one connection; on PostgreSQL, which holds a copy of the rows, the
    // same update goes through the other one as well and must count the same rows.
    const bool sharedFile = GetParam().server == Server::SqliteOdbc;
    const auto save = [&](TADOConnection& writer, const std::string& score, const std::string& number) {
        const auto sql = "update t_omr set tttt=" + text::quoted(score) + " where zkzh=" + text::quoted(number);
        const long count = writer.execute(sql);
        if (!sharedFile) {
            EXPECT_EQ((&writer == &odbc ? sqlite : odbc).execute(sql), count) << sql;
        }
        return count;
    };

    EXPECT_EQ(save(odbc, "8'5", zkzh), 1);
    EXPECT_EQ(run(sqlite, scoreOf).rows, (std::vector<Row>{{"8'5"}}));
    expectSame(scoreOf);
    EXPECT_EQ(save(sqlite, "27.5", zkzh), 1);
    EXPECT_EQ(run(odbc, scoreOf).rows, (std::vector<Row>{{"27.5"}}));

    EXPECT_EQ(save(odbc, "1", "4no-such"), 0);
    EXPECT_EQ(save(sqlite, "1", "4no-such"), 0);
    expectSame(kListHead + "order by b.zkzh");
}

// A failing statement fails alike on every connection: a database error carrying the
// provider's own description, without driver names in front or a full stop behind, and
// the connection goes on working.
TEST_P(CrossBackend, FailuresComeAsTheProvidersDescription)
{
    const struct {
        const char* sql;
        const char* mentions;
    } cases[] = {
        {"select zkzh from t_nosuch", "t_nosuch"},
        {"update t_omr set nosuch='1' where zkzh='4'", "nosuch"},
        {"selec zkzh from t_omr", "selec"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        for (auto* connection : {&sqlite, &odbc}) {
            try {
                connection->execute(c.sql);
                ADD_FAILURE() << "no error";
            } catch (const EDatabaseError& e) {
                const std::string message = e.what();
                EXPECT_NE(message.find(c.mentions), std::string::npos) << message;
                EXPECT_NE(message.front(), '[') << message;
                EXPECT_NE(message.back(), '.') << message;
            }
        }
    }
    expectSame("select dbversion from t_version");
}

INSTANTIATE_TEST_SUITE_P(Servers, CrossBackend,
                         ::testing::Values(CrossCase{Server::SqliteOdbc, 1}, CrossCase{Server::SqliteOdbc, 2},
                                           CrossCase{Server::Postgres, 1}, CrossCase{Server::Postgres, 2}),
                         [](const ::testing::TestParamInfo<CrossCase>& param) {
                             return std::string(param.param.server == Server::Postgres ? "postgres" : "sqliteOdbc") +
                                    "Generation" + std::to_string(param.param.generation);
                         });

} // namespace
} // namespace skorvin::test
