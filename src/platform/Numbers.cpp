#include "platform/Numbers.hpp"

#include "platform/Exception.hpp"
#include "platform/Text.hpp"

#include <charconv>
#include <limits>
#include <optional>

namespace skorvin {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> parseInt(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const int digit = base == 16 ? hexValue(s[i]) : (isDigit(s[i]) ? s[i] - '0' : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

std::optional<double> parseFloat(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    std::string_view body = s.substr(b, e - b);
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        body.remove_prefix(1);
    }
    // Check the shape first: from_chars alone would accept "inf", "nan" and hex forms.
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < body.size() && isDigit(body[i]))
        ++i, ++digits;
    if (i < body.size() && body[i] == '.') {
        ++i;
        while (i < body.size() && isDigit(body[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < body.size() && isDigit(body[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != body.size())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::int32_t toInt(std::string_view s)
{
    if (const auto value = parseInt(s))
        return *value;
    throw EConvertError(text::format("'%s' is not a valid integer value", s));
}

double toFloat(std::string_view s)
{
    if (const auto value = parseFloat(s))
        return *value;
    throw EConvertError(text::format("'%s' is not a valid floating point value", s));
}

} // namespace skorvin
