// ADO connection strings for SQL Server, turned into ODBC ones for the driver that is installed.
#include "OdbcFixture.hpp"

#include "platform/Exception.hpp"
#include "platform/connection/SqlServerOdbc.hpp"

#include <gtest/gtest.h>

namespace skorvin::test {
namespace {

using ado::ConnectionString;

TEST(SqlServerOdbc, RecognisesTheSqlServerProviders)
{
    const struct {
        const char* connection;
        bool sqlServer;
    } cases[] = {
        {"Provider=SQLOLEDB;Data Source=S", true},
        {"Provider=SQLOLEDB.1;Persist Security Info=False;Data Source=S", true},
        {"provider = sqloledb ; data source=S", true},
        {"Provider=SQLNCLI11;Data Source=S", true},
        {"Provider=MSOLEDBSQL;Data Source=S", true},
        {"Provider=SQLite;Data Source=exam.sqlite", false},
        {"Driver={SQL Server};Server=S", false},
        {"DSN=exam", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::isSqlServerProvider(ConnectionString(c.connection)), c.sqlServer) << c.connection;
}

TEST(SqlServerOdbc, ChoosesTheBestInstalledDriver)
{
    const struct {
        std::vector<std::string> installed;
        const char* chosen;
    } cases[] = {
        {{"SQLite3", "FreeTDS", "ODBC Driver 17 for SQL Server", "ODBC Driver 18 for SQL Server"},
         "ODBC Driver 18 for SQL Server"},
        {{"ODBC Driver 17 for SQL Server", "SQL Server Native Client 11.0", "SQL Server"},
         "ODBC Driver 17 for SQL Server"},
        {{"ODBC Driver 9 for SQL Server", "ODBC Driver 13 for SQL Server"}, "ODBC Driver 13 for SQL Server"},
        {{"SQL Server", "SQL Server Native Client 10.0", "SQL Server Native Client 11.0"},
         "SQL Server Native Client 11.0"},
        {{"FreeTDS", "SQL Server"}, "SQL Server"},
        {{"SQLite3", "FreeTDS"}, "FreeTDS"},
        {{"PostgreSQL Unicode", "SQLite3"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::chooseSqlServerDriver(c.installed), c.chosen);
}

TEST(SqlServerOdbc, TranslatesTheProviderStringForTheChosenDriver)
{
    const std::vector<std::string> msodbc17{"SQLite3", "ODBC Driver 17 for SQL Server", "FreeTDS"};
    const std::vector<std::string> msodbc18{"ODBC Driver 18 for SQL Server", "FreeTDS"};
    const std::vector<std::string> nativeClient{"SQL Server", "SQL Server Native Client 11.0"};
    const std::vector<std::string> freeTds{"SQLite3", "FreeTDS"};
    const struct {
        const std::vector<std::string>& installed;
        const char* ado;
        const char* odbc;
    } cases[] = {
        {msodbc17, "Provider=SQLOLEDB;Data Source=EXAMSRV;Initial Catalog=NCRE;User ID=sa;Password=secret",
         "Driver={ODBC Driver 17 for SQL Server};Server=EXAMSRV;Database=NCRE;UID=sa;PWD=secret"},
        {msodbc17,
         "Provider=SQLOLEDB.1;Persist Security Info=False;Integrated Security=SSPI;Initial Catalog=NCRE;"
         "Data Source=EXAMSRV\\SQLEXPRESS",
         "Driver={ODBC Driver 17 for SQL Server};Server=EXAMSRV\\SQLEXPRESS;Database=NCRE;Trusted_Connection=yes"},
        {msodbc17, "Provider=SQLOLEDB;Data Source=EXAMSRV;User ID=sa;Password=\"a;b}c\"",
         "Driver={ODBC Driver 17 for SQL Server};Server=EXAMSRV;UID=sa;PWD={a;b}}c}"},
        {msodbc17,
         "Provider=SQLOLEDB;User ID=sa;Password=", "Driver={ODBC Driver 17 for SQL Server};Server=(local);UID=sa;PWD="},
        {msodbc17,
         "Provider=SQLOLEDB;Data Source=S;User ID=sa;Password=p;Use Encryption for Data=True;"
         "Trust Server Certificate=True;Application Name=Skorvin",
         "Driver={ODBC Driver 17 for SQL Server};Server=S;UID=sa;PWD=p;Encrypt=yes;TrustServerCertificate=yes;"
         "APP=Skorvin"},
        // The newer driver encrypts unless told not to; the provider did not.
        {msodbc18, "Provider=SQLOLEDB;Data Source=S,1433;Initial Catalog=NCRE;User ID=sa;Password=p",
         "Driver={ODBC Driver 18 for SQL Server};Server=S,1433;Database=NCRE;UID=sa;PWD=p;Encrypt=no"},
        {msodbc18, "Provider=SQLOLEDB;Data Source=S;User ID=sa;Password=p;Use Encryption for Data=yes",
         "Driver={ODBC Driver 18 for SQL Server};Server=S;UID=sa;PWD=p;Encrypt=yes"},
        {nativeClient, "Provider=SQLNCLI11;Server=S;Database=NCRE;UID=sa;PWD=p",
         "Driver={SQL Server Native Client 11.0};Server=S;Database=NCRE;UID=sa;PWD=p"},
        {freeTds, "Provider=SQLOLEDB;Data Source=10.1.2.3,14330;Initial Catalog=NCRE;User ID=sa;Password=p",
         "Driver={FreeTDS};Server=10.1.2.3;Port=14330;Database=NCRE;UID=sa;PWD=p;TDS_Version=auto"},
        {freeTds, "Provider=SQLOLEDB;Data Source=tcp:db.example.org\\EXAM;Initial Catalog=NCRE;User ID=sa;Password=p",
         "Driver={FreeTDS};Server=db.example.org\\EXAM;Database=NCRE;UID=sa;PWD=p;TDS_Version=auto"},
        {freeTds, "Provider=SQLOLEDB;Data Source=(local);User ID=sa;Password=p;Use Encryption for Data=True",
         "Driver={FreeTDS};Server=localhost;UID=sa;PWD=p;Encryption=require;TDS_Version=auto"},
        {freeTds, "Provider=SQLOLEDB;Data Source=.;Integrated Security=SSPI",
         "Driver={FreeTDS};Server=localhost;Trusted_Connection=yes;TDS_Version=auto"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::toSqlServerOdbc(ConnectionString(c.ado), c.installed), c.odbc) << c.ado;
}

TEST(SqlServerOdbc, WithoutASqlServerDriverTheErrorSaysWhatIsMissing)
{
    try {
        ado::toSqlServerOdbc(ConnectionString("Provider=SQLOLEDB;Data Source=S"), {"SQLite3"});
        FAIL() << "translated";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message().rfind("No ODBC driver for SQL Server is installed", 0), 0u) << e.message();
    }
}

} // namespace
} // namespace skorvin::test
