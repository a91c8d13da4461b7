#include "plain/PostgresDb.hpp"

#include "host/demodb/DemoSchema.hpp"
#include "plain/DemoDb.hpp"
#include "platform/Text.hpp"
#include "platform/connection/ConnectionString.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <atomic>
#include <cstdlib>
#include <random>
#include <stdexcept>

namespace skorvin::test {
namespace {

// A table's rows as SQL literals, ready for a VALUES list.
struct LiteralRows : ado::RowSink {
    std::vector<std::string> names;
    std::vector<std::string> rows;

    void columns(const std::vector<std::string>& columnNames) override { names = columnNames; }
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        std::string values;
        for (const auto& f : fields)
            values += (values.empty() ? "(" : ", ") + (f ? text::quoted(std::string(*f)) : std::string("NULL"));
        rows.push_back(values + ")");
    }
};

std::string withDatabase(const std::string& connection, const std::string& database)
{
    return ado::ConnectionString::without(connection, "Database") + ";Database=" + database;
}

} // namespace

std::optional<std::string> postgresServer()
{
    const char* text = std::getenv("SKORVIN_PG_CONNECTION");
    if (!text || !*text)
        return std::nullopt;
    return std::string(text);
}

void restartPostgres()
{
    const char* command = std::getenv("SKORVIN_PG_RESTART");
    if (!command || !*command)
        throw std::runtime_error("SKORVIN_PG_RESTART is not set");
    if (std::system(command) != 0)
        throw std::runtime_error(std::string("the PostgreSQL server did not restart: ") + command);
}

PostgresDb::PostgresDb() : server_(postgresServer().value())
{
    // Test programs run side by side on one server: each names its databases differently.
    static const auto program = std::random_device{}();
    static std::atomic<int> made{0};
    name_ = "skorvin_" + std::to_string(program) + "_" + std::to_string(++made);
    ado::TADOConnection admin(server_);
    admin.open();
    admin.execute("create database " + name_ + " template template0 encoding 'UTF8' lc_collate 'C' lc_ctype 'C'");
    connectionString_ = withDatabase(server_, name_);
}

PostgresDb::~PostgresDb()
{
    try {
        ado::TADOConnection admin(server_);
        admin.open();
        admin.execute("drop database if exists " + name_ + " with (force)");
    } catch (const std::exception&) {
        // A database left behind goes with the server's folder.
    }
}

void PostgresDb::run(const std::string& sql) const
{
    ado::TADOConnection connection(connectionString_);
    connection.open();
    connection.execute(sql);
}

void PostgresDb::load(const DemoDb& demo) const
{
    run(std::string(demodb::schemaTables()) + std::string(demodb::schemaIndexes()));
    ado::TADOConnection from(demo.connectionString());
    from.open();
    ado::TADOConnection to(connectionString_);
    to.open();
    constexpr std::size_t kRowsPerInsert = 500;
    for (const char* table : {"t_omr", "t_bm", "t_setting", "t_version", "t_scbjg"}) {
        LiteralRows rows;
        from.query(std::string("select * from ") + table, {}, rows);
        for (std::size_t first = 0; first < rows.rows.size(); first += kRowsPerInsert) {
            std::string sql = std::string("insert into ") + table + " values ";
            for (std::size_t r = first; r < std::min(rows.rows.size(), first + kRowsPerInsert); ++r)
                sql += (r == first ? "" : ", ") + rows.rows[r];
            to.execute(sql);
        }
    }
}

} // namespace skorvin::test
