#include "platform/journal/JournalFile.hpp"

#include "platform/Gbk.hpp"
#include "platform/journal/JournalSchema.hpp"

#include <sqlite3.h>

#include <map>
#include <string_view>
#include <utility>

namespace skorvin::journal {

namespace {

// Long enough for another window's entry to be written, short enough never to hold up a save.
constexpr int kBusyTimeoutMs = 2000;

constexpr const char* kInsert =
    "insert into journal (time, host, os_user, organisation, zkzh, score_before, score_after, action, outcome, "
    "detail) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)";

constexpr const char* kColumns =
    "id, time, host, os_user, organisation, zkzh, score_before, score_after, action, outcome, detail";

// A row SQLite found damaged while reading it: the rows around it may still be read.
class EDamagedRow : public EJournalError {
public:
    using EJournalError::EJournalError;
};

[[noreturn]] void fail(sqlite3* db, const std::string& doing)
{
    const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
    const int code = db ? sqlite3_extended_errcode(db) & 0xFF : SQLITE_NOMEM;
    if (code == SQLITE_CORRUPT || code == SQLITE_TOOBIG)
        throw EDamagedRow(gbk::fromUtf8(why));
    throw EJournalError(gbk::fromUtf8(doing + "：" + why));
}

// A prepared statement closed with its scope.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) : db_(db)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            fail(db, "读取登分日志失败");
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, const std::string& gbkText)
    {
        const std::string utf8 = gbk::toUtf8(gbkText);
        sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    bool step()
    {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail(db_, "读取登分日志失败");
        return false;
    }
    std::optional<std::string> column(int index) const
    {
        if (sqlite3_column_type(stmt_, index) == SQLITE_NULL)
            return std::nullopt;
        const std::string_view text(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index)),
                                    static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index)));
        if (gbk::isAscii(text))
            return std::string(text);
        // The same organisation, computer and user come row after row: each is converted once
        // while it repeats, so a window of 100,000 entries opens in the time of a list.
        auto& [raw, converted] = lastConverted_[index];
        if (raw != text) {
            raw = text;
            converted = gbk::fromUtf8(text);
        }
        return converted;
    }
    std::string text(int index) const { return column(index).value_or(std::string()); }
    std::int64_t integer(int index) const { return sqlite3_column_int64(stmt_, index); }
    int type(int index) const { return sqlite3_column_type(stmt_, index); }
    std::string_view raw(int index) const
    {
        return {reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index)),
                static_cast<std::size_t>(sqlite3_column_bytes(stmt_, index))};
    }

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    mutable std::map<int, std::pair<std::string, std::string>> lastConverted_;
};

// The filter's where clause, its parameters numbered from 1 in the order they are bound.
std::string whereClause(const JournalFilter& filter)
{
    std::string where = " where 1=1";
    if (!filter.number.empty())
        where += " and instr(zkzh, ?1) > 0";
    if (!filter.fromDate.empty())
        where += " and substr(time, 1, 10) >= ?2";
    if (!filter.toDate.empty())
        where += " and substr(time, 1, 10) <= ?3";
    if (!filter.organisation.empty())
        where += " and organisation = ?4";
    if (!filter.actions.empty()) {
        where += " and action in (";
        for (std::size_t i = 0; i < filter.actions.size(); ++i)
            where += (i ? ", ?" : "?") + std::to_string(5 + i);
        where += ")";
    }
    return where;
}

void bindFilter(Statement& statement, const JournalFilter& filter)
{
    const std::string* values[] = {&filter.number, &filter.fromDate, &filter.toDate, &filter.organisation};
    for (int i = 0; i < 4; ++i)
        if (!values[i]->empty())
            statement.bind(i + 1, *values[i]);
    for (std::size_t i = 0; i < filter.actions.size(); ++i)
        statement.bind(static_cast<int>(5 + i), filter.actions[i]);
}

void bindValue(sqlite3_stmt* stmt, int index, const std::optional<std::string>& score)
{
    if (!score) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    const std::string utf8 = gbk::toUtf8(*score);
    sqlite3_bind_text(stmt, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

// Why the row (the columns of kColumns) is not an entry this program wrote (UTF-8); empty when it is.
std::string damage(const Statement& row)
{
    if (row.type(0) != SQLITE_INTEGER)
        return "编号不是整数";
    for (int column : {1, 2, 3, 4, 5, 8, 9, 10})
        if (row.type(column) != SQLITE_TEXT)
            return "有一栏不是文字";
    for (int column : {6, 7})
        if (row.type(column) != SQLITE_TEXT && row.type(column) != SQLITE_NULL)
            return "有一栏不是文字";
    const std::string_view action = row.raw(8);
    const std::string_view outcome = row.raw(9);
    if (action != "save" && action != "undo" && action != "verify" && action != "adopt" && action != "keep")
        return "操作不明";
    if (outcome != "saved" && outcome != "refused" && outcome != "failed")
        return "结果不明";
    return {};
}

JournalRecord damagedRecord(std::int64_t id, const std::string& why)
{
    JournalRecord record;
    record.id = id;
    record.detail = why;
    record.damaged = true;
    return record;
}

JournalRecord readRecord(const Statement& row)
{
    const std::string why = damage(row);
    if (!why.empty())
        return damagedRecord(row.integer(0), gbk::fromUtf8("不是登分日志的记录：" + why));
    return {row.integer(0), row.text(1),   row.text(2), row.text(3), row.text(4), row.text(5),
            row.column(6),  row.column(7), row.text(8), row.text(9), row.text(10)};
}

} // namespace

JournalFile::JournalFile(const std::string& path)
{
    const std::string utf8 = gbk::toUtf8(path);
    if (sqlite3_open_v2(utf8.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        throw EJournalError(gbk::fromUtf8("无法打开登分日志 " + utf8 + "：" + why));
    }
    try {
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        // Before anything else reads or writes the file: a file that is not ours stays untouched.
        openJournalSchema(db_, utf8);
        Statement wal(db_, "pragma journal_mode=wal");
        // A folder that cannot hold the WAL's side files leaves the file in another mode.
        if (!wal.step() || wal.text(0) != "wal")
            throw EJournalError(gbk::fromUtf8("无法打开登分日志 " + utf8 + "：WAL mode is not available"));
        // A committed entry survives the process being killed; only a power cut may take the last
        // few back (never the file), which keeps a save with the journal close to one without.
        if (sqlite3_exec(db_, "pragma synchronous=normal", nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(db_, kInsert, -1, &insert_, nullptr) != SQLITE_OK)
            fail(db_, "无法打开登分日志 " + utf8);
    } catch (...) {
        sqlite3_close(db_);
        throw;
    }
}

JournalFile::~JournalFile()
{
    sqlite3_finalize(insert_);
    sqlite3_close(db_);
}

std::int64_t JournalFile::append(const JournalRecord& record)
{
    const std::optional<std::string> values[] = {record.time,    record.host,   record.user,  record.organisation,
                                                 record.number,  record.before, record.after, record.action,
                                                 record.outcome, record.detail};
    sqlite3_reset(insert_);
    for (int i = 0; i < 10; ++i)
        bindValue(insert_, i + 1, values[i]);
    // The insert alone is its transaction: committed whole or not at all.
    const int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    if (rc != SQLITE_DONE)
        fail(db_, "写入登分日志失败");
    return sqlite3_last_insert_rowid(db_);
}

std::vector<JournalRecord> JournalFile::query(const JournalFilter& filter) const
{
    std::vector<JournalRecord> records;
    try {
        Statement select(db_, std::string("select ") + kColumns + " from journal" + whereClause(filter) +
                                  " order by id desc");
        bindFilter(select, filter);
        while (select.step())
            records.push_back(readRecord(select));
    } catch (const EDamagedRow&) {
        // The rows past the damage are still there: read them one by one.
        records.clear();
        for (const std::int64_t id : ids(filter))
            records.push_back(entry(id));
    }
    return records;
}

JournalListing JournalFile::list(const JournalFilter& filter) const
{
    JournalListing listing;
    try {
        // Every column is read, so that a damaged row is counted before the window draws it.
        Statement select(db_, std::string("select ") + kColumns + " from journal" + whereClause(filter) +
                                  " order by id desc");
        bindFilter(select, filter);
        while (select.step()) {
            listing.ids.push_back(select.integer(0));
            listing.damaged += damage(select).empty() ? 0 : 1;
        }
    } catch (const EDamagedRow&) {
        listing = {ids(filter), 0};
        for (const std::int64_t id : listing.ids)
            listing.damaged += entry(id).damaged ? 1 : 0;
    }
    return listing;
}

std::vector<std::int64_t> JournalFile::ids(const JournalFilter& filter) const
{
    Statement select(db_, "select id from journal" + whereClause(filter) + " order by id desc");
    bindFilter(select, filter);
    std::vector<std::int64_t> result;
    while (select.step())
        result.push_back(select.integer(0));
    return result;
}

JournalRecord JournalFile::entry(std::int64_t id) const
{
    try {
        Statement select(db_, std::string("select ") + kColumns + " from journal where id = " + std::to_string(id));
        if (!select.step())
            return damagedRecord(id, gbk::fromUtf8("没有这条记录"));
        return readRecord(select);
    } catch (const EDamagedRow& e) {
        return damagedRecord(id, e.message());
    }
}

std::vector<std::string> JournalFile::organisations() const
{
    Statement select(db_, "select distinct organisation from journal order by organisation");
    std::vector<std::string> names;
    try {
        while (select.step())
            names.push_back(select.text(0));
    } catch (const EDamagedRow&) {
        // The names before a damaged part of the index still serve as a filter.
    }
    return names;
}

} // namespace skorvin::journal
