#pragma once

#include <filesystem>
#include <string>

namespace skorvin {

// A GBK file name as the file system spells it: UTF-8 on Linux, UTF-16 on Windows.
std::filesystem::path nativePath(const std::string& gbkName);

// A file name expanded to a full path (made absolute against the current folder, "." and
// ".." resolved as text), as GBK, for messages that name the file; a character GBK cannot
// hold shows as "?" there (the file itself keeps its real name).
std::string fullPathName(const std::filesystem::path& name);

} // namespace skorvin
