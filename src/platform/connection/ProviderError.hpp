#pragma once

#include "platform/Exception.hpp"

#include <string>

namespace skorvin::ado {

// The provider's description as the system reports it: trailing blanks and full stops removed.
std::string providerMessage(std::string description);
[[noreturn]] void throwProviderError(std::string description);

// The connection to the database server is gone (ODBC's SQLSTATE class 08). The statement
// that met it may or may not have run; the connection fails until it is opened again.
class EConnectionLost : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

} // namespace skorvin::ado
