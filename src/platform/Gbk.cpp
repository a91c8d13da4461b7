#include "platform/Gbk.hpp"

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

constexpr char32_t kReplacement = 0xFFFD;

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

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; advances i; returns kReplacement for a broken one.
char32_t decodeUtf8(std::string_view s, std::size_t& i)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra = 0;
    char32_t cp = 0;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1, cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2, cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3, cp = b0 & 0x07;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + extra >= s.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        cp = cp << 6 | (b & 0x3F);
    }
    i += extra + 1;
    return cp;
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
                appendUtf8(out, cp);
                continue;
            }
        }
        ++i;
        appendUtf8(out, cp);
    }
    return out;
}

std::string fromUtf8(std::string_view utf8)
{
    if (isAscii(utf8))
        return std::string(utf8);
    const auto& t = tables();
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = decodeUtf8(utf8, i);
        const std::uint16_t code = cp < 0x10000 && cp != kReplacement ? t.fromUnicode[cp] : 0;
        if (cp == 0) {
            out += '\0';
        } else if (code == 0) {
            out += '?';
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        }
    }
    return out;
}

} // namespace skorvin::gbk
