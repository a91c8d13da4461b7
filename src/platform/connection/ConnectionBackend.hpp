#pragma once

#include "platform/connection/ConnectionString.hpp"
#include "platform/connection/FieldValue.hpp"
#include "platform/connection/RowSink.hpp"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace skorvin::ado {

// One database driver behind TADOConnection. Statement texts arrive in GBK with
// "?" placeholders (named parameters already turned positional); values are bound
// as text, NULL as NULL. Rows go to the sink as GBK. Failures throw EDatabaseError
// built with providerError().
class ConnectionBackend {
public:
    virtual ~ConnectionBackend() = default;
    virtual long execute(const std::string& sql, const std::vector<FieldValue>& params) = 0;
    virtual void query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink) = 0;
};

// How long a statement may wait, for another connection's lock above all, before it fails
// with the provider's text: ADO's command time-out for a server, and a shorter wait on the
// embedded file, whose locks are held for moments.
inline constexpr int kDefaultCommandTimeoutSeconds = 30;
// The connection string key of the command time-out; never passed on to a driver.
inline constexpr const char* kCommandTimeoutKey = "Command Timeout";
inline constexpr int kDefaultBusyTimeoutMs = 5000;

// A command time-out as SQLite's wait for a lock, in milliseconds; 0 seconds, no limit, is
// the longest wait SQLite knows (its own 0 would not wait at all).
constexpr int lockWaitMs(int commandTimeoutSeconds)
{
    constexpr long long kLongest = std::numeric_limits<int>::max();
    return commandTimeoutSeconds <= 0 ? static_cast<int>(kLongest)
                                      : static_cast<int>(std::min(kLongest, commandTimeoutSeconds * 1000LL));
}

// "Provider=SQLite;Data Source=<file>": the embedded examination database.
// The file (GBK name) must exist: a missing file is an error, never a new empty database.
std::unique_ptr<ConnectionBackend> openSqliteBackend(const std::string& file,
                                                     int busyTimeoutMs = kDefaultBusyTimeoutMs);
// An ODBC connection string, read once by the caller, handed to the driver manager as it is
// but for the command time-out key, which is the connection's; 0 seconds lets statements run
// as long as they take.
std::unique_ptr<ConnectionBackend> openOdbcBackend(const ConnectionString& connection,
                                                   int commandTimeoutSeconds = kDefaultCommandTimeoutSeconds);

} // namespace skorvin::ado
