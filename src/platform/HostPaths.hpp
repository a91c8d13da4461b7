#pragma once

#include <string>

namespace skorvin {

// Full path of the running executable (the host program, not this library), as GBK text.
std::string hostExecutablePath();
// The folder of hostExecutablePath(), keeping its trailing separator.
std::string hostFolder();

} // namespace skorvin
