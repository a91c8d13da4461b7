// Filter criteria: any text is read or refused with the database error, and a criteria
// that reads is tested against rows of texts, numbers and NULLs without harm.
#include "platform/Exception.hpp"
#include "platform/recordset/FilterExpression.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

const std::vector<std::string> kFields = {"zkzh", "xm", "tttt", "kd dm"};

std::unique_ptr<skorvin::ado::FilterExpression> read(const std::string& criteria)
{
    try {
        auto filter = std::make_unique<skorvin::ado::FilterExpression>(criteria);
        filter->bind(kFields);
        return filter;
    } catch (const skorvin::EDatabaseError&) {
        return nullptr;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string criteria = input.ConsumeRandomLengthString(256);
    const auto filter = read(criteria);
    if (!filter || filter->empty())
        return 0;
    // The whole criteria in parentheses says the same.
    const auto grouped = read("(" + criteria + ")");
    require(grouped != nullptr);

    std::vector<std::string> texts(kFields.size());
    std::vector<skorvin::ado::FilterExpression::Value> row(kFields.size());
    while (input.remaining_bytes() > 0) {
        for (std::size_t f = 0; f < kFields.size(); ++f) {
            texts[f] = input.ConsumeRandomLengthString(16);
            if (input.ConsumeBool())
                row[f] = texts[f];
            else
                row[f].reset();
        }
        require(filter->matches(row.data()) == grouped->matches(row.data()));
    }
    return 0;
}
