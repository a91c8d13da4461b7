#include "platform/journal/JournalSchema.hpp"

#include "platform/Gbk.hpp"
#include "platform/journal/JournalFile.hpp"

#include <sqlite3.h>

#include <array>
#include <vector>

namespace skorvin::journal {

namespace {

constexpr const char* kSchema = R"(
create table if not exists journal (
    id integer primary key autoincrement,
    time text not null,
    host text not null,
    os_user text not null,
    organisation text not null,
    zkzh text not null,
    score_before text,
    score_after text,
    action text not null,
    outcome text not null,
    detail text not null
);
create index if not exists journal_organisation on journal (organisation);
create trigger if not exists journal_no_update before update on journal
    begin select raise(abort, 'the journal is append-only'); end;
create trigger if not exists journal_no_delete before delete on journal
    begin select raise(abort, 'the journal is append-only'); end;
)";

// An entry is a few hundred bytes; a longer value can only come from a damaged or forged file.
constexpr int kMaxValueBytes = 1 << 20;

using SchemaObjects = std::vector<std::array<std::string, 4>>;

[[noreturn]] void fail(sqlite3* db, const std::string& utf8Path)
{
    throw EJournalError(gbk::fromUtf8("无法打开登分日志 " + utf8Path + "：" + sqlite3_errmsg(db)));
}

// Every table, index, view and trigger of the file as SQLite keeps it, sorted.
SchemaObjects schemaObjects(sqlite3* db, const std::string& utf8Path)
{
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(db, "select type, name, tbl_name, coalesce(sql, '') from sqlite_master order by 1, 2, 3, 4",
                           -1, &select, nullptr) != SQLITE_OK)
        fail(db, utf8Path);
    SchemaObjects objects;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
        auto& object = objects.emplace_back();
        for (int i = 0; i < 4; ++i)
            object[static_cast<std::size_t>(i)] = reinterpret_cast<const char*>(sqlite3_column_text(select, i));
    }
    sqlite3_finalize(select);
    if (rc != SQLITE_DONE)
        fail(db, utf8Path);
    return objects;
}

// What a journal this program made holds, read from one made in memory: SQLite's own text of
// each statement, whatever it normalises.
const SchemaObjects& ourSchema()
{
    static const SchemaObjects objects = [] {
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
        SchemaObjects result = schemaObjects(db, ":memory:");
        sqlite3_close(db);
        return result;
    }();
    return objects;
}

} // namespace

void openJournalSchema(sqlite3* db, const std::string& utf8Path)
{
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    if (sqlite3_exec(db, "pragma cell_size_check=on", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(db, utf8Path);
    // A new file gets the schema in one transaction, so that another window opening it at the
    // same moment finds it whole or empty.
    if (schemaObjects(db, utf8Path).empty()) {
        const std::string create = std::string("begin immediate;") + kSchema + "commit;";
        if (sqlite3_exec(db, create.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            sqlite3_exec(db, "rollback", nullptr, nullptr, nullptr);
            fail(db, utf8Path);
        }
    }
    if (schemaObjects(db, utf8Path) != ourSchema())
        throw EJournalError(gbk::fromUtf8(utf8Path + " 不是本程序的登分日志：其中的表、索引或触发器与登分日志的不同"));
}

} // namespace skorvin::journal
