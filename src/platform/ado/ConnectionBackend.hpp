#pragma once

#include "platform/ado/FieldValue.hpp"
#include "platform/ado/RowSink.hpp"

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

// How long a statement waits for another connection's lock before it fails with the provider's text.
inline constexpr int kDefaultBusyTimeoutMs = 5000;

// "Provider=SQLite;Data Source=<file>[;Busy Timeout=<ms>]": the embedded examination database.
// The file (GBK name) must exist: a missing file is an error, never a new empty database.
std::unique_ptr<ConnectionBackend> openSqliteBackend(const std::string& file,
                                                     int busyTimeoutMs = kDefaultBusyTimeoutMs);
// An ODBC connection string handed to the driver manager as it is.
std::unique_ptr<ConnectionBackend> openOdbcBackend(const std::string& odbcConnectionString);

} // namespace skorvin::ado
