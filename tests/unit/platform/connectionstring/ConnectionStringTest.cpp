#include "platform/connection/ConnectionString.hpp"

#include "platform/Exception.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

using skorvin::ado::ConnectionString;

namespace {

TEST(ConnectionString, ReadsKeysWithoutRegardToCaseOrBlanks)
{
    const ConnectionString s(" Provider = SQLite ; data source=C:\\exam\\a b.sqlite;;Password=\"x;y\";PROVIDER=other");
    EXPECT_EQ(s.value("provider"), "SQLite"); // the first of a repeated key counts
    EXPECT_EQ(s.value("Data Source"), "C:\\exam\\a b.sqlite");
    EXPECT_EQ(s.value("password"), "x;y");
    EXPECT_TRUE(s.has("DATA SOURCE"));
    EXPECT_FALSE(s.has("Initial Catalog"));
    EXPECT_EQ(s.value("Initial Catalog"), "");
}

TEST(ConnectionString, HidesPasswordsForDisplay)
{
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"Provider=SQLOLEDB;Data Source=srv;User ID=sa;Password=secret",
         "Provider=SQLOLEDB;Data Source=srv;User ID=sa;Password=***"},
        {"Driver=FreeTDS;UID=sa;PWD=s3;Database=exam", "Driver=FreeTDS;UID=sa;PWD=***;Database=exam"},
        {"Driver=FreeTDS; pwd = s3 ", "Driver=FreeTDS; pwd =***"},
        {"Provider=SQLite;Data Source=demo.sqlite", "Provider=SQLite;Data Source=demo.sqlite"},
        {"Password=\"a;b\";User ID=sa", "Password=***;User ID=sa"},
        // An ODBC braced value is hidden whole: its ";" and its "}}" (an escaped "}") included.
        {"Driver={FreeTDS};PWD={my;secret};UID=sa", "Driver={FreeTDS};PWD=***;UID=sa"},
        {"PWD={a}}b;c};UID=sa", "PWD=***;UID=sa"},
        {"UID=sa;PWD={open;to the end", "UID=sa;PWD=***"},
        // Another key's value left open ends at its ";": the password after it is still hidden.
        {"Driver={x;Pwd=secret1;", "Driver={x;Pwd=***;"},
        {"Data Source=\"a b;PASSWORD=secret1;UID=sa", "Data Source=\"a b;PASSWORD=***;UID=sa"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConnectionString::withoutPasswords(c.text), c.shown) << c.text;
}

// The connection's own keys are taken out before the rest goes to a driver.
TEST(ConnectionString, LeavesOutOneKeyKeepingTheRestAsWritten)
{
    const struct {
        const char* text;
        const char* kept;
    } cases[] = {
        {"Driver={PostgreSQL Unicode};Command Timeout=5;Database=exam", "Driver={PostgreSQL Unicode};Database=exam"},
        {" command timeout = 5 ;DSN=exam", "DSN=exam"},
        {"DSN=exam;Command Timeout=5", "DSN=exam"},
        {"PWD={a;Command Timeout=5};Command Timeout=1", "PWD={a;Command Timeout=5}"},
        {"DSN=exam;", "DSN=exam;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConnectionString::without(c.text, "Command Timeout"), c.kept) << c.text;
}

TEST(ConnectionString, TimeOutsMustBeWholeNumbersNotBelowZero)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"Driver=nosuch;Command Timeout=abc", "Command Timeout must be a whole number of seconds"},
        {"Driver=nosuch;Command Timeout=-1", "Command Timeout must be a whole number of seconds"},
        {"Provider=SQLite;Data Source=none.sqlite;Command Timeout=2.5",
         "Command Timeout must be a whole number of seconds"},
        {"Provider=SQLite;Data Source=none.sqlite;Busy Timeout=1s",
         "Busy Timeout must be a whole number of milliseconds"},
    };
    for (const auto& c : cases) {
        skorvin::ado::TADOConnection connection(c.text);
        try {
            connection.open();
            ADD_FAILURE() << c.text << " opened";
        } catch (const skorvin::EDatabaseError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.text;
        }
    }
}

} // namespace
