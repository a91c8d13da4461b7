#pragma once

#include <optional>
#include <string>

namespace skorvin::test {

class DemoDb;

// The throw-away PostgreSQL server that ./test starts: SKORVIN_PG_CONNECTION is an ODBC
// connection string (psqlODBC) to its administrative database, SKORVIN_PG_RESTART a
// command that restarts it. Without them the PostgreSQL cases are skipped.
std::optional<std::string> postgresServer();
inline constexpr const char* kNoPostgres =
    "no PostgreSQL server: SKORVIN_PG_CONNECTION is not set (./test starts one and sets it)";

// Restarts the server; every connection open to it is lost. Throws when it cannot.
void restartPostgres();

// A new, empty database of its own on that server (UTF-8, byte order), dropped with the object.
// Only made when postgresServer() has a value.
class PostgresDb {
public:
    PostgresDb();
    ~PostgresDb();
    PostgresDb(const PostgresDb&) = delete;
    PostgresDb& operator=(const PostgresDb&) = delete;

    // The ODBC connection string to this database.
    const std::string& connectionString() const { return connectionString_; }
    // Runs statements (GBK text, several separated by ";") on a connection of their own.
    void run(const std::string& sql) const;
    // The demo schema, and every row of the demo database copied over.
    void load(const DemoDb& demo) const;

private:
    std::string server_;
    std::string name_;
    std::string connectionString_;
};

} // namespace skorvin::test
