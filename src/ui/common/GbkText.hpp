#pragma once

#include <QString>

#include <string>
#include <string_view>

// The widgets' edge of the text conversion: the system holds GBK bytes, Qt holds UTF-16.
namespace skorvin::ui {

// GBK bytes to a QString; bytes that are not GBK become U+FFFD.
QString toQString(std::string_view gbk);
// A QString to GBK bytes; characters GBK cannot hold become "?".
std::string toGbk(const QString& text);

} // namespace skorvin::ui
