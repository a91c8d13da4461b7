// ModuleState: the module-wide values (HostConnection, SchemaGeneration, SiteCodeLen, CurrentLevel, CurrentCode).
#pragma once

#include <cstdint>
#include <string>

namespace skorvin::ado {
class TADOConnection;
}

namespace skorvin::exam {

// The values the window, the tree, the list statement and the settings reader share.
// The library keeps one for its whole life; every ShowForm overwrites them and
// nothing resets them when the window closes.
struct ModuleState {
    ado::TADOConnection* HostConnection = nullptr; // borrowed from the host, never opened or closed here
    std::int32_t SchemaGeneration = 0;             // 1 older database, 2 current
    std::int32_t SiteCodeLen = 0;                  // characters of an exam-site code: 4 or 6
    std::int32_t CurrentLevel = 0;                 // 0 national, 1 province, 2 city, 3 exam site
    std::string CurrentCode = "00";                // code of the organisation in view
};

} // namespace skorvin::exam
