#pragma once

#include <cstdint>

// What the boundary tests pass to ShowForm in place of a connection. The recording
// window layer reads from it what to do and writes down what it was asked to show;
// the entry points between them never look at it.
struct BoundaryProbe {
    // What the window layer does while "shown".
    bool changeFloatingPoint = false; // sets other rounding, precision and masks, as a toolkit may
    bool fail = false;                // throws out of the window layer

    // What it saw.
    int calls = 0;
    std::uintptr_t hostWindow = 0;
    const BoundaryProbe* connection = nullptr;
    const char* version = nullptr;
    bool hostWindowEnabled = true;        // Windows: the host window's state while shown
    std::uintptr_t stackMisalignment = 0; // a 16-byte aligned local's address modulo 16
};
