// The driver manager's list of drivers, and a provider string run all the way to a real
// driver. The program registers its own drivers: the SQLite ODBC driver under a SQL
// Server driver's name. The driver manager reads where its configuration lies once per
// process, so the whole program runs with it.
#include "../odbc/OdbcFixture.hpp"

#include "platform/connection/ConnectionBackend.hpp"
#include "platform/connection/SqlServerOdbc.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace skorvin::test {
namespace {

#ifndef _WIN32
class OwnDriverRegistry : public ::testing::Environment {
public:
    void SetUp() override
    {
        dir_ = std::make_unique<TempDir>();
        std::ofstream(*dir_ / "odbcinst.ini") << "[ODBC Driver 17 for SQL Server]\nDriver=" << sqliteOdbcDriver()
                                              << "\n\n[PostgreSQL Unicode]\nDriver=/nonexistent/psqlodbcw.so\n";
        std::ofstream(*dir_ / "odbc.ini") << "";
        setenv("ODBCSYSINI", dir_->path().c_str(), 1);
    }
    void TearDown() override { dir_.reset(); }

private:
    std::unique_ptr<TempDir> dir_;
};

[[maybe_unused]] auto* const registry = ::testing::AddGlobalTestEnvironment(new OwnDriverRegistry);

TEST(DriverRegistry, ListsTheRegisteredDrivers)
{
    EXPECT_EQ(ado::installedOdbcDrivers(),
              (std::vector<std::string>{"ODBC Driver 17 for SQL Server", "PostgreSQL Unicode"}));
}

TEST(DriverRegistry, ProviderStringReachesTheDatabaseThroughTheTranslatedDriver)
{
    SqliteFile db;
    db.run({"create table t_version (dbversion varchar(10))", "insert into t_version values ('3.00')"});
    const auto u8 = db.path().u8string();
    const auto backend = ado::openOdbcBackend(ado::ConnectionString(
        "Provider=SQLOLEDB.1;Data Source=EXAMSRV;Initial Catalog=" + gbk::fromUtf8(std::string(u8.begin(), u8.end())) +
        ";User ID=sa;Password=p"));
    Rows rows;
    backend->query("select dbversion from t_version", {}, rows);
    EXPECT_EQ(rows.rows, (std::vector<Row>{{"3.00"}}));
}
#endif

} // namespace
} // namespace skorvin::test
