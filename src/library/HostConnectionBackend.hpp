#pragma once

#include "library/SkorvinDLL.hpp"
#include "platform/connection/ConnectionBackend.hpp"

namespace skorvin::library {

// The host's connection, reached through the boundary interface, as a backend of the
// library's own TADOConnection: statements and values go across as GBK text, rows come back
// into the library's sink, and a failure becomes the provider error the library reports.
class HostConnectionBackend final : public ado::ConnectionBackend {
public:
    explicit HostConnectionBackend(ISkorvinConnection& host) : host_(host) {}

    long execute(const std::string& sql, const std::vector<ado::FieldValue>& params) override;
    void query(const std::string& sql, const std::vector<ado::FieldValue>& params, ado::RowSink& sink) override;

private:
    [[noreturn]] void fail();

    ISkorvinConnection& host_;
};

} // namespace skorvin::library
