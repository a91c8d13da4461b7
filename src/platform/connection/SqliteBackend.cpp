#include "platform/Gbk.hpp"
#include "platform/connection/ConnectionBackend.hpp"
#include "platform/connection/ProviderError.hpp"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <optional>

namespace skorvin::ado {

namespace {

std::string errorText(sqlite3* db)
{
    return gbk::fromUtf8(sqlite3_errmsg(db));
}

struct StatementCloser {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

// The connection's text to and from SQLite: GBK inside the system, UTF-8 in the file.
class SqliteBackend final : public ConnectionBackend {
public:
    SqliteBackend(const std::string& file, int busyTimeoutMs)
    {
        const auto utf8 = gbk::toUtf8(file);
        std::error_code ec;
        const std::filesystem::path path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
        if (!std::filesystem::is_regular_file(path, ec))
            throwProviderError("The database file \"" + file + "\" does not exist");
        const int rc = sqlite3_open_v2(utf8.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const auto message = db_ ? errorText(db_) : std::string("out of memory");
            sqlite3_close(db_);
            throwProviderError(message);
        }
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        sqlite3_extended_result_codes(db_, 0);
    }

    ~SqliteBackend() override { sqlite3_close(db_); }

    long execute(const std::string& sql, const std::vector<FieldValue>& params) override
    {
        const auto utf8 = gbk::toUtf8(sql);
        const char* tail = utf8.c_str();
        const char* end = tail + utf8.size();
        std::size_t nextParam = 0;
        long affected = 0;
        while (tail < end) {
            auto statement = prepare(tail, end, &tail);
            if (!statement)
                continue; // blanks or a comment between statements
            nextParam = bind(statement.get(), params, nextParam);
            const auto before = sqlite3_total_changes(db_);
            int rc;
            while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
            }
            if (rc != SQLITE_DONE)
                throwProviderError(errorText(db_));
            // DDL leaves sqlite3_changes() at the previous statement's count, so only a
            // statement that changed rows adds its own.
            if (sqlite3_total_changes(db_) != before)
                affected += sqlite3_changes(db_);
        }
        return affected;
    }

    void query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink) override
    {
        const auto utf8 = gbk::toUtf8(sql);
        const char* tail = nullptr;
        auto statement = prepare(utf8.c_str(), utf8.c_str() + utf8.size(), &tail);
        if (!statement)
            throwProviderError("The statement text holds no statement");
        bind(statement.get(), params, 0);
        sqlite3_stmt* s = statement.get();
        const int count = sqlite3_column_count(s);
        std::vector<std::string> names;
        names.reserve(static_cast<std::size_t>(count));
        for (int c = 0; c < count; ++c)
            names.push_back(gbk::fromUtf8(sqlite3_column_name(s, c)));
        sink.columns(names);

        std::vector<std::optional<std::string_view>> fields(static_cast<std::size_t>(count));
        std::vector<std::string> converted(static_cast<std::size_t>(count));
        const auto lossy = std::make_unique<bool[]>(static_cast<std::size_t>(count));
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            bool anyLossy = false;
            for (int c = 0; c < count; ++c) {
                lossy[static_cast<std::size_t>(c)] = false;
                auto& field = fields[static_cast<std::size_t>(c)];
                if (sqlite3_column_type(s, c) == SQLITE_NULL) {
                    field.reset();
                    continue;
                }
                // Integers and reals come as SQLite's own text of them.
                const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                const std::string_view utf8Field(bytes ? bytes : "",
                                                 static_cast<std::size_t>(sqlite3_column_bytes(s, c)));
                if (gbk::isAscii(utf8Field)) {
                    field = utf8Field;
                } else {
                    auto& buffer = converted[static_cast<std::size_t>(c)];
                    bool exact = true;
                    gbk::fromUtf8Into(buffer, utf8Field, exact);
                    field = std::string_view(buffer);
                    lossy[static_cast<std::size_t>(c)] = !exact;
                    anyLossy = anyLossy || !exact;
                }
            }
            if (anyLossy)
                sink.lossyRow(fields, std::span<const bool>(lossy.get(), static_cast<std::size_t>(count)));
            else
                sink.row(fields);
        }
        if (rc != SQLITE_DONE)
            throwProviderError(errorText(db_));
    }

private:
    // Prepares the next statement of [text, end); null for a text with only blanks or comments.
    Statement prepare(const char* text, const char* end, const char** tail)
    {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(db_, text, static_cast<int>(end - text), &raw, tail);
        Statement statement(raw);
        if (rc != SQLITE_OK)
            throwProviderError(errorText(db_));
        return statement;
    }

    // Binds the statement's placeholders from params[first...]; returns the next unused index.
    std::size_t bind(sqlite3_stmt* s, const std::vector<FieldValue>& params, std::size_t first)
    {
        const int count = sqlite3_bind_parameter_count(s);
        for (int p = 1; p <= count; ++p, ++first) {
            if (first >= params.size())
                throwProviderError("No value given for one or more required parameters");
            const auto& value = params[first];
            const int rc = value ? bindText(s, p, *value) : sqlite3_bind_null(s, p);
            if (rc != SQLITE_OK)
                throwProviderError(errorText(db_));
        }
        return first;
    }

    static int bindText(sqlite3_stmt* s, int p, const std::string& gbkText)
    {
        auto utf8 = gbk::toUtf8(gbkText);
        return sqlite3_bind_text64(s, p, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    }

    sqlite3* db_ = nullptr;
};

} // namespace

std::unique_ptr<ConnectionBackend> openSqliteBackend(const std::string& file, int busyTimeoutMs)
{
    return std::make_unique<SqliteBackend>(file, busyTimeoutMs);
}

} // namespace skorvin::ado
