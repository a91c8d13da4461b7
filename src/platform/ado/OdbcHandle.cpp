#include "platform/ado/OdbcHandle.hpp"

#include "platform/ado/OdbcText.hpp"
#include "platform/ado/ProviderError.hpp"

#include "platform/Gbk.hpp"

#include <algorithm>
#include <optional>

namespace skorvin::ado::odbc {

std::vector<SQLWCHAR> wide(const std::string& gbk)
{
    const auto utf16 = odbctext::fromGbk(gbk);
    std::vector<SQLWCHAR> out(utf16.size() + 1, 0);
    std::transform(utf16.begin(), utf16.end(), out.begin(), [](char16_t c) { return static_cast<SQLWCHAR>(c); });
    return out;
}

std::string narrow(const SQLWCHAR* text, std::size_t count)
{
    std::u16string utf16(count, u'\0');
    std::transform(text, text + count, utf16.begin(), [](SQLWCHAR c) { return static_cast<char16_t>(c); });
    return odbctext::toGbk(utf16);
}

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent, TextMode mode) : type_(type), mode_(mode)
{
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (SQL_SUCCEEDED(rc))
        return;
    // A failed allocation records its reason on the parent, not on the handle that was never made.
    std::string message;
    if (parent != SQL_NULL_HANDLE)
        message = diagnosticMessage(type == SQL_HANDLE_STMT ? SQL_HANDLE_DBC : SQL_HANDLE_ENV, parent, mode);
    handle_ = SQL_NULL_HANDLE;
    throwProviderError(message.empty() ? "The ODBC driver manager could not allocate a handle" : message);
}

Handle::~Handle()
{
    if (handle_ != SQL_NULL_HANDLE)
        SQLFreeHandle(type_, handle_);
}

Environment::Environment() : Handle(SQL_HANDLE_ENV, SQL_NULL_HANDLE)
{
    check(SQLSetEnvAttr(get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0), "SQLSetEnvAttr");
}

void Handle::check(SQLRETURN rc, std::string_view what) const
{
    if (!SQL_SUCCEEDED(rc))
        fail(what);
}

void Handle::fail(std::string_view what) const
{
    auto message = diagnosticMessage(type_, handle_, mode_);
    if (message.empty())
        message = std::string(what) + " failed";
    throwProviderError(message);
}

namespace {

// One diagnostic record: its SQLSTATE and message text, or nothing past the last record.
struct DiagRecord {
    std::string state;
    std::string message;
};

std::optional<DiagRecord> wideRecord(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record)
{
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLWCHAR> text(512);
    auto read = [&] {
        return SQLGetDiagRecW(type, handle, record, state, &native, text.data(), static_cast<SQLSMALLINT>(text.size()),
                              &length);
    };
    SQLRETURN rc = read();
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.resize(static_cast<std::size_t>(length) + 1);
        rc = read();
    }
    if (!SQL_SUCCEEDED(rc))
        return std::nullopt;
    const auto count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), text.size() - 1);
    return DiagRecord{narrow(state, 5), narrow(text.data(), count)};
}

std::optional<DiagRecord> utf8Record(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record)
{
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    std::vector<SQLCHAR> text(1024);
    auto read = [&] {
        return SQLGetDiagRec(type, handle, record, state, &native, text.data(), static_cast<SQLSMALLINT>(text.size()),
                             &length);
    };
    SQLRETURN rc = read();
    if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(text.size())) {
        text.resize(static_cast<std::size_t>(length) + 1);
        rc = read();
    }
    if (!SQL_SUCCEEDED(rc))
        return std::nullopt;
    const auto count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0)), text.size() - 1);
    return DiagRecord{std::string(reinterpret_cast<const char*>(state), 5),
                      gbk::fromUtf8(std::string(reinterpret_cast<const char*>(text.data()), count))};
}

} // namespace

std::string diagnosticMessage(SQLSMALLINT type, SQLHANDLE handle, TextMode mode)
{
    std::string firstWarning;
    for (SQLSMALLINT record = 1;; ++record) {
        auto diag = mode == TextMode::Wide ? wideRecord(type, handle, record) : utf8Record(type, handle, record);
        if (!diag)
            break;
        auto message = withoutDriverPrefixes(diag->message);
        // SQLSTATE class 01 is a warning; an error record after it is what went wrong.
        if (diag->state.rfind("01", 0) != 0)
            return message;
        if (firstWarning.empty())
            firstWarning = std::move(message);
    }
    return firstWarning;
}

std::string withoutDriverPrefixes(std::string_view message)
{
    while (!message.empty() && message.front() == '[') {
        const auto close = message.find(']');
        if (close == std::string_view::npos)
            break;
        message.remove_prefix(close + 1);
    }
    return std::string(message);
}

} // namespace skorvin::ado::odbc
