// Changing a score through every backend: the read of the stored score, the compare-and-set
// over it (forced or not), the decision "candidate gone" made by reading, not by the driver's
// row count, and a change that meets another session's lock or a lost server connection.
#include "exam/ScoreSave.hpp"
#include "plain/NativeOdbcDriver.hpp"
#include "plain/PostgresDb.hpp"
#include "plain/SqliteOdbcDriver.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/ProviderError.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

using namespace skorvin;

namespace {

enum class Backend { Sqlite, Odbc, Postgres };

// t_omr as a table, or as a view whose updates a trigger carries out: SQLite then counts no
// changed rows, as SQL Server does for every update under SET NOCOUNT ON.
enum class Counting { Counted, Silent };

struct SaveCase {
    Backend backend;
    Counting counting;
};

std::string caseName(const SaveCase& c)
{
    static const char* const backends[] = {"Sqlite", "Odbc", "Postgres"};
    return std::string(backends[static_cast<int>(c.backend)]) +
           (c.counting == Counting::Counted ? "Counted" : "Silent");
}

class ScoreSave : public ::testing::TestWithParam<SaveCase> {
protected:
    void SetUp() override
    {
        if (GetParam().backend != Backend::Sqlite && !test::kOdbcDriversHere)
            GTEST_SKIP() << test::kNoOdbcDriver;
        if (GetParam().backend == Backend::Postgres) {
            if (!test::postgresServer())
                GTEST_SKIP() << test::kNoPostgres;
            postgres_ = std::make_unique<test::PostgresDb>();
        } else {
            std::ofstream(dir_ / "exam.sqlite", std::ios::binary);
        }
        ado::TADOConnection setup(connectionString());
        setup.open();
        if (GetParam().counting == Counting::Counted) {
            setup.execute("create table t_omr (zkzh text, tttt text, qk text)");
        } else {
            setup.execute("create table omr_rows (zkzh text, tttt text, qk text)");
            setup.execute("create view t_omr as select * from omr_rows");
            setup.execute("create trigger t_omr_update instead of update on t_omr begin "
                          "update omr_rows set tttt = new.tttt where zkzh = old.zkzh; end");
        }
        const std::string table = GetParam().counting == Counting::Counted ? "t_omr" : "omr_rows";
        connection_.setConnectionString(connectionString());
        connection_.open();
        query_.setConnection(&connection_);
        resetRows();
    }

    // The fixture's three candidates: no score (NULL), a score, the empty text.
    static std::map<std::string, ado::FieldValue> initialRows()
    {
        return {{"400100000001", std::nullopt}, {"400100000002", "27.5"}, {"4001'7", ""}};
    }
    void resetRows()
    {
        const std::string table = GetParam().counting == Counting::Counted ? "t_omr" : "omr_rows";
        connection_.execute("delete from " + table);
        connection_.execute(
            "insert into " + table +
            " values ('400100000001', null, null), ('400100000002', '27.5', null), ('4001''7', '', null)");
    }
    std::optional<ado::FieldValue> stored(const std::string& number)
    {
        return exam::readStoredValue(connection_, number);
    }

    // The backend's connection string, with extra keys at its end.
    std::string connectionString(const std::string& extra = {}) const
    {
        const std::string file = (dir_ / "exam.sqlite").string();
        switch (GetParam().backend) {
        case Backend::Sqlite:
            return "Provider=SQLite;Data Source=" + file + extra;
        case Backend::Odbc:
            return "Driver=" + test::sqliteOdbcDriver() + ";Database=" + file + extra;
        case Backend::Postgres:
            break;
        }
        return postgres_->connectionString() + extra;
    }

    test::TempDir dir_;
    std::unique_ptr<test::PostgresDb> postgres_;
    ado::TADOConnection connection_;
    ado::TADOQuery query_{"Save_ADOQ"};
};

TEST(scoreUpdateSql, QuotesScoreAndNumberAndWritesNullAsNull)
{
    EXPECT_EQ(exam::scoreUpdateSql("85.5", "4269110501001"), "update t_omr set tttt='85.5' where zkzh='4269110501001'");
    EXPECT_EQ(exam::scoreUpdateSql("", "4'2"), "update t_omr set tttt='' where zkzh='4''2'");
    EXPECT_EQ(exam::scoreUpdateSql(std::nullopt, "4'2"), "update t_omr set tttt=NULL where zkzh='4''2'");
}

TEST_P(ScoreSave, ReadsWhatTheDatabaseHolds)
{
    EXPECT_EQ(stored("400100000001"), std::optional<ado::FieldValue>(ado::FieldValue()));
    EXPECT_EQ(stored("400100000002"), std::optional<ado::FieldValue>("27.5"));
    EXPECT_EQ(stored("4001'7"), std::optional<ado::FieldValue>(""));
    EXPECT_EQ(stored("499999999999"), std::nullopt);
    // The number is a quoted literal, never statement text.
    EXPECT_EQ(stored("x' or '1'='1"), std::nullopt);
}

// One change on the three candidates of the fixture (NULL, "27.5" and "" stored): what comes
// of it, and what the database holds afterwards, the other candidates untouched.
TEST_P(ScoreSave, AppliesOnlyOverTheExpectedScoreUnlessForced)
{
    using Kind = exam::ScoreApplied::Kind;
    const ado::FieldValue null;
    const struct {
        const char* what;
        exam::ScoreChange change;
        bool force;
        Kind kind;
        ado::FieldValue storedBefore;
        std::optional<ado::FieldValue> after; // nullopt: no such candidate
    } cases[] = {
        {"a first score over NULL", {"400100000001", "", "30"}, false, Kind::Applied, null, "30"},
        {"a quote in the number", {"4001'7", "", "12"}, false, Kind::Applied, "", "12"},
        {"a score replaced", {"400100000002", "27.5", "28"}, false, Kind::Applied, "27.5", "28"},
        {"an undo back to NULL", {"400100000002", "27.5", null}, false, Kind::Applied, "27.5", null},
        {"someone else stored a score", {"400100000002", "", "30"}, false, Kind::Conflict, "27.5", "27.5"},
        {"someone else cleared the score", {"4001'7", "5", null}, false, Kind::Conflict, "", ""},
        {"forced over another score", {"400100000002", "", "30"}, true, Kind::Applied, "27.5", "30"},
        {"a candidate who is gone", {"499999999999", "", "30"}, false, Kind::Gone, null, std::nullopt},
        {"forced for a candidate who is gone", {"499999999999", "", "30"}, true, Kind::Gone, null, std::nullopt},
        {"a number that is statement text", {"x' or '1'='1", "", "30"}, true, Kind::Gone, null, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetRows();
        auto expected = initialRows();
        if (c.after)
            expected[c.change.zkzh] = *c.after;
        const exam::ScoreApplied applied = exam::applyScore(query_, c.change, c.force);
        EXPECT_EQ(applied.kind, c.kind);
        EXPECT_EQ(applied.stored, c.storedBefore);
        for (const auto& [number, score] : expected)
            EXPECT_EQ(stored(number), std::optional<ado::FieldValue>(score)) << number;
        EXPECT_EQ(stored(c.change.zkzh), c.after);
    }
}

TEST_P(ScoreSave, ProviderErrorsReachTheCaller)
{
    connection_.execute("drop " + std::string(GetParam().counting == Counting::Counted ? "table" : "view") + " t_omr");
    EXPECT_ANY_THROW(exam::applyScore(query_, {"400100000001", "", "30"}, true));
    EXPECT_ANY_THROW(stored("400100000001"));
}

TEST_P(ScoreSave, AQueryWithoutConnectionNamesItself)
{
    ado::TADOQuery unbound{"Save_ADOQ"};
    try {
        exam::applyScore(unbound, {"400100000001", "", "30"}, false);
        ADD_FAILURE() << "no error without a connection";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Save_ADOQ: Missing Connection or ConnectionString");
    }
}

// Another session holds the candidate's row (SQLite: the whole file) in an open write
// transaction: the save gives up after the connection's command time-out with the provider's
// own message, and once the other session has rolled back the database holds what it held.
TEST_P(ScoreSave, ALockHeldElsewhereEndsTheSaveAfterTheTimeOutChangingNothing)
{
    ado::TADOConnection other(connectionString());
    other.open();
    other.execute(GetParam().backend == Backend::Postgres ? "begin" : "begin immediate");
    const std::string table = GetParam().counting == Counting::Counted ? "t_omr" : "omr_rows";
    other.execute("update " + table + " set tttt='1' where zkzh='400100000002'");

    ado::TADOConnection waiting(connectionString(";Command Timeout=1"));
    waiting.open();
    ado::TADOQuery save{"Save_ADOQ"};
    save.setConnection(&waiting);
    try {
        exam::applyScore(save, {"400100000002", "", "30"}, true);
        ADD_FAILURE() << "the save did not wait for the lock";
    } catch (const EDatabaseError& e) {
        const std::string message = e.what();
        EXPECT_TRUE(message.find("timeout") != std::string::npos || message.find("locked") != std::string::npos)
            << message;
    }
    other.execute("rollback");
    EXPECT_EQ(exam::readStoredValue(waiting, "400100000002"), std::optional<ado::FieldValue>("27.5"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ScoreSave,
                         ::testing::Values(SaveCase{Backend::Sqlite, Counting::Counted},
                                           SaveCase{Backend::Sqlite, Counting::Silent},
                                           SaveCase{Backend::Odbc, Counting::Counted},
                                           SaveCase{Backend::Odbc, Counting::Silent},
                                           SaveCase{Backend::Postgres, Counting::Counted}),
                         [](const ::testing::TestParamInfo<SaveCase>& param) { return caseName(param.param); });

// The demo host's connection across a server restart: it opens itself again after the loss,
// a read is run again on the new connection, an update never is.
class ScoreSaveAcrossServerRestart : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::postgresServer())
            GTEST_SKIP() << test::kNoPostgres;
        postgres_ = std::make_unique<test::PostgresDb>();
        postgres_->run("create table t_omr (zkzh text, tttt text, qk text);"
                       "insert into t_omr values ('400100000001', null, null), ('400100000002', '27.5', null)");
        connection_.setConnectionString(postgres_->connectionString());
        connection_.open();
        save_.setConnection(&connection_);
    }

    // The save's update alone, without the read before it.
    void update(const std::string& score)
    {
        save_.clearSql();
        save_.setSql(exam::scoreUpdateSql(score, "400100000001"));
        save_.execSql();
    }

    std::unique_ptr<test::PostgresDb> postgres_;
    ado::TADOConnection connection_;
    ado::TADOQuery save_{"Save_ADOQ"};
};

TEST_F(ScoreSaveAcrossServerRestart, TheUpdateAfterTheRestartFailsAndTheNextSaveStores)
{
    using Kind = exam::ScoreApplied::Kind;
    connection_.setReopenWhenLost(true);
    EXPECT_EQ(exam::applyScore(save_, {"400100000001", "", "30"}, false).kind, Kind::Applied);
    test::restartPostgres();
    EXPECT_THROW(update("31"), ado::EConnectionLost);
    EXPECT_EQ(exam::applyScore(save_, {"400100000001", "30", "32"}, false).kind, Kind::Applied);
    EXPECT_EQ(exam::readStoredValue(connection_, "400100000001"), std::optional<ado::FieldValue>("32"));

    // A save whose read meets the loss reads again on the reopened connection, and stores.
    test::restartPostgres();
    EXPECT_EQ(exam::applyScore(save_, {"400100000002", "27.5", "28"}, false).kind, Kind::Applied);
    EXPECT_EQ(exam::readStoredValue(connection_, "400100000002"), std::optional<ado::FieldValue>("28"));
}

TEST_F(ScoreSaveAcrossServerRestart, WithoutReopeningTheConnectionStaysLost)
{
    test::restartPostgres();
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_THROW(exam::applyScore(save_, {"400100000001", "", "31"}, true), EDatabaseError);
    EXPECT_THROW(exam::readStoredValue(connection_, "400100000001"), EDatabaseError);
}

} // namespace
