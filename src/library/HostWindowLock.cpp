#include "library/HostWindowLock.hpp"

#include "platform/WindowsApi.hpp"

namespace skorvin::library {

#ifdef _WIN32

HostWindowLock::HostWindowLock(std::uintptr_t hostWindow)
{
    const auto window = reinterpret_cast<HWND>(hostWindow);
    // EnableWindow answers whether the window was disabled before the call.
    if (window && IsWindow(window) && !EnableWindow(window, FALSE))
        disabled_ = hostWindow;
}

HostWindowLock::~HostWindowLock()
{
    if (!disabled_)
        return;
    const auto window = reinterpret_cast<HWND>(disabled_);
    EnableWindow(window, TRUE);
    // While the score window closed, its owner was still disabled, so Windows activated
    // some other program's window: the operator's keys must go back to the host.
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

#else

HostWindowLock::HostWindowLock(std::uintptr_t) {}

HostWindowLock::~HostWindowLock() = default;

#endif

} // namespace skorvin::library
