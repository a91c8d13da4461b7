#pragma once

#include <string>
#include <string_view>

// ODBC's wide-character calls speak UTF-16 whatever the driver's code page; the
// system speaks GBK. These convert between them through UTF-8.
namespace skorvin::ado::odbctext {

// UTF-8 to UTF-16; a broken UTF-8 sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

std::u16string fromGbk(std::string_view gbk);
// ASCII text, the common case for codes and numbers, is copied without a detour.
std::string toGbk(std::u16string_view utf16);
// The same; exact tells whether every character came through (GBK holds it, no "?" put in).
std::string toGbk(std::u16string_view utf16, bool& exact);

} // namespace skorvin::ado::odbctext
