#pragma once

#include "plain/SqliteOdbcDriver.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/RowSink.hpp"

#include <sqlite3.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace skorvin::test {

using Row = std::vector<std::optional<std::string>>;

// GBK text from a readable UTF-8 literal.
inline std::string gbkText(const char* utf8)
{
    return gbk::fromUtf8(utf8);
}

// Sets or (nullptr) removes an environment variable.
inline void setEnvironment(const char* name, const char* value)
{
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

// Runs a test under the process character set it names and restores the one before.
// The driver manager converts texts for 8-bit drivers by that character set, and some
// drivers take their client character set from it, so the backend must work under the C
// locale, a UTF-8 one and a Chinese 8-bit one alike (./test generates zh_CN.GBK).
// Some drivers read the locale from the environment (psqlODBC asks setlocale(LC_CTYPE, "")),
// so LC_ALL is set for the test as well.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : saved_(std::setlocale(LC_ALL, nullptr))
    {
        if (const char* env = std::getenv("LC_ALL"))
            savedEnv_ = env;
        active_ = std::setlocale(LC_ALL, name) != nullptr;
        setEnvironment("LC_ALL", name);
    }
    ~LocaleScope()
    {
        std::setlocale(LC_ALL, saved_.c_str());
        setEnvironment("LC_ALL", savedEnv_ ? savedEnv_->c_str() : nullptr);
    }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
    bool active() const { return active_; }

private:
    std::string saved_;
    std::optional<std::string> savedEnv_;
    bool active_ = false;
};

inline constexpr const char* kLocales[] = {"C", "C.UTF-8", "zh_CN.GBK"};

// Keeps what a query hands over.
struct Rows : ado::RowSink {
    std::vector<std::string> names;
    std::vector<Row> rows;

    void columns(const std::vector<std::string>& columnNames) override { names = columnNames; }
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        Row r;
        for (const auto& f : fields)
            r.push_back(f ? std::optional<std::string>(std::string(*f)) : std::nullopt);
        rows.push_back(std::move(r));
    }
};

// A SQLite database file laid out and inspected with SQLite's own calls, so that
// what the ODBC path writes and reads is checked against an independent reader.
class SqliteFile {
public:
    explicit SqliteFile(const std::filesystem::path& name = "exam.sqlite") : path_(dir_ / name)
    {
        std::filesystem::create_directories(path_.parent_path());
        run({});
    }

    const std::filesystem::path& path() const { return path_; }

    // "Driver=<sqlite odbc driver>;Database=<file>" as GBK text.
    std::string odbcConnectionString() const
    {
        const auto u8 = path_.u8string();
        return "Driver=" + sqliteOdbcDriver() + ";Database=" + gbk::fromUtf8(std::string(u8.begin(), u8.end()));
    }

    void run(std::initializer_list<std::string> utf8Statements) const
    {
        Db db(path_);
        for (const auto& sql : utf8Statements) {
            char* error = nullptr;
            if (sqlite3_exec(db.handle, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
                const std::string message = error ? error : "sqlite3_exec failed";
                sqlite3_free(error);
                throw std::runtime_error(message + ": " + sql);
            }
        }
    }

    // The rows of a query as SQLite stores them (UTF-8), NULL as nullopt.
    std::vector<Row> select(const std::string& utf8Sql) const
    {
        Db db(path_);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db.handle, utf8Sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db.handle));
        std::vector<Row> rows;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            Row r;
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
                r.push_back(text ? std::optional<std::string>(text) : std::nullopt);
            }
            rows.push_back(std::move(r));
        }
        sqlite3_finalize(stmt);
        return rows;
    }

private:
    struct Db {
        sqlite3* handle = nullptr;
        explicit Db(const std::filesystem::path& path)
        {
            const auto u8 = path.u8string();
            if (sqlite3_open(std::string(u8.begin(), u8.end()).c_str(), &handle) != SQLITE_OK)
                throw std::runtime_error("cannot open " + path.string());
        }
        ~Db() { sqlite3_close(handle); }
        Db(const Db&) = delete;
        Db& operator=(const Db&) = delete;
    };

    TempDir dir_;
    std::filesystem::path path_;
};

} // namespace skorvin::test
