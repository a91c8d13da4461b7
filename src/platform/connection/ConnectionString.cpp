#include "platform/connection/ConnectionString.hpp"

#include "platform/Text.hpp"

namespace skorvin::ado {

namespace {

// The position of the mark that closes the quoted or braced value opening at start; inside
// braces "}}" stands for one "}" (ODBC's escape), so the value goes on past it.
std::size_t closingMark(const std::string& text, std::size_t start)
{
    if (text[start] == '"')
        return text.find('"', start + 1);
    std::size_t close = text.find('}', start + 1);
    while (close != std::string::npos && close + 1 < text.size() && text[close + 1] == '}')
        close = text.find('}', close + 2);
    return close;
}

bool isPasswordKey(const std::string& lowerKey)
{
    return lowerKey == "password" || lowerKey == "pwd";
}

} // namespace

ConnectionString::ConnectionString(const std::string& text) : text_(text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto eq = text.find('=', i);
        const auto semi = text.find(';', i);
        if (eq == std::string::npos || (semi != std::string::npos && semi < eq)) {
            i = semi == std::string::npos ? text.size() : semi + 1;
            continue;
        }
        const auto key = text::lowerAscii(text::trim(text.substr(i, eq - i)));
        std::size_t v = eq + 1;
        while (v < text.size() && text[v] == ' ')
            ++v;
        std::string value;
        if (v < text.size() && text[v] == '"') {
            const auto close = text.find('"', v + 1);
            value = text.substr(v + 1, close == std::string::npos ? std::string::npos : close - v - 1);
            const auto after = close == std::string::npos ? text.size() : text.find(';', close);
            i = after == std::string::npos ? text.size() : after + 1;
        } else {
            const auto end = text.find(';', v);
            value = text::trim(text.substr(v, end == std::string::npos ? std::string::npos : end - v));
            i = end == std::string::npos ? text.size() : end + 1;
        }
        if (!key.empty() && !values_.count(key))
            values_[key] = value;
    }
}

std::string ConnectionString::value(const std::string& key) const
{
    const auto it = values_.find(text::lowerAscii(key));
    return it == values_.end() ? std::string() : it->second;
}

bool ConnectionString::has(const std::string& key) const
{
    return values_.count(text::lowerAscii(key)) > 0;
}

std::string ConnectionString::rewritten(const std::string& text,
                                        const std::function<Part(const std::string& key, std::string part)>& rewrite)
{
    std::string out;
    std::size_t i = 0;
    while (i <= text.size()) {
        auto end = std::min(text.find(';', i), text.size());
        const auto eq = text.find('=', i);
        if (eq < end) {
            // A value in double quotes or ODBC braces may hold ";": it ends after its closing mark.
            // Without one, a password's value runs to the end, so that none of it shows; any
            // other value ends at its ";", so that a password after it is still found.
            const auto valueStart = text.find_first_not_of(' ', eq + 1);
            if (valueStart < end && (text[valueStart] == '"' || text[valueStart] == '{')) {
                const auto close = closingMark(text, valueStart);
                if (close != std::string::npos)
                    end = std::min(text.find(';', close), text.size());
                else if (isPasswordKey(text::lowerAscii(text::trim(text.substr(i, eq - i)))))
                    end = text.size();
            }
        }
        std::string part = text.substr(i, end - i);
        const auto partEq = part.find('=');
        const std::string key =
            partEq == std::string::npos ? std::string() : text::lowerAscii(text::trim(part.substr(0, partEq)));
        const auto result = rewrite(key, std::move(part));
        if (result) {
            if (!out.empty() || i > 0)
                out += ';';
            out += *result;
        }
        i = end + 1;
    }
    return out;
}

std::string ConnectionString::withoutPasswords(const std::string& text)
{
    return rewritten(text, [](const std::string& key, std::string part) -> Part {
        if (isPasswordKey(key))
            return part.substr(0, part.find('=') + 1) + "***";
        return part;
    });
}

std::string ConnectionString::without(const std::string& text, const std::string& key)
{
    const auto unwanted = text::lowerAscii(key);
    auto out = rewritten(text, [&](const std::string& partKey, std::string part) -> Part {
        if (partKey == unwanted)
            return std::nullopt;
        return part;
    });
    return out.starts_with(';') ? out.substr(1) : out;
}

} // namespace skorvin::ado
