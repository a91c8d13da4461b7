#include "plain/GbkPath.hpp"
#include "plain/ScratchDb.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "platform/connection/ProviderError.hpp"
#include "platform/connection/StatementText.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::ado;

namespace {

// "张三" in GBK.
const std::string kZhangSan = "\xD5\xC5\xC8\xFD";

struct Collected final : RowSink {
    std::vector<std::string> names;
    std::vector<std::vector<FieldValue>> rows;
    void columns(const std::vector<std::string>& n) override { names = n; }
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        auto& r = rows.emplace_back();
        for (const auto& f : fields)
            r.push_back(f ? FieldValue(std::string(*f)) : FieldValue());
    }
};

Collected query(TADOConnection& c, const std::string& sql, const std::vector<FieldValue>& params = {})
{
    Collected out;
    c.query(sql, params, out);
    return out;
}

std::string errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDatabaseError& e) {
        return e.message();
    }
    return "(no error)";
}

std::string connectionTo(const std::filesystem::path& file, const std::string& extra = {})
{
    return "Provider=SQLite;Data Source=" + file.string() + extra;
}

TEST(SqliteConnection, TextRoundTripsAsGbkWithNullApartFromEmpty)
{
    test::ScratchDb db;
    auto& c = db.connection();
    c.execute("create table t (a text, b text, n integer, r real)");
    c.execute("insert into t values (?, ?, ?, ?)", {kZhangSan, std::nullopt, "7", "2.5"});
    c.execute("insert into t values ('', 'O''Brien', 12, 40.0)");

    const auto rows = query(c, "select a, b, n, r from t order by rowid");
    EXPECT_EQ(rows.names, (std::vector<std::string>{"a", "b", "n", "r"}));
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0][0], kZhangSan);
    EXPECT_EQ(rows.rows[0][1], std::nullopt);
    EXPECT_EQ(rows.rows[0][2], "7");
    EXPECT_EQ(rows.rows[0][3], "2.5");
    EXPECT_EQ(rows.rows[1][0], "");
    EXPECT_EQ(rows.rows[1][1], "O'Brien");
    EXPECT_EQ(rows.rows[1][2], "12");
    EXPECT_EQ(rows.rows[1][3], "40.0");

    // The file holds UTF-8, so SQLite's own functions count characters, not bytes.
    EXPECT_EQ(query(c, "select length(a) from t where rowid = 1").rows[0][0], "2");
    EXPECT_EQ(query(c, "select a from t where a = ?", {kZhangSan}).rows.size(), 1u);
}

TEST(SqliteConnection, QuotedLiteralsStoreQuotesIntact)
{
    test::ScratchDb db;
    auto& c = db.connection();
    c.execute("create table t_omr (zkzh text, tttt text)");
    c.execute("insert into t_omr values ('4''1', null)");
    const long n = c.execute("update t_omr set tttt=" + text::quoted("1'2''") + " where zkzh=" + text::quoted("4'1"));
    EXPECT_EQ(n, 1);
    EXPECT_EQ(query(c, "select tttt from t_omr").rows[0][0], "1'2''");
}

TEST(SqliteConnection, ExecuteCountsChangedRowsOnly)
{
    test::ScratchDb db;
    auto& c = db.connection();
    EXPECT_EQ(c.execute("create table t (a text)"), 0);
    EXPECT_EQ(c.execute("insert into t values ('1'); insert into t values ('2'); insert into t values ('3')"), 3);
    EXPECT_EQ(c.execute("update t set a = 'x' where a <> '2'"), 2);
    // DDL after a change must not report the change again.
    EXPECT_EQ(c.execute("create table u (b text)"), 0);
    EXPECT_EQ(c.execute("update t set a = 'y' where a = 'none'"), 0);
    EXPECT_EQ(c.execute("delete from t"), 3);
}

TEST(SqliteConnection, NamedParametersBindInOrderOfAppearance)
{
    test::ScratchDb db;
    auto& c = db.connection();
    c.execute("create table v_kdjg (dm text, dwmc text, szds text)");
    c.execute("insert into v_kdjg values ('110101', 'a', '1101'), ('110102', 'b:x', '1101'), ('120101', 'c', '1201')");
    std::vector<std::string> seen;
    c.setStatementListener([&](const std::string& sql) { seen.push_back(sql); });

    const auto sql = "select dm from v_kdjg where szds=:dsdm and dwmc <> ':dm' order by dm";
    const auto rows = query(c, sql, {std::string("1101")});
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[1][0], "110102");
    EXPECT_EQ(seen, std::vector<std::string>{sql});

    EXPECT_EQ(errorOf([&] { query(c, "select dm from v_kdjg where szds=:dsdm and dm=:dm", {std::string("1101")}); }),
              "No value given for one or more required parameters");
    // Values beyond the placeholders are ignored: a query keeps its parameters across texts.
    EXPECT_EQ(query(c, "select count(*) from v_kdjg", {std::string("x")}).rows[0][0], "3");
}

TEST(StatementText, NamedParametersBecomePositionalOutsideLiterals)
{
    struct Case {
        std::string sql, expected;
        std::size_t placeholders;
    };
    const Case cases[] = {
        {"select * from v_dsjg where SubString(dm,1,2)=:dm", "select * from v_dsjg where SubString(dm,1,2)=?", 1},
        {"where a=:a and b = :b_2", "where a=? and b = ?", 2},
        {"where t = '12:30' and u = :u", "where t = '12:30' and u = ?", 1},
        {"where t = 'it''s :not' and u=:u", "where t = 'it''s :not' and u=?", 1},
        {"select \"a:b\", [c:d] from x where y=?", "select \"a:b\", [c:d] from x where y=?", 1},
        {"select a::text, b := 1, c : d", "select a::text, b := 1, c : d", 0},
        // "乗" is 0x81 0x5B in GBK: its trail byte is "[", which must not open a bracketed name.
        {"select \x81\x5B from t where a=:a", "select \x81\x5B from t where a=?", 1},
    };
    for (const auto& c : cases) {
        const auto out = toPositional(c.sql);
        EXPECT_EQ(out.text, c.expected) << c.sql;
        EXPECT_EQ(out.placeholders, c.placeholders) << c.sql;
    }
}

TEST(SqliteConnection, ProviderErrorsGiveTheProvidersText)
{
    test::TempDir dir;
    std::ofstream(dir / "empty.sqlite");
    TADOConnection c(connectionTo(dir / "empty.sqlite"));
    c.open();
    EXPECT_EQ(errorOf([&] { query(c, "select zkzh from t_omr"); }), "no such table: t_omr");
    EXPECT_EQ(errorOf([&] { c.execute("update t_omr set tttt='1'"); }), "no such table: t_omr");
    EXPECT_EQ(errorOf([&] { c.execute("selec 1"); }), "near \"selec\": syntax error");

    // A damaged file is refused at the first statement, not at open.
    {
        std::ofstream damaged(dir / "damaged.sqlite", std::ios::binary);
        damaged << std::string(4096, 'x');
    }
    TADOConnection d(connectionTo(dir / "damaged.sqlite"));
    d.open();
    EXPECT_EQ(errorOf([&] { query(d, "select * from t_omr"); }), "file is not a database");
}

TEST(SqliteConnection, ProviderMessagesLoseTrailingBlanksAndFullStops)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Invalid object name 't_omr'.", "Invalid object name 't_omr'"},
        {"Timeout expired. . \r\n", "Timeout expired"},
        {"No full stop", "No full stop"},
        {"...", ""},
        {"Ends in 3.0.", "Ends in 3.0"},
    };
    for (const auto& [given, expected] : cases)
        EXPECT_EQ(providerMessage(given), expected) << given;
}

TEST(SqliteConnection, MissingFileIsAnErrorAndNoDatabaseIsCreated)
{
    test::TempDir dir;
    const auto missing = dir / "missing.sqlite";
    TADOConnection c(connectionTo(missing));
    EXPECT_EQ(errorOf([&] { c.open(); }), "The database file \"" + missing.string() + "\" does not exist");
    EXPECT_FALSE(c.connected());
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(SqliteConnection, ClosedConnectionRefusesStatements)
{
    test::ScratchDb db;
    TADOConnection never;
    EXPECT_EQ(errorOf([&] { never.execute("select 1"); }), "Operation is not allowed when the object is closed");
    EXPECT_EQ(errorOf([&] { never.open(); }), "The connection string is empty");

    db.connection().close();
    EXPECT_FALSE(db.connection().connected());
    EXPECT_EQ(errorOf([&] { query(db.connection(), "select 1"); }),
              "Operation is not allowed when the object is closed");
    db.connection().open();
    EXPECT_EQ(query(db.connection(), "select 1").rows[0][0], "1");
}

TEST(SqliteConnection, LockedDatabaseFailsWithTheProvidersTextInsteadOfHanging)
{
    test::TempDir dir;
    std::ofstream(dir / "exam.sqlite");
    TADOConnection holder(connectionTo(dir / "exam.sqlite"));
    holder.open();
    holder.execute("create table t (a text)");
    holder.execute("begin exclusive; insert into t values ('1')");

    TADOConnection waiting(connectionTo(dir / "exam.sqlite", ";Busy Timeout=20"));
    waiting.open();
    EXPECT_EQ(errorOf([&] { waiting.execute("insert into t values ('2')"); }), "database is locked");
    holder.execute("commit");
    EXPECT_EQ(waiting.execute("insert into t values ('2')"), 1);
}

TEST(SqliteConnection, GbkFileNamesReachTheFileSystemAsUtf8)
{
    test::TempDir dir;
    const auto utf8Name = gbk::toUtf8(kZhangSan) + ".sqlite";
    std::ofstream(dir.path() / std::filesystem::path(std::u8string(utf8Name.begin(), utf8Name.end())));
    TADOConnection c("Provider=SQLite;Data Source=" + test::gbkName(dir.path()) + "/" + kZhangSan + ".sqlite");
    c.open();
    EXPECT_EQ(query(c, "select 'ok'").rows[0][0], "ok");
}

} // namespace
