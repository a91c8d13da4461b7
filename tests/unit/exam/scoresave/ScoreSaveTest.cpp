// Storing a score through every backend: the read of the stored score, the update, the
// decision "candidate gone" made by reading, not by the driver's row count, and a save that
// meets another session's lock or a lost server connection.
#include "exam/ScoreSave.hpp"
#include "plain/NativeOdbcDriver.hpp"
#include "plain/PostgresDb.hpp"
#include "plain/SqliteOdbcDriver.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/ProviderError.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <fstream>
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
        setup.execute("insert into " + table + " values ('400100000001', null, null)");
        setup.execute("insert into " + table + " values ('400100000002', '27.5', null)");
        setup.execute("insert into " + table + " values ('4001''7', '', null)");
        connection_.setConnectionString(connectionString());
        connection_.open();
        query_.setConnection(&connection_);
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

TEST_P(ScoreSave, ReadsWhatTheDatabaseHolds)
{
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000001"), std::optional<std::string>(""));
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000002"), std::optional<std::string>("27.5"));
    EXPECT_EQ(exam::readStoredScore(connection_, "4001'7"), std::optional<std::string>(""));
    EXPECT_EQ(exam::readStoredScore(connection_, "499999999999"), std::nullopt);
    // The number is a quoted literal, never statement text.
    EXPECT_EQ(exam::readStoredScore(connection_, "x' or '1'='1"), std::nullopt);
}

TEST_P(ScoreSave, StoresForAListedCandidateWhateverTheDriverCounts)
{
    EXPECT_TRUE(exam::storeScore(query_, "30", "400100000001"));
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000001"), std::optional<std::string>("30"));
    EXPECT_TRUE(exam::storeScore(query_, "12", "4001'7"));
    EXPECT_EQ(exam::readStoredScore(connection_, "4001'7"), std::optional<std::string>("12"));
    // The other candidates keep their scores.
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000002"), std::optional<std::string>("27.5"));
}

TEST_P(ScoreSave, ReportsACandidateWhoIsGone)
{
    EXPECT_FALSE(exam::storeScore(query_, "30", "499999999999"));
    EXPECT_EQ(exam::readStoredScore(connection_, "499999999999"), std::nullopt);
}

TEST_P(ScoreSave, ProviderErrorsReachTheCaller)
{
    connection_.execute("drop " + std::string(GetParam().counting == Counting::Counted ? "table" : "view") + " t_omr");
    EXPECT_ANY_THROW(exam::storeScore(query_, "30", "400100000001"));
    EXPECT_ANY_THROW(exam::readStoredScore(connection_, "400100000001"));
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
        exam::storeScore(save, "30", "400100000002");
        ADD_FAILURE() << "the save did not wait for the lock";
    } catch (const EDatabaseError& e) {
        const std::string message = e.what();
        EXPECT_TRUE(message.find("timeout") != std::string::npos || message.find("locked") != std::string::npos)
            << message;
    }
    other.execute("rollback");
    EXPECT_EQ(exam::readStoredScore(waiting, "400100000002"), std::optional<std::string>("27.5"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ScoreSave,
                         ::testing::Values(SaveCase{Backend::Sqlite, Counting::Counted},
                                           SaveCase{Backend::Sqlite, Counting::Silent},
                                           SaveCase{Backend::Odbc, Counting::Counted},
                                           SaveCase{Backend::Odbc, Counting::Silent},
                                           SaveCase{Backend::Postgres, Counting::Counted}),
                         [](const ::testing::TestParamInfo<SaveCase>& param) { return caseName(param.param); });

// The demo host's connection across a server restart: it opens itself again after the loss,
// a read is run again on the new connection, a save never is.
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

    std::unique_ptr<test::PostgresDb> postgres_;
    ado::TADOConnection connection_;
    ado::TADOQuery save_{"Save_ADOQ"};
};

TEST_F(ScoreSaveAcrossServerRestart, TheSaveAfterTheRestartFailsAndTheNextOneStores)
{
    connection_.setReopenWhenLost(true);
    EXPECT_TRUE(exam::storeScore(save_, "30", "400100000001"));
    test::restartPostgres();
    EXPECT_THROW(exam::storeScore(save_, "31", "400100000001"), ado::EConnectionLost);
    EXPECT_TRUE(exam::storeScore(save_, "32", "400100000001"));
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000001"), std::optional<std::string>("32"));

    // A read that meets the loss is answered from the reopened connection.
    test::restartPostgres();
    EXPECT_EQ(exam::readStoredScore(connection_, "400100000002"), std::optional<std::string>("27.5"));
}

TEST_F(ScoreSaveAcrossServerRestart, WithoutReopeningTheConnectionStaysLost)
{
    test::restartPostgres();
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_THROW(exam::storeScore(save_, "31", "400100000001"), EDatabaseError);
    EXPECT_THROW(exam::readStoredScore(connection_, "400100000001"), EDatabaseError);
}

} // namespace
