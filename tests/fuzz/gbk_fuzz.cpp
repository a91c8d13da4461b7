// The text conversions: UTF-8 to GBK and back, and UTF-8 to UTF-16 and back.
#include "platform/Gbk.hpp"
#include "platform/Utf8.hpp"
#include "platform/connection/OdbcText.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// The one-byte characters of a GBK text, a double-byte character being skipped whole.
std::string singleBytesOfGbk(std::string_view gbk)
{
    std::string out;
    for (std::size_t i = 0; i < gbk.size();) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        if (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) {
            i += 2;
        } else {
            out += gbk[i];
            ++i;
        }
    }
    return out;
}

std::string withoutQuestionMarks(std::string s)
{
    std::erase(s, '?');
    return s;
}

std::string asciiOf(std::string_view s)
{
    std::string out;
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
    return out;
}

// Every U+FFFD of well-formed UTF-8 output is one that was asked for, never a broken sequence.
bool wellFormed(std::string_view utf8)
{
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t at = i;
        if (skorvin::utf8::decode(utf8, i) == skorvin::utf8::kReplacement && utf8.substr(at, i - at) != "\xEF\xBF\xBD")
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // UTF-8 to GBK: ASCII comes through as it is, nothing else ever becomes ASCII but "?",
    // and a text called exact comes back unchanged.
    bool exact = false;
    const std::string gbkText = gbk::fromUtf8(input, exact);
    require(withoutQuestionMarks(singleBytesOfGbk(gbkText)) == withoutQuestionMarks(asciiOf(input)));
    require(exact == (gbk::toUtf8(gbkText) == input));

    // GBK to UTF-8 always gives well-formed UTF-8, and one round trip settles the text.
    const std::string utf8 = gbk::toUtf8(input);
    require(wellFormed(utf8));
    const std::string settled = gbk::fromUtf8(utf8);
    require(gbk::fromUtf8(gbk::toUtf8(settled)) == settled);

    // UTF-16 agrees with the same decoder, and the ODBC path says exact when GBK does.
    const std::u16string utf16 = ado::odbctext::utf8ToUtf16(input);
    const std::string back = ado::odbctext::utf16ToUtf8(utf16);
    require(wellFormed(back));
    require(wellFormed(input) == (back == input));
    bool odbcExact = false;
    require(ado::odbctext::toGbk(utf16, odbcExact) == gbkText);
    require(odbcExact == (exact && back == input));
    return 0;
}
