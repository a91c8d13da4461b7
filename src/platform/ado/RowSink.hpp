#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::ado {

// Receives the rows of a query as the backend reads them, so that a million rows
// go straight into their final store. Texts are GBK; nullopt is NULL.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void columns(const std::vector<std::string>& names) = 0;
    virtual void row(std::span<const std::optional<std::string_view>> fields) = 0;
};

} // namespace skorvin::ado
