#include "Rows.hpp"

#include "platform/connection/RowSink.hpp"

#include <stdexcept>

namespace skorvin::test {
namespace {

class Collect : public ado::RowSink {
public:
    explicit Collect(Rows& rows) : rows_(rows) {}
    void columns(const std::vector<std::string>&) override {}
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        auto& row = rows_.emplace_back();
        for (const auto& field : fields) {
            row.push_back(field ? ado::FieldValue(std::string(*field)) : std::nullopt);
        }
    }

private:
    Rows& rows_;
};

} // namespace

Rows queryRows(ado::TADOConnection& connection, const std::string& sql)
{
    Rows rows;
    Collect sink(rows);
    connection.query(sql, {}, sink);
    return rows;
}

long long queryCount(ado::TADOConnection& connection, const std::string& sql)
{
    const Rows rows = queryRows(connection, sql);
    if (rows.empty() || rows.front().empty() || !rows.front().front()) {
        throw std::runtime_error("no count from: " + sql);
    }
    return std::stoll(*rows.front().front());
}

} // namespace skorvin::test
