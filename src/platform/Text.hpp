#pragma once

#include <string>
#include <string_view>

// 8-bit text as the system holds it (GBK bytes): every count is in bytes, so a
// Chinese character counts as two.
namespace skorvin::text {

// True for a byte that begins a two-byte GBK character (0x81 to 0xFE).
bool isLeadByte(char c);
// Bytes of the character at i: a lead byte takes the byte after it along (a trail byte may
// look like "[", "\\" or an ASCII letter), so 2 for a lead byte that has one, else 1.
std::size_t charLength(std::string_view s, std::size_t i);

// First n bytes; n <= 0 gives empty text, n beyond the end gives the whole text.
std::string left(std::string_view s, int n);
// Last n bytes, with the same rules as left().
std::string right(std::string_view s, int n);
// n bytes from the 1-based position p; p < 1 counts as 1.
std::string mid(std::string_view s, int p, int n);
// 1-based byte position of the first occurrence of needle, 0 when absent or empty.
int pos(std::string_view needle, std::string_view s);
// Without leading and trailing bytes of value 32 or less.
std::string trim(std::string_view s);
// Byte-by-byte unsigned comparison: <0, 0, >0; on an equal prefix the shorter sorts first.
int compare(std::string_view a, std::string_view b);
// A..Z lowered, every other byte kept: GBK bytes never change, whatever the C locale.
char lowerAscii(char c);
std::string lowerAscii(std::string_view s);
// a..z raised, every other byte kept (the same rule upward).
char upperAscii(char c);
std::string upperAscii(std::string_view s);
// Equal when ASCII letter case is ignored (names of keys, fields and providers).
bool equalsNoCase(std::string_view a, std::string_view b);
// Enclosed in single quotes with every single quote inside doubled.
std::string quoted(std::string_view s);
// Replaces every "%s" in order by the given values (messages of the system).
std::string format(std::string_view pattern, std::string_view value);
std::string format(std::string_view pattern, std::string_view value1, std::string_view value2);

} // namespace skorvin::text
