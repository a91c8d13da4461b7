#pragma once

#include <cstdint>

namespace skorvin::library {

// Disables the host's window for its lifetime, as a modal window over an owner must
// on Windows, and enables and activates it again when destroyed unless the host had it
// disabled already. Elsewhere the host window is a foreign id the library cannot disable; a Qt
// host in the same process is blocked by the modal window itself.
class HostWindowLock {
public:
    explicit HostWindowLock(std::uintptr_t hostWindow);
    ~HostWindowLock();
    HostWindowLock(const HostWindowLock&) = delete;
    HostWindowLock& operator=(const HostWindowLock&) = delete;

private:
    std::uintptr_t disabled_ = 0; // the window this lock disabled, 0 for none
};

} // namespace skorvin::library
