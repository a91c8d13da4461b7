#pragma once

#include "platform/connection/OdbcApi.hpp"

#include <algorithm>
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
// The same; exact tells whether every character came through (see odbctext::toGbk).
std::string narrow(const SQLWCHAR* text, std::size_t count, bool& exact);
// Text from the driver as GBK: UTF-16 from a wide call, UTF-8 from an 8-bit one.
std::string toGbk(const std::vector<SQLWCHAR>& text);
std::string toGbk(const std::vector<SQLCHAR>& text);

// Text a driver writes into a buffer it is given: the call is made again with more room
// while the text filled the buffer. Some drivers cut the text without a warning and
// report the cut length, and some driver managers count a wide text's length in bytes
// (and cut it at the bytes their driver had room for). So the text ends at its
// terminator, and a full buffer or a length that fills it says it may go on. The call
// takes the buffer, its size in characters and where to put the length.
template <typename Char, typename Call> SQLRETURN readTextAs(Call call, std::vector<Char>& text)
{
    constexpr std::size_t kMostRoom = 32767; // the largest size a SQLSMALLINT can pass
    std::size_t room = 512;
    for (;;) {
        text.assign(room, Char{});
        SQLSMALLINT length = 0;
        const SQLRETURN rc = call(text.data(), static_cast<SQLSMALLINT>(room), &length);
        const auto reported = static_cast<std::size_t>(std::max<SQLSMALLINT>(length, 0));
        const auto end = std::find(text.begin(), text.begin() + std::min(reported, room - 1), Char{});
        const auto size = static_cast<std::size_t>(end - text.begin());
        const bool full = size >= room - 1 || reported >= room - 1;
        if (!SQL_SUCCEEDED(rc) || !full || room == kMostRoom) {
            text.resize(size);
            return rc;
        }
        room = std::min(kMostRoom, std::max(room * 2, reported + 1));
    }
}

// The same through the wide or the 8-bit form of a call, as mode says, read as GBK.
template <typename WideCall, typename Utf8Call>
SQLRETURN readText(TextMode mode, WideCall wideCall, Utf8Call utf8Call, std::string& gbk)
{
    SQLRETURN rc;
    if (mode == TextMode::Wide) {
        std::vector<SQLWCHAR> text;
        rc = readTextAs(wideCall, text);
        gbk = toGbk(text);
    } else {
        std::vector<SQLCHAR> text;
        rc = readTextAs(utf8Call, text);
        gbk = toGbk(text);
    }
    return rc;
}

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

    // Throws the driver's error for a failed call (EConnectionLost when the connection is
    // gone); what names the call when the driver left no message.
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

// One diagnostic record: its SQLSTATE and its message.
struct Diagnostic {
    std::string state;
    std::string message;
};

// The record a user should read from a handle's diagnostics: the first error record
// (warnings only when there is nothing else), its message without driver prefixes;
// empty when the driver recorded nothing.
Diagnostic diagnostic(SQLSMALLINT type, SQLHANDLE handle, TextMode mode = TextMode::Wide);
// Its message.
std::string diagnosticMessage(SQLSMALLINT type, SQLHANDLE handle, TextMode mode = TextMode::Wide);

// Drops the bracketed components that driver managers and drivers put in front of
// their messages: "[unixODBC][Driver Manager]Data source..." reads "Data source...".
std::string withoutDriverPrefixes(std::string_view message);

} // namespace skorvin::ado::odbc
