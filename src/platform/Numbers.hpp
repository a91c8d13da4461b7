#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace skorvin {

// Strict whole number: leading blanks, one sign, then decimal digits or "$"/"0x"
// and hexadecimal digits, nothing after, within 32 bits.
// Throws EConvertError "'%s' is not a valid integer value".
std::int32_t toInt(std::string_view s);

// Decimal number: blanks around it, a sign, digits with "." as the separator,
// an exponent. "." is the separator whatever the regional settings say, because
// the score box admits only ".".
// Throws EConvertError "'%s' is not a valid floating point value".
double toFloat(std::string_view s);
// The same reading without the error: nullopt for a text that is not a decimal number.
std::optional<double> parseFloat(std::string_view s);

} // namespace skorvin
