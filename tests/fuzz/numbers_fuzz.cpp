// Whole and decimal numbers from text: strict shapes, exact messages, values that read back.
#include "platform/Exception.hpp"
#include "platform/Numbers.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

template <typename T, typename Convert> std::optional<T> attempt(Convert convert, std::string_view s, const char* kind)
{
    try {
        return convert(s);
    } catch (const skorvin::EConvertError& e) {
        require(e.message() == "'" + std::string(s) + "' is not a valid " + kind + " value");
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    const auto whole = attempt<std::int32_t>([](std::string_view s) { return toInt(s); }, input, "integer");
    const auto decimal = attempt<double>([](std::string_view s) { return toFloat(s); }, input, "floating point");

    if (whole) {
        require(toInt(std::to_string(*whole)) == *whole);
        // A decimal whole number is a decimal number of the same value.
        if (input.find_first_of("$xX") == std::string_view::npos)
            require(decimal && *decimal == static_cast<double>(*whole));
    }
    if (decimal) {
        require(std::isfinite(*decimal));
        char shortest[64];
        const auto [end, ec] = std::to_chars(shortest, shortest + sizeof shortest, *decimal);
        require(ec == std::errc());
        require(toFloat(std::string_view(shortest, static_cast<std::size_t>(end - shortest))) == *decimal);
    }
    return 0;
}
