#include "library/ModulePin.hpp"

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace skorvin::library {
namespace {

// Any address inside this module names it to the loader.
const char moduleMarker = 0;

} // namespace

void pinModule()
{
#ifdef _WIN32
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&moduleMarker), &self);
#else
    Dl_info info{};
    // RTLD_NODELETE on a library already loaded makes every later dlclose leave it in place.
    if (dladdr(&moduleMarker, &info) != 0 && info.dli_fname)
        dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
#endif
}

} // namespace skorvin::library
