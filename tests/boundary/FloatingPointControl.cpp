#include "FloatingPointControl.hpp"

#if defined(__i386__) || defined(__x86_64__)

FloatingPointControl FloatingPointControl::read()
{
    unsigned short x87 = 0;
    unsigned mxcsr = 0;
    __asm__ volatile("fnstcw %0" : "=m"(x87));
    __asm__ volatile("stmxcsr %0" : "=m"(mxcsr));
    return {x87, mxcsr};
}

void FloatingPointControl::write(const FloatingPointControl& control)
{
    const auto x87 = static_cast<unsigned short>(control.x87);
    const unsigned mxcsr = control.mxcsr;
    __asm__ volatile("fldcw %0" : : "m"(x87));
    __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
}

#else

FloatingPointControl FloatingPointControl::read()
{
    return {};
}

void FloatingPointControl::write(const FloatingPointControl&) {}

#endif
