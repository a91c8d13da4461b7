#pragma once

#include <cstdint>

// The library's two entry points. A host loads the library by file name and looks
// them up by their exported names, "GetVersion" and "ShowForm". In C++ they are
// declared as SkorvinGetVersion and SkorvinShowForm, so that a file that also
// includes <windows.h>, which declares a GetVersion of its own, compiles.
// On 32-bit Windows they use stdcall, every argument is 32 bits wide, and the
// export table names them undecorated (SkorvinDLL.def.in maps the names).
#if defined(_WIN32)
#define SKORVIN_STDCALL __stdcall
#define SKORVIN_EXPORT
#define SKORVIN_EXPORT_NAME(name)
#else
#define SKORVIN_STDCALL
#define SKORVIN_EXPORT __attribute__((visibility("default")))
#define SKORVIN_EXPORT_NAME(name) __asm__(name)
#endif

namespace skorvin::ado {
class TADOConnection;
}

extern "C" {

// Exported as "GetVersion": the address of the static text "3.00"; the same address on every call.
SKORVIN_EXPORT const char* SKORVIN_STDCALL SkorvinGetVersion() SKORVIN_EXPORT_NAME("GetVersion");

// Exported as "ShowForm": shows the score window modally over hostWindow (the host's
// native window id, 0 for none) and returns when the operator closes it. The host
// window is disabled meanwhile. The six reserved values are ignored. connection is the
// host's open connection, borrowed for the call. From the first call on, the library
// stays loaded for the rest of the process.
SKORVIN_EXPORT void SKORVIN_STDCALL SkorvinShowForm(std::uintptr_t hostWindow, std::uintptr_t reserved2,
                                                    std::uintptr_t reserved3, std::uintptr_t reserved4,
                                                    std::uintptr_t reserved5, std::uintptr_t reserved6,
                                                    std::uintptr_t reserved7, skorvin::ado::TADOConnection* connection)
    SKORVIN_EXPORT_NAME("ShowForm");
}

namespace skorvin {

// The names a host passes to GetProcAddress or dlsym.
inline constexpr char kGetVersionExport[] = "GetVersion";
inline constexpr char kShowFormExport[] = "ShowForm";

using GetVersionProc = const char*(SKORVIN_STDCALL*)();
using ShowFormProc = void(SKORVIN_STDCALL*)(std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                            std::uintptr_t, std::uintptr_t, std::uintptr_t, ado::TADOConnection*);

} // namespace skorvin
