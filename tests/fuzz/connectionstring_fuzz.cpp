// Connection strings: reading keys, and hiding passwords from what is shown to people.
#include "platform/Text.hpp"
#include "platform/connection/ConnectionString.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using skorvin::ado::ConnectionString;
    const std::string input(reinterpret_cast<const char*>(data), size);

    const ConnectionString parts(input);
    require(parts.has("Provider") || parts.value("Provider").empty());

    const std::string shown = ConnectionString::withoutPasswords(input);
    // Hiding twice changes nothing more, and a text with no password key is shown as it is.
    require(ConnectionString::withoutPasswords(shown) == shown);
    const std::string lower = skorvin::text::lowerAscii(input);
    if (lower.find("pwd") == std::string::npos && lower.find("password") == std::string::npos)
        require(shown == input);
    // A braced password in front never shows any of its text.
    if (lower.starts_with("pwd={")) {
        const auto secret = input.substr(5, 8);
        if (secret.size() == 8 && secret.find_first_of(";{}=") == std::string::npos)
            require(shown.find(secret) == std::string::npos || input.find(secret) != input.rfind(secret));
    }
    return 0;
}
