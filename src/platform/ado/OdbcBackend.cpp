#include "platform/ado/ConnectionBackend.hpp"
#include "platform/ado/ProviderError.hpp"

namespace skorvin::ado {

std::unique_ptr<ConnectionBackend> openOdbcBackend(const std::string& odbcConnectionString)
{
    throwProviderError("ODBC connections are not available yet: " + odbcConnectionString);
}

} // namespace skorvin::ado
