#pragma once

#include <filesystem>
#include <string>

namespace skorvin::test {

// A path as the GBK text the product takes for a file name. Built from the path's
// UTF-8 spelling: its narrow spelling is UTF-8 on Linux only, the ANSI code page on Windows.
std::string gbkName(const std::filesystem::path& path);

} // namespace skorvin::test
