#pragma once

#include <cfenv>

namespace skorvin::library {

// Keeps the caller's floating-point control (rounding, precision, exception masks: the
// x87 control word and MXCSR on x86) and puts it back when destroyed, whatever the
// code in between set.
class FloatingPointGuard {
public:
    FloatingPointGuard();
    ~FloatingPointGuard();
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

private:
#if defined(__i386__) || defined(__x86_64__)
    unsigned short x87_ = 0;
    unsigned mxcsr_ = 0;
#else
    std::fenv_t saved_;
#endif
};

} // namespace skorvin::library
