// The ODBC backend against a real driver: the SQLite ODBC driver on real files.
#include "OdbcFixture.hpp"

#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/connection/ConnectionBackend.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace skorvin::test {
namespace {

using ado::openOdbcBackend;

// Every case runs under the C locale and under a UTF-8 one.
class LocaleTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!locale.active())
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    }

    LocaleScope locale{GetParam()};
};

class OdbcBackendTest : public LocaleTest {
protected:
    void SetUp() override
    {
        LocaleTest::SetUp();
        if (IsSkipped())
            return;
        db.run({"create table t_org (dm varchar(10), dwmc varchar(40), n int)",
                "insert into t_org values ('1101', '北京市', 1), ('1102', NULL, 2), ('1201', '', 3)"});
        backend = openOdbcBackend(ado::ConnectionString(db.odbcConnectionString()));
    }

    Rows query(const std::string& sql, const std::vector<ado::FieldValue>& params = {})
    {
        Rows rows;
        backend->query(sql, params, rows);
        return rows;
    }

    SqliteFile db;
    std::unique_ptr<ado::ConnectionBackend> backend;
};

TEST_P(OdbcBackendTest, QueryHandsOverColumnsAndRowsInOrderKeepingNullApartFromEmpty)
{
    const auto result = query("select dm, dwmc, n from t_org order by dm");
    EXPECT_EQ(result.names, (std::vector<std::string>{"dm", "dwmc", "n"}));
    const std::vector<Row> expected{{"1101", gbkText("北京市"), "1"}, {"1102", std::nullopt, "2"}, {"1201", "", "3"}};
    EXPECT_EQ(result.rows, expected);
}

TEST_P(OdbcBackendTest, QueryWithoutRowsStillNamesItsColumns)
{
    const auto result = query("select dm, dwmc from t_org where dm = 'none'");
    EXPECT_EQ(result.names, (std::vector<std::string>{"dm", "dwmc"}));
    EXPECT_TRUE(result.rows.empty());
}

TEST_P(OdbcBackendTest, ChineseTextTravelsAsGbkAndIsStoredAsTheDatabaseText)
{
    // Once in the statement text, once as a parameter; both must land as UTF-8 in the file
    // and come back as the same GBK bytes.
    const auto literal = gbkText("海淀区第一考点");
    const auto bound = gbkText("朝阳区·考点“甲”");
    backend->execute("insert into t_org (dm, dwmc) values ('2001', " + text::quoted(literal) + ")", {});
    backend->execute("insert into t_org (dm, dwmc) values ('2002', ?)", {bound});

    EXPECT_EQ(db.select("select dwmc from t_org where dm like '200%' order by dm"),
              (std::vector<Row>{{"海淀区第一考点"}, {"朝阳区·考点“甲”"}}));
    EXPECT_EQ(query("select dwmc from t_org where dm like '200%' order by dm").rows,
              (std::vector<Row>{{literal}, {bound}}));
    EXPECT_EQ(query("select dm from t_org where dwmc = " + text::quoted(literal)).rows, (std::vector<Row>{{"2001"}}));
}

TEST_P(OdbcBackendTest, LongTextsArriveWhole)
{
    // Lengths around the size of one read piece and far beyond it, in ASCII and in Chinese.
    for (const std::size_t length : {4095u, 4096u, 4097u, 8192u, 50000u}) {
        for (const char* unit : {"x", "考"}) {
            std::string utf8;
            for (std::size_t i = 0; i < length; ++i)
                utf8 += (i % 1000 == 999) ? std::string("|") : std::string(unit);
            const auto value = gbk::fromUtf8(utf8);
            SCOPED_TRACE(std::to_string(length) + " x " + unit);
            backend->execute("delete from t_org", {});
            backend->execute("insert into t_org (dm, dwmc) values ('1', ?)", {value});
            const auto result = query("select dwmc, dm from t_org");
            ASSERT_EQ(result.rows.size(), 1u);
            EXPECT_EQ(result.rows[0][0], value);
            EXPECT_EQ(result.rows[0][1], "1");
            EXPECT_EQ(db.select("select dwmc from t_org")[0][0], utf8);
        }
    }
}

TEST_P(OdbcBackendTest, ManyRowsAllArriveInOrder)
{
    db.run({"create table t_many (zkzh varchar(20), xm varchar(20))",
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < 30000) "
            "insert into t_many select printf('4%011d', i), '考生' || i from n"});
    const auto result = query("select zkzh, xm from t_many order by zkzh");
    ASSERT_EQ(result.rows.size(), 30000u);
    EXPECT_EQ(result.rows.front(), (Row{"400000000001", gbkText("考生1")}));
    EXPECT_EQ(result.rows[12344], (Row{"400000012345", gbkText("考生12345")}));
    EXPECT_EQ(result.rows.back(), (Row{"400000030000", gbkText("考生30000")}));
}

TEST_P(OdbcBackendTest, ParametersBindAsTextAndNullAsNull)
{
    EXPECT_EQ(query("select dm from t_org where dm like ? order by dm", {"11%"}).rows,
              (std::vector<Row>{{"1101"}, {"1102"}}));
    EXPECT_EQ(query("select dm from t_org where dm = ?", {"1201"}).rows, (std::vector<Row>{{"1201"}}));
    EXPECT_EQ(query("select dm from t_org where dwmc = ? and dm like ?", {gbkText("北京市"), "11%"}).rows,
              (std::vector<Row>{{"1101"}}));

    backend->execute("insert into t_org (dm, dwmc) values (?, ?)", {"3001", std::nullopt});
    backend->execute("insert into t_org (dm, dwmc) values (?, ?)", {"3002", ""});
    EXPECT_EQ(db.select("select dwmc is null, dwmc from t_org where dm like '300%' order by dm"),
              (std::vector<Row>{{"1", std::nullopt}, {"0", ""}}));
}

TEST_P(OdbcBackendTest, ExecuteReportsTheRowsItAffected)
{
    const struct {
        const char* sql;
        long rows;
    } cases[] = {
        {"update t_org set n = 9 where dm like '11%'", 2},
        {"update t_org set n = 9 where dm = 'none'", 0},
        {"insert into t_org (dm) values ('5001')", 1},
        {"delete from t_org", 4},
        {"delete from t_org", 0},
        {"create table t_other (x int)", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backend->execute(c.sql, {}), c.rows) << c.sql;
}

TEST_P(OdbcBackendTest, QuotesInValuesAreStoredIntact)
{
    const std::string score = "8'5";
    const std::string number = "4'11''01";
    backend->execute("insert into t_org (dm, dwmc) values (" + text::quoted(number) + ", 'x')", {});
    EXPECT_EQ(
        backend->execute("update t_org set dwmc=" + text::quoted(score) + " where dm=" + text::quoted(number), {}), 1);
    backend->execute("insert into t_org (dm, dwmc) values (?, ?)", {"q2", "it's \"quoted\""});
    EXPECT_EQ(db.select("select dm, dwmc from t_org where dm in ('4''11''''01', 'q2') order by dm"),
              (std::vector<Row>{{number, score}, {"q2", "it's \"quoted\""}}));
}

TEST_P(OdbcBackendTest, StatementErrorsCarryTheDriversMessageWithoutPrefixes)
{
    const struct {
        const char* sql;
        std::vector<ado::FieldValue> params;
        const char* message;
    } cases[] = {
        {"select * from t_missing", {}, "no such table: t_missing"},
        {"select nocolumn from t_org", {}, "no such column: nocolumn"},
        {"selec dm from t_org", {}, "near \"selec\": syntax error"},
        {"select dm from t_org where dm = ?", {"1", "2"}, "The statement has 1 parameter(s) but 2 value(s) were given"},
        {"select dm from t_org where dm = ? and n = ?", {"1"}, "The statement has 2 parameter(s) but 1 value(s)"},
        {"select * from 无此表", {}, "no such table: 无此表"},
        {"select * from t_missing where dm = ?", {"1"}, "no such table: t_missing"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        for (const bool asQuery : {true, false}) {
            try {
                if (asQuery)
                    query(gbkText(c.sql), c.params);
                else
                    backend->execute(gbkText(c.sql), c.params);
                ADD_FAILURE() << "no error";
            } catch (const EDatabaseError& e) {
                const std::string message = e.message();
                EXPECT_EQ(message.find('['), std::string::npos) << message;
                EXPECT_FALSE(message.empty());
                EXPECT_NE(message.back(), '.') << message;
                EXPECT_EQ(message.rfind(gbkText(c.message), 0), 0u) << gbk::toUtf8(message);
            }
        }
    }
    // The failed statements left the connection fit for the next one.
    EXPECT_EQ(query("select count(*) from t_org").rows, (std::vector<Row>{{"3"}}));
}

// A column name longer than the first buffer the driver is handed arrives whole, though
// the SQLite driver cuts it to the buffer without a warning. (Its messages stop at about
// 500 bytes inside the driver, so they cannot show the same here.)
TEST_P(OdbcBackendTest, LongColumnNamesArriveWhole)
{
    std::string longName;
    for (int i = 0; i < 300; ++i)
        longName += gbkText("考点");
    const auto names = query("select dm as \"" + longName + "\", n from t_org where dm = '1101'").names;
    EXPECT_EQ(names, (std::vector<std::string>{longName, "n"}));
}

using OdbcConnect = LocaleTest;

TEST_P(OdbcConnect, BadConnectionsFailWithAClearMessage)
{
    TempDir dir;
    const auto missing = (dir / "missing.sqlite").string();
    const struct {
        std::string connection;
        std::string message;
    } cases[] = {
        {"garbage", "Data source name not found and no default driver specified"},
        {"DSN=NoSuchDataSource", "Data source name not found and no default driver specified"},
        {"Driver=NoSuchDriver;Database=x", "Can't open lib 'NoSuchDriver'"},
        {"Driver=" + sqliteOdbcDriver() + ";Database=" + missing,
         "The database file \"" + missing + "\" does not exist"},
        {"Driver=" + sqliteOdbcDriver() + ";Database=", "The database file \"\" does not exist"},
        {"Driver=" + sqliteOdbcDriver() + ";Database=" + dir.path().string(),
         "The database file \"" + dir.path().string() + "\" does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connection);
        try {
            openOdbcBackend(ado::ConnectionString(c.connection));
            ADD_FAILURE() << "connected";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.message().rfind(c.message, 0), 0u) << e.message();
            EXPECT_EQ(e.message().find("[unixODBC]"), std::string::npos);
        }
    }
    // A missing examination database is never created as an empty one.
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_P(OdbcConnect, DatabaseInAFolderWithAChineseName)
{
    SqliteFile db(std::filesystem::path(u8"考试数据") / u8"考场.sqlite");
    db.run({"create table t_version (dbversion varchar(10))", "insert into t_version values ('3.00')"});
    const auto backend = openOdbcBackend(ado::ConnectionString(db.odbcConnectionString()));
    Rows rows;
    backend->query("select dbversion from t_version", {}, rows);
    EXPECT_EQ(rows.rows, (std::vector<Row>{{"3.00"}}));
}

INSTANTIATE_TEST_SUITE_P(Locales, OdbcBackendTest, ::testing::ValuesIn(kLocales));
INSTANTIATE_TEST_SUITE_P(Locales, OdbcConnect, ::testing::ValuesIn(kLocales));

} // namespace
} // namespace skorvin::test
