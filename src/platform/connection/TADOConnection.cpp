#include "platform/connection/TADOConnection.hpp"

#include "platform/Text.hpp"
#include "platform/connection/ConnectionBackend.hpp"
#include "platform/connection/ConnectionString.hpp"
#include "platform/connection/ProviderError.hpp"
#include "platform/connection/StatementText.hpp"

#include <charconv>
#include <optional>

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

// Passes a query's answer on and remembers whether any row went through.
class WatchedSink final : public RowSink {
public:
    explicit WatchedSink(RowSink& target) : target_(target) {}
    bool rowsPassed() const { return rowsPassed_; }

    void columns(const std::vector<std::string>& names) override { target_.columns(names); }
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        rowsPassed_ = true;
        target_.row(fields);
    }
    void lossyRow(std::span<const std::optional<std::string_view>> fields, std::span<const bool> lossy) override
    {
        rowsPassed_ = true;
        target_.lossyRow(fields, lossy);
    }

private:
    RowSink& target_;
    bool rowsPassed_ = false;
};

// A time-out key's whole number, when the string sets it; unit names it in the error.
std::optional<int> timeoutSetting(const ConnectionString& parts, const std::string& key, const std::string& unit)
{
    if (!parts.has(key))
        return std::nullopt;
    const auto text = parts.value(key);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        throwProviderError(key + " must be a whole number of " + unit);
    return value;
}

} // namespace

TADOConnection::TADOConnection(std::string connectionString) : connectionString_(std::move(connectionString)) {}

TADOConnection::TADOConnection(std::unique_ptr<ConnectionBackend> borrowed)
    : backend_(std::move(borrowed)), borrowed_(true)
{
}

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
    const auto commandTimeout = timeoutSetting(parts, kCommandTimeoutKey, "seconds");
    if (text::equalsNoCase(parts.value("Provider"), "SQLite")) {
        const auto file = parts.value("Data Source");
        if (file.empty())
            throwProviderError("The connection string names no Data Source");
        const auto busyTimeoutMs = timeoutSetting(parts, "Busy Timeout", "milliseconds");
        backend_ = openSqliteBackend(
            file, busyTimeoutMs.value_or(commandTimeout ? lockWaitMs(*commandTimeout) : kDefaultBusyTimeoutMs));
    } else {
        backend_ = openOdbcBackend(parts, commandTimeout.value_or(kDefaultCommandTimeoutSeconds));
    }
    lost_ = false;
}

void TADOConnection::close()
{
    if (borrowed_)
        return;
    backend_.reset();
    lost_ = false;
}

bool TADOConnection::connected() const
{
    return backend_ != nullptr || lost_;
}

void TADOConnection::setReopenWhenLost(bool reopen)
{
    reopenWhenLost_ = reopen;
}

ConnectionBackend& TADOConnection::backend()
{
    if (lost_)
        open();
    if (!backend_)
        throwProviderError("Operation is not allowed when the object is closed");
    return *backend_;
}

void TADOConnection::forgetLostBackend()
{
    if (reopenWhenLost_) {
        backend_.reset();
        lost_ = true;
    }
}

long TADOConnection::execute(const std::string& sql, const std::vector<FieldValue>& params)
{
    auto& target = backend();
    const auto statement = prepare(sql, params);
    if (listener_)
        listener_(sql);
    try {
        return target.execute(statement.text, firstParams(params, statement.placeholders));
    } catch (const EConnectionLost&) {
        // The statement may have changed the database before the connection went, so it
        // is not run again: the caller hears of the failure and may ask once more.
        forgetLostBackend();
        throw;
    }
}

void TADOConnection::query(const std::string& sql, const std::vector<FieldValue>& params, RowSink& sink)
{
    auto& target = backend();
    const auto statement = prepare(sql, params);
    if (listener_)
        listener_(sql);
    const auto values = firstParams(params, statement.placeholders);
    WatchedSink watched(sink);
    try {
        target.query(statement.text, values, watched);
    } catch (const EConnectionLost&) {
        forgetLostBackend();
        // Rows already handed over would come twice.
        if (!lost_ || watched.rowsPassed())
            throw;
        // A read changes nothing, so it runs once more on a new connection; when that
        // cannot be opened, the reason why is what the caller hears of.
        open();
        backend_->query(statement.text, values, sink);
    }
}

void TADOConnection::setStatementListener(std::function<void(const std::string&)> listener)
{
    listener_ = std::move(listener);
}

} // namespace skorvin::ado
