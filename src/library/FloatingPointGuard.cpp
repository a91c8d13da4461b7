#include "library/FloatingPointGuard.hpp"

namespace skorvin::library {

#if defined(__i386__) || defined(__x86_64__)

// The registers themselves: mingw-w64's fesetenv leaves MXCSR as it finds it on x86_64.
FloatingPointGuard::FloatingPointGuard()
{
    __asm__ volatile("fnstcw %0" : "=m"(x87_));
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr_));
}

FloatingPointGuard::~FloatingPointGuard()
{
    __asm__ volatile("fldcw %0" : : "m"(x87_));
    __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr_));
}

#else

FloatingPointGuard::FloatingPointGuard()
{
    std::fegetenv(&saved_);
}

FloatingPointGuard::~FloatingPointGuard()
{
    std::fesetenv(&saved_);
}

#endif

} // namespace skorvin::library
