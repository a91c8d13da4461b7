#include "platform/Text.hpp"

#include <algorithm>

namespace skorvin::text {

bool isLeadByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x81 && byte <= 0xFE;
}

std::size_t charLength(std::string_view s, std::size_t i)
{
    return isLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
}

std::string left(std::string_view s, int n)
{
    if (n <= 0)
        return {};
    return std::string(s.substr(0, static_cast<std::size_t>(n)));
}

std::string right(std::string_view s, int n)
{
    if (n <= 0)
        return {};
    const auto count = std::min(s.size(), static_cast<std::size_t>(n));
    return std::string(s.substr(s.size() - count));
}

std::string mid(std::string_view s, int p, int n)
{
    if (p < 1)
        p = 1;
    const auto start = static_cast<std::size_t>(p - 1);
    if (n <= 0 || start >= s.size())
        return {};
    return std::string(s.substr(start, static_cast<std::size_t>(n)));
}

int pos(std::string_view needle, std::string_view s)
{
    if (needle.empty())
        return 0;
    const auto at = s.find(needle);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

std::string trim(std::string_view s)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return std::string(s.substr(b, e - b));
}

int compare(std::string_view a, std::string_view b)
{
    const auto n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string_view s)
{
    std::string result(s);
    for (char& c : result)
        c = upperAscii(c);
    return result;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

std::string quoted(std::string_view s)
{
    std::string out;
    out.reserve(s.size() + 2);
    out += '\'';
    for (char c : s) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

namespace {

std::string substitute(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

std::string format(std::string_view pattern, std::string_view value)
{
    return substitute(pattern, {value});
}

std::string format(std::string_view pattern, std::string_view value1, std::string_view value2)
{
    return substitute(pattern, {value1, value2});
}

} // namespace skorvin::text
