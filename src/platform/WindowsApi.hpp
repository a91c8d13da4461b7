#pragma once

// The Windows API as every file of the project includes it: without the min and max
// macros (they break std::min and std::max) and without the rarely used parts. Nothing
// elsewhere.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
