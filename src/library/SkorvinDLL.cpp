#include "library/SkorvinDLL.hpp"

#include "library/FloatingPointGuard.hpp"
#include "library/HostWindowLock.hpp"
#include "library/ModulePin.hpp"
#include "library/ScoreWindow.hpp"

#include <cstdio>

// A 32-bit Windows host keeps its stack aligned to 4 bytes only, while the code
// inside assumes 16 (SSE spills); both entry points realign it on the way in.
#if defined(__i386__) && defined(__GNUC__)
#define SKORVIN_ENTRY __attribute__((force_align_arg_pointer))
#else
#define SKORVIN_ENTRY
#endif

namespace {

constexpr char kVersion[] = "3.00";

} // namespace

extern "C" {

SKORVIN_ENTRY const char* SKORVIN_STDCALL SkorvinGetVersion()
{
    return kVersion;
}

SKORVIN_ENTRY void SKORVIN_STDCALL SkorvinShowForm(std::uintptr_t hostWindow, std::uintptr_t, std::uintptr_t,
                                                   std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                                   ISkorvinConnection* connection)
{
    // Destroyed last: the host gets its own rounding and precision back whatever the window changed.
    const skorvin::library::FloatingPointGuard hostFloatingPoint;
    // Nothing may unwind into a host that knows nothing of C++ exceptions.
    try {
        skorvin::library::pinModule();
        const skorvin::library::HostWindowLock hostDisabled(hostWindow);
        skorvin::library::showScoreWindow(hostWindow, connection, kVersion);
    } catch (...) {
        std::fputs("SkorvinDLL: the score window could not be shown\n", stderr);
    }
}
}
