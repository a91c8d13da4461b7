#pragma once

#include "library/SkorvinDLL.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <string>

namespace skorvin::host {

// The demo host's connection as it crosses into the library: the boundary interface over
// the host's own TADOConnection, which stays the host's to open, reopen and close.
class HostConnection final : public ISkorvinConnection {
public:
    explicit HostConnection(ado::TADOConnection& connection) : connection_(connection) {}
    virtual ~HostConnection() = default;
    HostConnection(const HostConnection&) = delete;
    HostConnection& operator=(const HostConnection&) = delete;

    int SKORVIN_STDCALL execute(const char* sql, int paramCount, const char* const* params) override;
    int SKORVIN_STDCALL query(const char* sql, int paramCount, const char* const* params,
                              ISkorvinRowSink* sink) override;
    const char* SKORVIN_STDCALL errorText() override { return error_.c_str(); }

private:
    ado::TADOConnection& connection_;
    std::string error_;
};

} // namespace skorvin::host
