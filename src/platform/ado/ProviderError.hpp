#pragma once

#include "platform/Exception.hpp"

#include <string>

namespace skorvin::ado {

// The provider's description as the system reports it: trailing blanks and full stops removed.
std::string providerMessage(std::string description);
[[noreturn]] void throwProviderError(std::string description);

} // namespace skorvin::ado
