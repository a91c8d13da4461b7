#pragma once

#include <cstdint>

// The library's two entry points, as a host declares them after loading the
// library by file name. On 32-bit Windows they use the stdcall convention and are
// exported undecorated (SkorvinDLL.def); every argument is then 32 bits wide.
#if defined(_WIN32)
#define SKORVIN_STDCALL __stdcall
#define SKORVIN_EXPORT
#else
#define SKORVIN_STDCALL
#define SKORVIN_EXPORT __attribute__((visibility("default")))
#endif

namespace skorvin::ado {
class TADOConnection;
}

extern "C" {

// The address of the static text "3.00"; the same address on every call.
SKORVIN_EXPORT const char* SKORVIN_STDCALL GetVersion();

// Shows the score window modally over hostWindow (the host's native window id, 0
// for none) and returns when the operator closes it. The six reserved values are
// ignored. connection is the host's open connection, borrowed for the call.
SKORVIN_EXPORT void SKORVIN_STDCALL ShowForm(std::uintptr_t hostWindow, std::uintptr_t reserved2,
                                             std::uintptr_t reserved3, std::uintptr_t reserved4,
                                             std::uintptr_t reserved5, std::uintptr_t reserved6,
                                             std::uintptr_t reserved7, skorvin::ado::TADOConnection* connection);
}

namespace skorvin {

using GetVersionProc = const char*(SKORVIN_STDCALL*)();
using ShowFormProc = void(SKORVIN_STDCALL*)(std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                            std::uintptr_t, std::uintptr_t, std::uintptr_t, ado::TADOConnection*);

} // namespace skorvin
