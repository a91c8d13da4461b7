#include "library/HostConnectionBackend.hpp"

#include "platform/connection/ProviderError.hpp"

#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace skorvin::library {

namespace {

// The values as the interface takes them: a pointer per value, nullptr for NULL.
std::vector<const char*> valuePointers(const std::vector<ado::FieldValue>& params)
{
    std::vector<const char*> pointers;
    pointers.reserve(params.size());
    for (const auto& value : params)
        pointers.push_back(value ? value->c_str() : nullptr);
    return pointers;
}

// Hands the host's rows to the library's sink; an exception of the library's (a full disk,
// no memory) never crosses into the host's code, it is kept and raised once the host returns.
class SinkAcrossTheBoundary final : public ISkorvinRowSink {
public:
    explicit SinkAcrossTheBoundary(ado::RowSink& target) : target_(target) {}

    void SKORVIN_STDCALL columns(int count, const char* const* names) override
    {
        guarded([&] {
            std::vector<std::string> list;
            for (int i = 0; i < count; ++i)
                list.emplace_back(names[i] ? names[i] : "");
            target_.columns(list);
        });
    }

    void SKORVIN_STDCALL row(int count, const char* const* values, const int* lengths) override
    {
        guarded([&] {
            collect(count, values, lengths);
            target_.row(fields_);
        });
    }

    void SKORVIN_STDCALL lossyRow(int count, const char* const* values, const int* lengths,
                                  const unsigned char* lossy) override
    {
        guarded([&] {
            collect(count, values, lengths);
            const std::size_t n = fields_.size();
            std::unique_ptr<bool[]> marks(new bool[n]);
            for (std::size_t i = 0; i < n; ++i)
                marks[i] = lossy[i] != 0;
            target_.lossyRow(fields_, std::span<const bool>(marks.get(), n));
        });
    }

    void rethrow() const
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    void collect(int count, const char* const* values, const int* lengths)
    {
        // A count below zero from a host is no row at all, not a huge one.
        fields_.clear();
        for (int i = 0; i < count; ++i)
            fields_.push_back(values[i] ? std::optional<std::string_view>(
                                              std::string_view(values[i], static_cast<std::size_t>(lengths[i])))
                                        : std::nullopt);
    }

    template <typename Step> void guarded(Step step)
    {
        if (failure_)
            return;
        try {
            step();
        } catch (...) {
            failure_ = std::current_exception();
        }
    }

    ado::RowSink& target_;
    std::vector<std::optional<std::string_view>> fields_;
    std::exception_ptr failure_;
};

} // namespace

long HostConnectionBackend::execute(const std::string& sql, const std::vector<ado::FieldValue>& params)
{
    const auto values = valuePointers(params);
    const int rows = host_.execute(sql.c_str(), static_cast<int>(values.size()), values.data());
    if (rows == kSkorvinFailed)
        fail();
    return rows;
}

void HostConnectionBackend::query(const std::string& sql, const std::vector<ado::FieldValue>& params,
                                  ado::RowSink& sink)
{
    const auto values = valuePointers(params);
    SinkAcrossTheBoundary rows(sink);
    const int result = host_.query(sql.c_str(), static_cast<int>(values.size()), values.data(), &rows);
    rows.rethrow();
    if (result == kSkorvinFailed)
        fail();
}

void HostConnectionBackend::fail()
{
    const char* text = host_.errorText();
    ado::throwProviderError(text ? text : "");
}

} // namespace skorvin::library
