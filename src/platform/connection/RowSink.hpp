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
    // A row with texts that lost something on the way to GBK (a character GBK lacks, bytes
    // that are not UTF-8): lossy[f] is true for each such field, whose text holds "?" where
    // the database has something else. Backends call it instead of row() for such rows only;
    // a sink that does not care takes it as a plain row.
    virtual void lossyRow(std::span<const std::optional<std::string_view>> fields, std::span<const bool> lossy)
    {
        static_cast<void>(lossy);
        row(fields);
    }
};

} // namespace skorvin::ado
