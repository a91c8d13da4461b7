#pragma once

#include "library/SkorvinDLL.hpp"

#include <filesystem>
#include <stdexcept>

namespace skorvin::host {

// The score-entry library loaded by file name, the way a real host loads it, with
// both entry points resolved by name. The library stays loaded for the rest of
// the process: Qt keeps pointers into it (its resources, its window classes) until
// the application object is gone.
class LibraryLoader {
public:
    // Throws std::runtime_error naming the file and the loader's reason.
    explicit LibraryLoader(const std::filesystem::path& file);

    GetVersionProc GetVersion = nullptr;
    ShowFormProc ShowForm = nullptr;

    // "libSkorvinDLL.so", "SkorvinDLL.dll" or "libSkorvinDLL.dylib".
    static const char* fileName();
};

} // namespace skorvin::host
