#include "platform/Gbk.hpp"

#include "platform/Utf8.hpp"

#include <array>
#include <cstdint>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace skorvin::gbk {

namespace {

using utf8::kReplacement;

// Both directions as tables built once from the system's own converter, so that a
// million names convert without a converter call per name.
struct Tables {
    // Double-byte GBK (lead 0x81..0xFE, trail 0x40..0xFE) to a BMP code point; 0 = unmapped.
    std::array<std::uint16_t, 126 * 191> toUnicode{};
    // BMP code point to GBK: < 0x100 a single byte, otherwise lead << 8 | trail; 0 = unmapped.
    std::array<std::uint16_t, 0x10000> fromUnicode{};

    Tables()
    {
        for (unsigned c = 0; c < 0x80; ++c)
            fromUnicode[c] = static_cast<std::uint16_t>(c);
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                const char32_t cp = decodeWithSystem(bytes);
                if (cp == 0 || cp >= 0x10000)
                    continue;
                toUnicode[index(lead, trail)] = static_cast<std::uint16_t>(cp);
                if (fromUnicode[cp] == 0)
                    fromUnicode[cp] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
    }

    static std::size_t index(unsigned lead, unsigned trail) { return (lead - 0x81) * 191 + (trail - 0x40); }

private:
#ifdef _WIN32
    static char32_t decodeWithSystem(const char (&bytes)[2])
    {
        wchar_t wide[2] = {};
        const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2);
        return n == 1 ? static_cast<char32_t>(wide[0]) : 0;
    }
#else
    static char32_t decodeWithSystem(const char (&bytes)[2])
    {
        static iconv_t cd = iconv_open("UTF-32LE", "GBK");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return 0;
        char in[2] = {bytes[0], bytes[1]};
        char* inPtr = in;
        std::size_t inLeft = 2;
        unsigned char out[8] = {};
        char* outPtr = reinterpret_cast<char*>(out);
        std::size_t outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
            sizeof out - outLeft != 4)
            return 0;
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<unsigned>(out[3]) << 24);
    }
#endif
};

const Tables& tables()
{
    static const auto instance = std::make_unique<Tables>();
    return *instance;
}

} // namespace

bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::string toUtf8(std::string_view gbk)
{
    if (isAscii(gbk))
        return std::string(gbk);
    const auto& t = tables();
    std::string out;
    out.reserve(gbk.size() * 3 / 2 + 4);
    for (std::size_t i = 0; i < gbk.size();) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t cp = kReplacement;
        if (lead >= 0x81 && lead <= 0xFE && i + 1 < gbk.size()) {
            const auto trail = static_cast<unsigned char>(gbk[i + 1]);
            if (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) {
                if (const auto mapped = t.toUnicode[Tables::index(lead, trail)])
                    cp = mapped;
                i += 2;
                utf8::append(out, cp);
                continue;
            }
        }
        ++i;
        utf8::append(out, cp);
    }
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    bool exact = true;
    return fromUtf8(utf8, exact);
}

std::string fromUtf8(std::string_view utf8, bool& exact)
{
    std::string out;
    fromUtf8Into(out, utf8, exact);
    return out;
}

void fromUtf8Into(std::string& out, std::string_view utf8, bool& exact)
{
    exact = true;
    const auto& t = tables();
    // GBK never needs more bytes than UTF-8 for a character, and a broken sequence becomes
    // one "?", so the text is written in place and cut to its length at the end.
    out.resize(utf8.size());
    char* to = out.data();
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t size = utf8.size();
    for (std::size_t i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            *to++ = static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t cp;
        // A Chinese character is three bytes: decoded here, with the general decoder's result
        // (an overlong form or a surrogate is three bytes of kReplacement there too).
        if ((lead & 0xF0) == 0xE0 && i + 2 < size && (bytes[i + 1] & 0xC0) == 0x80 && (bytes[i + 2] & 0xC0) == 0x80) {
            cp = static_cast<char32_t>((lead & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F));
            if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))
                cp = kReplacement;
            i += 3;
        } else {
            cp = utf8::decode(utf8, i);
        }
        // Every character GBK holds beyond ASCII is two bytes.
        const std::uint16_t code = cp < 0x10000 && cp != kReplacement ? t.fromUnicode[cp] : 0;
        if (code == 0) {
            *to++ = '?';
            exact = false;
        } else {
            *to++ = static_cast<char>(code >> 8);
            *to++ = static_cast<char>(code & 0xFF);
        }
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

} // namespace skorvin::gbk
