#include "host/connection/HostConnection.hpp"

#include "platform/connection/RowSink.hpp"

#include <exception>
#include <vector>

namespace skorvin::host {

namespace {

std::vector<ado::FieldValue> values(int count, const char* const* params)
{
    std::vector<ado::FieldValue> result;
    for (int i = 0; i < count; ++i)
        result.push_back(params[i] ? ado::FieldValue(params[i]) : ado::FieldValue());
    return result;
}

// The host's rows, handed on to the library's sink as pointers and lengths.
class ToLibrary final : public ado::RowSink {
public:
    explicit ToLibrary(ISkorvinRowSink& sink) : sink_(sink) {}

    void columns(const std::vector<std::string>& names) override
    {
        std::vector<const char*> pointers;
        for (const auto& name : names)
            pointers.push_back(name.c_str());
        sink_.columns(static_cast<int>(pointers.size()), pointers.data());
    }

    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        collect(fields);
        sink_.row(static_cast<int>(pointers_.size()), pointers_.data(), lengths_.data());
    }

    void lossyRow(std::span<const std::optional<std::string_view>> fields, std::span<const bool> lossy) override
    {
        collect(fields);
        marks_.assign(lossy.begin(), lossy.end());
        sink_.lossyRow(static_cast<int>(pointers_.size()), pointers_.data(), lengths_.data(), marks_.data());
    }

private:
    void collect(std::span<const std::optional<std::string_view>> fields)
    {
        pointers_.clear();
        lengths_.clear();
        for (const auto& field : fields) {
            pointers_.push_back(field ? field->data() : nullptr);
            lengths_.push_back(field ? static_cast<int>(field->size()) : 0);
        }
    }

    ISkorvinRowSink& sink_;
    std::vector<const char*> pointers_;
    std::vector<int> lengths_;
    std::vector<unsigned char> marks_;
};

} // namespace

int HostConnection::execute(const char* sql, int paramCount, const char* const* params)
{
    try {
        return static_cast<int>(connection_.execute(sql, values(paramCount, params)));
    } catch (const std::exception& e) {
        error_ = e.what();
        return kSkorvinFailed;
    }
}

int HostConnection::query(const char* sql, int paramCount, const char* const* params, ISkorvinRowSink* sink)
{
    try {
        ToLibrary rows(*sink);
        connection_.query(sql, values(paramCount, params), rows);
        return 0;
    } catch (const std::exception& e) {
        error_ = e.what();
        return kSkorvinFailed;
    }
}

} // namespace skorvin::host
