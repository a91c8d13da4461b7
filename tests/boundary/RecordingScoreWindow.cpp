// The window layer of the boundary test library: instead of a window it records what
// ShowForm asked it to show into the BoundaryProbe passed as the connection, and
// misbehaves on request.

#include "BoundaryProbe.hpp"
#include "FloatingPointControl.hpp"
#include "library/ScoreWindow.hpp"

#include "platform/WindowsApi.hpp"

#include <stdexcept>

namespace {

__attribute__((noinline)) std::uintptr_t alignedLocalMisalignment()
{
    alignas(16) volatile char local[16] = {};
    auto address = reinterpret_cast<std::uintptr_t>(&local[0]);
    // The compiler takes its own alignment for granted; the barrier makes it look.
    __asm__ volatile("" : "+r"(address));
    return address % 16;
}

} // namespace

namespace skorvin::library {

void showScoreWindow(std::uintptr_t hostWindow, ISkorvinConnection* connection, const char* version)
{
    auto* probe = reinterpret_cast<BoundaryProbe*>(connection);
    ++probe->calls;
    probe->hostWindow = hostWindow;
    probe->connection = probe;
    probe->version = version;
    probe->stackMisalignment = alignedLocalMisalignment();
#ifdef _WIN32
    probe->hostWindowEnabled = IsWindowEnabled(reinterpret_cast<HWND>(hostWindow)) != FALSE;
#endif
    if (probe->changeFloatingPoint) {
        // 24-bit precision and rounding up in x87, rounding up and flush-to-zero in SSE;
        // exceptions stay masked, so nothing traps here.
        FloatingPointControl::write({0x087F, 0x1F80 | 0x4000 | 0x8000});
    }
    if (probe->fail)
        throw std::runtime_error("the window layer failed");
}

} // namespace skorvin::library
