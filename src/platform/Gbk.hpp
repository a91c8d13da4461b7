#pragma once

#include <string>
#include <string_view>

// The one place where text changes encoding: the system holds GBK (code page 936)
// bytes, drivers and widgets speak UTF-8.
namespace skorvin::gbk {

// GBK bytes to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string toUtf8(std::string_view gbk);
// UTF-8 to GBK bytes; a character GBK cannot hold, or a sequence that is not well-formed
// UTF-8 (overlong forms included), becomes "?".
std::string fromUtf8(std::string_view utf8);
// The same; exact tells whether the text came through whole, with no "?" put in.
std::string fromUtf8(std::string_view utf8, bool& exact);
// The same into out, whose room is used again: a reader converting field after field
// allocates nothing once out is as long as the longest.
void fromUtf8Into(std::string& out, std::string_view utf8, bool& exact);
// True when every byte is below 0x80, so both encodings agree on it.
bool isAscii(std::string_view s);

} // namespace skorvin::gbk
