#include "platform/connection/OdbcText.hpp"

#include "platform/Gbk.hpp"
#include "platform/Utf8.hpp"

#include <algorithm>

namespace skorvin::ado::odbctext {

namespace {

using utf8::kReplacement;

void appendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

} // namespace

std::u16string utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        appendUtf16(out, utf8::decode(utf8, i));
    return out;
}

std::string utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size() * 3);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        utf8::append(out, cp);
    }
    return out;
}

std::u16string fromGbk(std::string_view gbk)
{
    if (gbk::isAscii(gbk))
        return std::u16string(gbk.begin(), gbk.end());
    return utf8ToUtf16(gbk::toUtf8(gbk));
}

std::string toGbk(std::u16string_view utf16)
{
    bool exact = true;
    return toGbk(utf16, exact);
}

std::string toGbk(std::u16string_view utf16, bool& exact)
{
    exact = true;
    if (std::all_of(utf16.begin(), utf16.end(), [](char16_t c) { return c < 0x80; })) {
        std::string out(utf16.size(), '\0');
        std::transform(utf16.begin(), utf16.end(), out.begin(), [](char16_t c) { return static_cast<char>(c); });
        return out;
    }
    // An unpaired surrogate reaches UTF-8 as U+FFFD, which GBK lacks, so it is counted too.
    return gbk::fromUtf8(utf16ToUtf8(utf16), exact);
}

} // namespace skorvin::ado::odbctext
