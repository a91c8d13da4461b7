#include "platform/connection/ConnectionBackend.hpp"
#include "platform/connection/ConnectionString.hpp"
#include "platform/connection/OdbcHandle.hpp"
#include "platform/connection/ProviderError.hpp"
#include "platform/connection/SqlServerOdbc.hpp"

#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

namespace skorvin::ado {

namespace {

// ADO's default connection timeout: an unreachable server fails instead of hanging.
constexpr SQLULEN kLoginTimeoutSeconds = 15;
// Texts are read in pieces of this many wide characters; longer ones take several pieces.
constexpr std::size_t kChunkCharacters = 4096;

bool isCharacterType(SQLSMALLINT type)
{
    switch (type) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return true;
    default:
        return false;
    }
}

// The parameters of one statement, kept alive until it has run.
struct BoundParameters {
    std::vector<std::vector<SQLWCHAR>> texts;
    std::vector<SQLLEN> indicators;
};

class OdbcBackend final : public ConnectionBackend {
public:
    OdbcBackend(const std::string& connectionString, int commandTimeoutSeconds)
        : dbc_(SQL_HANDLE_DBC, env_.get()), commandTimeoutSeconds_(commandTimeoutSeconds)
    {
        SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(kLoginTimeoutSeconds), 0);
#ifdef _WIN32
        connectWide(connectionString);
#else
        // A driver connected through the 8-bit call may take its character set from the
        // process locale (psqlODBC does), which a library must not depend on, so the wide
        // call comes first. unixODBC cuts the wide text down to 8 bits for a driver without
        // wide calls, which loses a Chinese database path; such a driver gets the text as
        // UTF-8 through the 8-bit call, which unixODBC hands over unchanged.
        const bool ascii = std::all_of(connectionString.begin(), connectionString.end(),
                                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        try {
            connectWide(connectionString);
        } catch (const EDatabaseError&) {
            if (ascii)
                throw;
            connectUtf8(connectionString);
        }
#endif
        mode_ = textModeOf(dbc_.get());
        dbc_.setTextMode(mode_);
    }

    ~OdbcBackend() override
    {
        if (connected_)
            SQLDisconnect(dbc_.get());
    }

    long execute(const std::string& sql, const std::vector<FieldValue>& params) override
    {
        return noticingLoss([&] { return executeHere(sql, params); });
    }

    void query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink) override
    {
        noticingLoss([&] { queryHere(sql, params, sink); });
    }

private:
    long executeHere(const std::string& sql, const std::vector<FieldValue>& params)
    {
        const auto handle = statement();
        const auto& stmt = *handle;
        BoundParameters bound;
        const SQLRETURN rc = run(stmt, sql, params, bound);
        // A searched UPDATE or DELETE that touched no row reports "no data", not a failure.
        if (rc == SQL_NO_DATA)
            return 0;
        SQLLEN rows = 0;
        stmt.check(SQLRowCount(stmt.get(), &rows), "SQLRowCount");
        finishResults(stmt);
        return static_cast<long>(std::max<SQLLEN>(rows, 0));
    }

    void queryHere(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink)
    {
        const auto handle = statement();
        const auto& stmt = *handle;
        BoundParameters bound;
        SQLRETURN rc = run(stmt, sql, params, bound);
        SQLSMALLINT columns = 0;
        // A batch may report row counts before the rows; the first result with columns is the answer.
        while (rc != SQL_NO_DATA) {
            stmt.check(SQLNumResultCols(stmt.get(), &columns), "SQLNumResultCols");
            if (columns > 0)
                break;
            rc = SQLMoreResults(stmt.get());
            if (rc != SQL_NO_DATA)
                stmt.check(rc, "SQLMoreResults");
        }
        sink.columns(columnNames(stmt, columns));
        if (columns > 0)
            fetchRows(stmt, static_cast<std::size_t>(columns), sink);
    }

    // Runs work; a failure after which the driver finds its connection dead is a lost
    // connection, whatever SQLSTATE it came with (a server shutting down sends its own).
    template <typename Work> auto noticingLoss(Work work) -> decltype(work())
    {
        try {
            return work();
        } catch (const EConnectionLost&) {
            throw;
        } catch (const EDatabaseError& error) {
            SQLUINTEGER dead = SQL_CD_FALSE;
            if (SQL_SUCCEEDED(SQLGetConnectAttrW(dbc_.get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) &&
                dead == SQL_CD_TRUE)
                throw EConnectionLost(error.message());
            throw;
        }
    }

    void connectWide(const std::string& connectionString)
    {
        auto text = odbc::wide(connectionString);
        SQLSMALLINT outLength = 0;
        dbc_.check(SQLDriverConnectW(dbc_.get(), nullptr, text.data(), static_cast<SQLSMALLINT>(text.size() - 1),
                                     nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT),
                   "SQLDriverConnect");
        connected_ = true;
    }

    void connectUtf8(const std::string& connectionString)
    {
        auto text = gbk::toUtf8(connectionString);
        SQLSMALLINT outLength = 0;
        dbc_.check(SQLDriverConnect(dbc_.get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                    static_cast<SQLSMALLINT>(text.size()), nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT),
                   "SQLDriverConnect");
        connected_ = true;
    }

    // A statement handle whose statements give up after the command time-out; a driver
    // that cannot limit them (it refuses the attribute) lets them run.
    std::unique_ptr<odbc::Handle> statement() const
    {
        auto stmt = std::make_unique<odbc::Handle>(SQL_HANDLE_STMT, dbc_.get(), mode_);
        SQLSetStmtAttrW(stmt->get(), SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(commandTimeoutSeconds_)), 0);
        return stmt;
    }

    // The driver manager gives a driver that only takes 8-bit text the wide texts
    // converted to the process's character set, which loses Chinese under the C
    // locale and hands GBK to a driver that reads UTF-8 under a GBK one. A round trip
    // through the driver of a text no such character set holds whole (Chinese and a
    // character beyond GBK) shows it; such a connection then passes its texts as UTF-8
    // through the 8-bit calls. Field values always travel as wide text, which drivers
    // convert themselves.
    static odbc::TextMode textModeOf(SQLHDBC dbc)
    {
        static const std::u16string probe = u"select '\u4E2D\u6587\U0001F600'";
        std::vector<SQLWCHAR> in(probe.begin(), probe.end());
        in.push_back(0);
        std::vector<SQLWCHAR> out(probe.size() * 4 + 1, 0);
        SQLINTEGER outLength = 0;
        const SQLRETURN rc =
            SQLNativeSqlW(dbc, in.data(), SQL_NTS, out.data(), static_cast<SQLINTEGER>(out.size() - 1), &outLength);
        if (!SQL_SUCCEEDED(rc))
            return odbc::TextMode::Wide;
        // Some driver managers count the returned length in bytes; the text ends at its terminator.
        const auto end = std::find(out.begin(), out.end(), SQLWCHAR(0));
        const bool intact = std::equal(out.begin(), end, probe.begin(), probe.end(),
                                       [](SQLWCHAR a, char16_t b) { return static_cast<char16_t>(a) == b; });
        return intact ? odbc::TextMode::Wide : odbc::TextMode::Utf8;
    }

    // Runs the statement; with parameters it is prepared first, so that the driver can
    // describe the type each placeholder stands for.
    SQLRETURN run(const odbc::Handle& stmt, const std::string& sql, const std::vector<FieldValue>& params,
                  BoundParameters& bound) const
    {
        SQLRETURN rc = SQL_SUCCESS;
        if (mode_ == odbc::TextMode::Wide) {
            auto text = odbc::wide(sql);
            const auto length = static_cast<SQLINTEGER>(text.size() - 1);
            if (params.empty())
                rc = SQLExecDirectW(stmt.get(), text.data(), length);
            else
                stmt.check(SQLPrepareW(stmt.get(), text.data(), length), "SQLPrepare");
        } else {
            auto text = gbk::toUtf8(sql);
            auto* data = reinterpret_cast<SQLCHAR*>(text.data());
            const auto length = static_cast<SQLINTEGER>(text.size());
            if (params.empty())
                rc = SQLExecDirect(stmt.get(), data, length);
            else
                stmt.check(SQLPrepare(stmt.get(), data, length), "SQLPrepare");
        }
        if (!params.empty()) {
            SQLSMALLINT placeholders = 0;
            if (SQL_SUCCEEDED(SQLNumParams(stmt.get(), &placeholders)) &&
                static_cast<std::size_t>(placeholders) != params.size())
                throwProviderError("The statement has " + std::to_string(placeholders) + " parameter(s) but " +
                                   std::to_string(params.size()) + " value(s) were given");
            bind(stmt, params, bound);
            rc = SQLExecute(stmt.get());
        }
        if (rc != SQL_NO_DATA)
            stmt.check(rc, "SQLExecute");
        return rc;
    }

    // Every value goes as wide text; the driver converts it to the type it describes
    // for the placeholder, or to a character string as long as the value when it
    // describes none.
    static void bind(const odbc::Handle& stmt, const std::vector<FieldValue>& params, BoundParameters& bound)
    {
        bound.texts.reserve(params.size());
        bound.indicators.resize(params.size());
        for (std::size_t i = 0; i < params.size(); ++i) {
            const auto number = static_cast<SQLUSMALLINT>(i + 1);
            const auto& value = params[i];
            bound.texts.push_back(odbc::wide(value.value_or(std::string())));
            auto& text = bound.texts.back();
            const SQLULEN valueLength = std::max<SQLULEN>(value ? value->size() : 0, 1);

            SQLSMALLINT type = SQL_VARCHAR;
            SQLULEN size = 0;
            SQLSMALLINT digits = 0;
            SQLSMALLINT nullable = 0;
            if (!SQL_SUCCEEDED(SQLDescribeParam(stmt.get(), number, &type, &size, &digits, &nullable)) ||
                type == SQL_UNKNOWN_TYPE) {
                type = SQL_VARCHAR;
                size = valueLength;
                digits = 0;
            } else if (isCharacterType(type)) {
                size = std::max(size, valueLength);
            }
            bound.indicators[i] =
                value ? static_cast<SQLLEN>((text.size() - 1) * sizeof(SQLWCHAR)) : static_cast<SQLLEN>(SQL_NULL_DATA);
            stmt.check(SQLBindParameter(stmt.get(), number, SQL_PARAM_INPUT, SQL_C_WCHAR, type, size, digits,
                                        text.data(), static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR)),
                                        &bound.indicators[i]),
                       "SQLBindParameter");
        }
    }

    // Walks the remaining results so that an error raised by a later statement of a
    // batch is reported instead of lost.
    static void finishResults(const odbc::Handle& stmt)
    {
        for (;;) {
            const SQLRETURN rc = SQLMoreResults(stmt.get());
            if (rc == SQL_NO_DATA)
                return;
            stmt.check(rc, "SQLMoreResults");
        }
    }

    std::vector<std::string> columnNames(const odbc::Handle& stmt, SQLSMALLINT columns) const
    {
        std::vector<std::string> names;
        for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(std::max<SQLSMALLINT>(columns, 0)); ++c)
            names.push_back(columnName(stmt, c));
        return names;
    }

    std::string columnName(const odbc::Handle& stmt, SQLUSMALLINT column) const
    {
        std::string name;
        const SQLRETURN rc = odbc::readText(
            mode_,
            [&](SQLWCHAR* text, SQLSMALLINT size, SQLSMALLINT* length) {
                return SQLDescribeColW(stmt.get(), column, text, size, length, nullptr, nullptr, nullptr, nullptr);
            },
            [&](SQLCHAR* text, SQLSMALLINT size, SQLSMALLINT* length) {
                return SQLDescribeCol(stmt.get(), column, text, size, length, nullptr, nullptr, nullptr, nullptr);
            },
            name);
        stmt.check(rc, "SQLDescribeCol");
        return name;
    }

    static void fetchRows(const odbc::Handle& stmt, std::size_t columns, RowSink& sink)
    {
        std::vector<SQLWCHAR> chunk(kChunkCharacters + 1);
        std::vector<SQLWCHAR> wideValue;
        std::vector<std::string> values(columns);
        std::vector<std::optional<std::string_view>> fields(columns);
        const auto lossy = std::make_unique<bool[]>(columns);
        for (;;) {
            const SQLRETURN rc = SQLFetch(stmt.get());
            if (rc == SQL_NO_DATA)
                break;
            stmt.check(rc, "SQLFetch");
            bool anyLossy = false;
            for (std::size_t c = 0; c < columns; ++c) {
                bool exact = true;
                if (readText(stmt, static_cast<SQLUSMALLINT>(c + 1), chunk, wideValue)) {
                    values[c] = odbc::narrow(wideValue.data(), wideValue.size(), exact);
                    fields[c] = values[c];
                } else {
                    fields[c] = std::nullopt;
                }
                lossy[c] = !exact;
                anyLossy = anyLossy || !exact;
            }
            if (anyLossy)
                sink.lossyRow(fields, std::span<const bool>(lossy.get(), columns));
            else
                sink.row(fields);
        }
    }

    // Reads one field as wide text, piece by piece; false for NULL.
    static bool readText(const odbc::Handle& stmt, SQLUSMALLINT column, std::vector<SQLWCHAR>& chunk,
                         std::vector<SQLWCHAR>& value)
    {
        value.clear();
        const auto chunkBytes = static_cast<SQLLEN>(chunk.size() * sizeof(SQLWCHAR));
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(stmt.get(), column, SQL_C_WCHAR, chunk.data(), chunkBytes, &indicator);
            if (rc == SQL_NO_DATA)
                return true;
            stmt.check(rc, "SQLGetData");
            if (indicator == SQL_NULL_DATA)
                return false;
            // A piece that did not fit fills the buffer but for its terminator.
            const bool truncated =
                rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator >= chunkBytes);
            const auto count = truncated ? chunk.size() - 1 : static_cast<std::size_t>(indicator) / sizeof(SQLWCHAR);
            value.insert(value.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
            if (!truncated)
                return true;
        }
    }

    odbc::Environment env_;
    odbc::Handle dbc_;
    bool connected_ = false;
    int commandTimeoutSeconds_;
    odbc::TextMode mode_ = odbc::TextMode::Wide;
};

std::filesystem::path filePath(const std::string& gbk)
{
    const auto utf8 = gbk::toUtf8(gbk);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The SQLite ODBC driver creates an empty database for a file that is not there; the
// examination database must exist, so a missing file is an error and the driver is
// told not to create any. It waits for a lock as long as its own Timeout key says
// (milliseconds), whatever a statement's time-out, so that key gets the command time-out.
std::string guardSqliteDatabase(const ConnectionString& connection, const std::string& connectionString,
                                int commandTimeoutSeconds)
{
    auto database = connection.value("Database");
    if (database.size() >= 2 && database.front() == '{' && database.back() == '}')
        database = database.substr(1, database.size() - 2);
    if (database != ":memory:") {
        std::error_code error;
        if (database.empty() || !std::filesystem::is_regular_file(filePath(database), error))
            throwProviderError("The database file \"" + database + "\" does not exist");
    }
    auto text = connectionString;
    while (!text.empty() && (text.back() == ';' || text.back() == ' '))
        text.pop_back();
    if (!connection.has("NoCreat"))
        text += ";NoCreat=1";
    if (!connection.has("Timeout"))
        text += ";Timeout=" + std::to_string(lockWaitMs(commandTimeoutSeconds));
    return text;
}

} // namespace

std::unique_ptr<ConnectionBackend> openOdbcBackend(const ConnectionString& connection, int commandTimeoutSeconds)
{
    // The key is the connection's, not the driver's.
    const std::string odbcConnectionString = ConnectionString::without(connection.text(), kCommandTimeoutKey);
    if (isSqlServerProvider(connection))
        return std::make_unique<OdbcBackend>(toSqlServerOdbc(connection, installedOdbcDrivers()),
                                             commandTimeoutSeconds);
    if (text::lowerAscii(connection.value("Driver")).find("sqlite") != std::string::npos)
        return std::make_unique<OdbcBackend>(
            guardSqliteDatabase(connection, odbcConnectionString, commandTimeoutSeconds), commandTimeoutSeconds);
    return std::make_unique<OdbcBackend>(odbcConnectionString, commandTimeoutSeconds);
}

} // namespace skorvin::ado
