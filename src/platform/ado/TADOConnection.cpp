#include "platform/ado/TADOConnection.hpp"

#include "platform/Text.hpp"
#include "platform/ado/ConnectionBackend.hpp"
#include "platform/ado/ConnectionString.hpp"
#include "platform/ado/ProviderError.hpp"
#include "platform/ado/StatementText.hpp"

#include <cctype>

namespace skorvin::ado {

namespace {


PositionalStatement prepare(const std::string& sql, const std::vector<FieldValue>& params)
{
    auto statement = toPositional(sql);
    if (params.size() < statement.placeholders)
        throwProviderError("No value given for one or more required parameters.");
    return statement;
}

std::vector<FieldValue> firstParams(const std::vector<FieldValue>& params, std::size_t count)
{
    return {params.begin(), params.begin() + static_cast<std::ptrdiff_t>(count)};
}

} // namespace

TADOConnection::TADOConnection(std::string connectionString) : connectionString_(std::move(connectionString)) {}

TADOConnection::~TADOConnection() = default;

void TADOConnection::setConnectionString(std::string connectionString)
{
    connectionString_ = std::move(connectionString);
}

void TADOConnection::open()
{
    if (backend_)
        return;
    if (text::trim(connectionString_).empty())
        throwProviderError("The connection string is empty");
    const ConnectionString parts(connectionString_);
    if (text::equalsNoCase(parts.value("Provider"), "SQLite")) {
        const auto file = parts.value("Data Source");
        if (file.empty())
            throwProviderError("The connection string names no Data Source");
        int busyTimeoutMs = kDefaultBusyTimeoutMs;
        if (parts.has("Busy Timeout")) {
            try {
                busyTimeoutMs = std::stoi(parts.value("Busy Timeout"));
            } catch (const std::exception&) {
                throwProviderError("Busy Timeout must be a whole number of milliseconds");
            }
        }
        backend_ = openSqliteBackend(file, busyTimeoutMs);
    } else {
        backend_ = openOdbcBackend(connectionString_);
    }
}

void TADOConnection::close()
{
    backend_.reset();
}

bool TADOConnection::connected() const
{
    return backend_ != nullptr;
}

ConnectionBackend& TADOConnection::backend()
{
    if (!backend_)
        throwProviderError("Operation is not allowed when the object is closed");
    return *backend_;
}

long TADOConnection::execute(const std::string& sql, const std::vector<FieldValue>& params)
{
    auto& target = backend();
    const auto statement = prepare(sql, params);
    if (listener_)
        listener_(sql);
    return target.execute(statement.text, firstParams(params, statement.placeholders));
}

void TADOConnection::query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink)
{
    auto& target = backend();
    const auto statement = prepare(sql, params);
    if (listener_)
        listener_(sql);
    target.query(statement.text, firstParams(params, statement.placeholders), sink);
}

void TADOConnection::setStatementListener(std::function<void(const std::string&)> listener)
{
    listener_ = std::move(listener);
}

} // namespace skorvin::ado
