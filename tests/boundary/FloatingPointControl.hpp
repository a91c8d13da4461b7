#pragma once

// The x86 floating-point control registers, read and written directly so that a test
// sees exactly what a host would: the x87 control word (precision, rounding, masks)
// and SSE's MXCSR.
struct FloatingPointControl {
    unsigned x87 = 0;
    unsigned mxcsr = 0;

    // False on other processors, where the tests that use it are skipped.
    static constexpr bool available =
#if defined(__i386__) || defined(__x86_64__)
        true;
#else
        false;
#endif

    static FloatingPointControl read();
    static void write(const FloatingPointControl& control);

    bool operator==(const FloatingPointControl&) const = default;
};
