#pragma once

#include <stdint.h>

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

// The host's side of the connection to the examination database, as the library reaches it:
// pure virtual functions only, no data and no library types, so that a host built by another
// compiler can pass its own the way a COM interface crosses a DLL boundary. Texts are
// NUL-terminated GBK bytes; statements use "?" placeholders, bound in order as text, and a
// null value pointer is NULL. The host owns the object; the library only calls it during ShowForm.
class ISkorvinRowSink {
public:
    // The column names, once, before the rows.
    virtual void SKORVIN_STDCALL columns(int count, const char* const* names) = 0;
    // One row: values[i] (lengths[i] bytes, not NUL-terminated) or nullptr for NULL.
    virtual void SKORVIN_STDCALL row(int count, const char* const* values, const int* lengths) = 0;
    // The same for a row some of whose texts lost characters on their way to GBK (a "?" in
    // place of a character GBK lacks): lossy[i] is nonzero for each such text.
    virtual void SKORVIN_STDCALL lossyRow(int count, const char* const* values, const int* lengths,
                                          const unsigned char* lossy) = 0;

protected:
    ~ISkorvinRowSink() = default;
};

class ISkorvinConnection {
public:
    // Runs a statement that returns no rows: the number of rows it changed, -1 when the driver
    // does not say, or kSkorvinFailed when it failed (errorText() says why).
    virtual int SKORVIN_STDCALL execute(const char* sql, int paramCount, const char* const* params) = 0;
    // Runs a query and hands its columns and rows to sink: 0, or kSkorvinFailed.
    virtual int SKORVIN_STDCALL query(const char* sql, int paramCount, const char* const* params,
                                      ISkorvinRowSink* sink) = 0;
    // The provider's description of the last failure, valid until the next call.
    virtual const char* SKORVIN_STDCALL errorText() = 0;

protected:
    ~ISkorvinConnection() = default;
};

inline constexpr int kSkorvinFailed = -2;

extern "C" {

// Exported as "GetVersion": the address of the static text "3.00"; the same address on every call.
SKORVIN_EXPORT const char* SKORVIN_STDCALL SkorvinGetVersion() SKORVIN_EXPORT_NAME("GetVersion");

// Exported as "ShowForm": shows the score window modally over hostWindow (the host's
// native window id, 0 for none) and returns when the operator closes it. The host
// window is disabled meanwhile. The six reserved values are ignored. connection is the
// host's open connection, borrowed for the call (nullptr: the window opens and reports its
// first query as failed). From the first call on, the library stays loaded for the rest of
// the process.
SKORVIN_EXPORT void SKORVIN_STDCALL SkorvinShowForm(uintptr_t hostWindow, uintptr_t reserved2, uintptr_t reserved3,
                                                    uintptr_t reserved4, uintptr_t reserved5, uintptr_t reserved6,
                                                    uintptr_t reserved7, ISkorvinConnection* connection)
    SKORVIN_EXPORT_NAME("ShowForm");
}

namespace skorvin {

// The names a host passes to GetProcAddress or dlsym.
inline constexpr char kGetVersionExport[] = "GetVersion";
inline constexpr char kShowFormExport[] = "ShowForm";

using GetVersionProc = const char*(SKORVIN_STDCALL*)();
using ShowFormProc = void(SKORVIN_STDCALL*)(uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t,
                                            ISkorvinConnection*);

} // namespace skorvin
