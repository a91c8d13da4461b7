#include "platform/connection/OdbcHandle.hpp"

#include "platform/connection/OdbcText.hpp"
#include "platform/connection/ProviderError.hpp"

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
    bool exact = true;
    return narrow(text, count, exact);
}

std::string narrow(const SQLWCHAR* text, std::size_t count, bool& exact)
{
    std::u16string utf16(count, u'\0');
    std::transform(text, text + count, utf16.begin(), [](SQLWCHAR c) { return static_cast<char16_t>(c); });
    return odbctext::toGbk(utf16, exact);
}

std::string toGbk(const std::vector<SQLWCHAR>& text)
{
    return narrow(text.data(), text.size());
}

std::string toGbk(const std::vector<SQLCHAR>& text)
{
    return gbk::fromUtf8(std::string(text.begin(), text.end()));
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
    auto diag = diagnostic(type_, handle_, mode_);
    if (diag.message.empty())
        diag.message = std::string(what) + " failed";
    // SQLSTATE class 08: the connection is gone, whatever the driver calls it.
    if (diag.state.starts_with("08"))
        throw EConnectionLost(providerMessage(std::move(diag.message)));
    throwProviderError(std::move(diag.message));
}

namespace {

std::optional<Diagnostic> diagRecord(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT record, TextMode mode)
{
    SQLWCHAR wideState[6] = {};
    SQLCHAR utf8State[6] = {};
    SQLINTEGER native = 0;
    Diagnostic diag;
    const SQLRETURN rc = readText(
        mode,
        [&](SQLWCHAR* text, SQLSMALLINT size, SQLSMALLINT* length) {
            return SQLGetDiagRecW(type, handle, record, wideState, &native, text, size, length);
        },
        [&](SQLCHAR* text, SQLSMALLINT size, SQLSMALLINT* length) {
            return SQLGetDiagRec(type, handle, record, utf8State, &native, text, size, length);
        },
        diag.message);
    if (!SQL_SUCCEEDED(rc))
        return std::nullopt;
    diag.state =
        mode == TextMode::Wide ? narrow(wideState, 5) : std::string(reinterpret_cast<const char*>(utf8State), 5);
    return diag;
}

} // namespace

Diagnostic diagnostic(SQLSMALLINT type, SQLHANDLE handle, TextMode mode)
{
    Diagnostic firstWarning;
    for (SQLSMALLINT record = 1;; ++record) {
        auto diag = diagRecord(type, handle, record, mode);
        if (!diag)
            break;
        diag->message = withoutDriverPrefixes(diag->message);
        // SQLSTATE class 01 is a warning; an error record after it is what went wrong.
        if (!diag->state.starts_with("01"))
            return std::move(*diag);
        if (firstWarning.message.empty())
            firstWarning = std::move(*diag);
    }
    return firstWarning;
}

std::string diagnosticMessage(SQLSMALLINT type, SQLHANDLE handle, TextMode mode)
{
    return diagnostic(type, handle, mode).message;
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
