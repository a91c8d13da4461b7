#pragma once

#include "platform/ado/OdbcApi.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace skorvin::ado::odbc {

// How a connection passes text arguments (statements, names, messages): through
// the wide calls as UTF-16, or through the 8-bit calls as UTF-8.
enum class TextMode { Wide, Utf8 };

// GBK text as a zero-terminated wide buffer for the driver.
std::vector<SQLWCHAR> wide(const std::string& gbk);
// count wide characters from the driver as GBK text.
std::string narrow(const SQLWCHAR* text, std::size_t count);

// One ODBC handle, freed when it goes out of scope, so that every path out of a
// call, the failing ones included, gives it back to the driver manager.
class Handle {
public:
    // Allocates a handle of type under parent (SQL_NULL_HANDLE for an environment);
    // mode is how its messages are read.
    Handle(SQLSMALLINT type, SQLHANDLE parent, TextMode mode = TextMode::Wide);
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    SQLHANDLE get() const { return handle_; }
    SQLSMALLINT type() const { return type_; }
    void setTextMode(TextMode mode) { mode_ = mode; }

    // Throws the driver's error for a failed call; what names the call when the
    // driver left no message.
    void check(SQLRETURN rc, std::string_view what) const;
    [[noreturn]] void fail(std::string_view what) const;

private:
    SQLSMALLINT type_;
    TextMode mode_;
    SQLHANDLE handle_ = SQL_NULL_HANDLE;
};

// An ODBC 3 environment: the driver manager's root handle.
class Environment : public Handle {
public:
    Environment();
};

// The message a user should read from a handle's diagnostics: the first error
// record (warnings only when there is nothing else), without driver prefixes;
// empty when the driver recorded nothing.
std::string diagnosticMessage(SQLSMALLINT type, SQLHANDLE handle, TextMode mode = TextMode::Wide);

// Drops the bracketed components that driver managers and drivers put in front of
// their messages: "[unixODBC][Driver Manager]Data source..." reads "Data source...".
std::string withoutDriverPrefixes(std::string_view message);

} // namespace skorvin::ado::odbc
