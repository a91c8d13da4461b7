#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of an initialisation file, without any file access: finding one key of
// one section and changing it while every other byte stays as it was.
namespace skorvin::ini {

// How multi-byte characters are laid out, so that a trail byte is never taken for
// "]" or folded as a letter.
enum class Encoding { Gbk, Utf8 };

// The value of key in the first section named section, or nothing when the section
// or the key is missing. Names match without regard to ASCII letter case and
// surrounding blanks and tabs; the value is trimmed of blanks and tabs and loses one
// pair of matching quotes around it.
std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key,
                                     Encoding encoding = Encoding::Gbk);

// True when key of section can be set to value so that it reads back as written and no
// other key changes: no line break anywhere (it would plant other keys), names that are not
// blank, no "=" in the key and no ";" or "[" in front of it (a comment, a section header),
// no "]" in the section name and no character cut short at its end (its trail byte would
// take the closing "]"). Names and value are GBK.
bool canHold(std::string_view section, std::string_view key, std::string_view value);

// content with key of section set to value (trimmed of blanks and tabs): an existing
// key keeps its spelling and only its value bytes change; a missing key is added at
// the end of its section, a missing section at the end of the text. New lines use the
// text's first line end (CR LF when it has none). Returns content itself when the
// key already reads value.
std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value,
                      Encoding encoding = Encoding::Gbk);

} // namespace skorvin::ini
