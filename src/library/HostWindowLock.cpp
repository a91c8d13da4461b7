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
    if (disabled_)
        EnableWindow(reinterpret_cast<HWND>(disabled_), TRUE);
}

#else

HostWindowLock::HostWindowLock(std::uintptr_t) {}

HostWindowLock::~HostWindowLock() = default;

#endif

} // namespace skorvin::library
