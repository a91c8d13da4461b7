#include "platform/connection/ProviderError.hpp"

namespace skorvin::ado {

std::string providerMessage(std::string description)
{
    while (!description.empty() && (static_cast<unsigned char>(description.back()) <= ' ' || description.back() == '.'))
        description.pop_back();
    return description;
}

void throwProviderError(std::string description)
{
    throw EDatabaseError(providerMessage(std::move(description)));
}

} // namespace skorvin::ado
