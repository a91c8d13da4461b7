// Storing a score through both backends: the read of the stored score, the update, and
// the decision "candidate gone" made by reading, not by the driver's row count.
#include "exam/ScoreSave.hpp"
#include "plain/SqliteOdbcDriver.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/ado/TADOConnection.hpp"
#include "platform/ado/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

using namespace skorvin;

namespace {

enum class Backend { Sqlite, Odbc };

// t_omr as a table, or as a view whose updates a trigger carries out: SQLite then counts no
// changed rows, as SQL Server does for every update under SET NOCOUNT ON.
enum class Counting { Counted, Silent };

struct SaveCase {
    Backend backend;
    Counting counting;
};

class ScoreSave : public ::testing::TestWithParam<SaveCase> {
protected:
    void SetUp() override
    {
        const std::string file = (dir_ / "exam.sqlite").string();
        std::ofstream(dir_ / "exam.sqlite", std::ios::binary);
        ado::TADOConnection setup("Provider=SQLite;Data Source=" + file);
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
        connection_.setConnectionString(GetParam().backend == Backend::Sqlite
                                            ? "Provider=SQLite;Data Source=" + file
                                            : "Driver=" + test::sqliteOdbcDriver() + ";Database=" + file);
        connection_.open();
        query_.setConnection(&connection_);
    }

    test::TempDir dir_;
    ado::TADOConnection connection_;
    ado::TADOQuery query_{"Save_ADOQ"};
};

TEST_P(ScoreSave, ReadsWhatTheDatabaseHolds)
{
    EXPECT_EQ(exam::ReadStoredScore(connection_, "400100000001"), std::optional<std::string>(""));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "400100000002"), std::optional<std::string>("27.5"));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "4001'7"), std::optional<std::string>(""));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "499999999999"), std::nullopt);
    // The number is a quoted literal, never statement text.
    EXPECT_EQ(exam::ReadStoredScore(connection_, "x' or '1'='1"), std::nullopt);
}

TEST_P(ScoreSave, StoresForAListedCandidateWhateverTheDriverCounts)
{
    EXPECT_TRUE(exam::StoreScore(query_, "30", "400100000001"));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "400100000001"), std::optional<std::string>("30"));
    EXPECT_TRUE(exam::StoreScore(query_, "12", "4001'7"));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "4001'7"), std::optional<std::string>("12"));
    // The other candidates keep their scores.
    EXPECT_EQ(exam::ReadStoredScore(connection_, "400100000002"), std::optional<std::string>("27.5"));
}

TEST_P(ScoreSave, ReportsACandidateWhoIsGone)
{
    EXPECT_FALSE(exam::StoreScore(query_, "30", "499999999999"));
    EXPECT_EQ(exam::ReadStoredScore(connection_, "499999999999"), std::nullopt);
}

TEST_P(ScoreSave, ProviderErrorsReachTheCaller)
{
    connection_.execute("drop " + std::string(GetParam().counting == Counting::Counted ? "table" : "view") + " t_omr");
    EXPECT_ANY_THROW(exam::StoreScore(query_, "30", "400100000001"));
    EXPECT_ANY_THROW(exam::ReadStoredScore(connection_, "400100000001"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ScoreSave,
                         ::testing::Values(SaveCase{Backend::Sqlite, Counting::Counted},
                                           SaveCase{Backend::Sqlite, Counting::Silent},
                                           SaveCase{Backend::Odbc, Counting::Counted},
                                           SaveCase{Backend::Odbc, Counting::Silent}),
                         [](const auto& param) {
                             return std::string(param.param.backend == Backend::Sqlite ? "Sqlite" : "Odbc") +
                                    (param.param.counting == Counting::Counted ? "Counted" : "Silent");
                         });

} // namespace
