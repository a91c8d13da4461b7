#include "platform/connection/StatementText.hpp"
#include "platform/Text.hpp"

namespace skorvin::ado {

namespace {

bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

PositionalStatement toPositional(const std::string& sql)
{
    PositionalStatement out;
    out.text.reserve(sql.size());
    std::size_t i = 0;
    char closing = 0; // inside a literal or bracketed name: the byte that ends it
    while (i < sql.size()) {
        const char c = sql[i];
        const auto n = text::charLength(sql, i);
        if (n == 2) {
            out.text.append(sql, i, 2);
            i += 2;
            continue;
        }
        if (closing) {
            out.text += c;
            ++i;
            if (c == closing) {
                // A doubled quote stays inside the literal.
                if (closing != ']' && i < sql.size() && sql[i] == closing) {
                    out.text += c;
                    ++i;
                } else {
                    closing = 0;
                }
            }
            continue;
        }
        if (c == '\'' || c == '"' || c == '[') {
            closing = c == '[' ? ']' : c;
            out.text += c;
            ++i;
        } else if (c == ':' && i + 1 < sql.size() && isNameStart(static_cast<unsigned char>(sql[i + 1])) &&
                   (i == 0 || sql[i - 1] != ':')) {
            i += 2;
            while (i < sql.size() && isNameChar(static_cast<unsigned char>(sql[i])))
                ++i;
            out.text += '?';
            ++out.placeholders;
        } else {
            if (c == '?')
                ++out.placeholders;
            out.text += c;
            ++i;
        }
    }
    return out;
}

} // namespace skorvin::ado
