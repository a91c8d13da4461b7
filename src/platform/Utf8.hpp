#pragma once

#include <string>
#include <string_view>

// The one UTF-8 codec of the platform, shared by the GBK tables and the ODBC text.
namespace skorvin::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Decodes the sequence at s[i] and moves i past it. Whatever is not well-formed UTF-8
// (an overlong form, an encoded surrogate, a code point past U+10FFFF, a byte that
// cannot start a sequence, a sequence cut short) decodes as kReplacement: never as
// ASCII, and a byte that cannot continue the sequence is left for the next call.
char32_t decode(std::string_view s, std::size_t& i);

// Appends the UTF-8 form of a code point.
void append(std::string& out, char32_t cp);

} // namespace skorvin::utf8
