#include "host/LibraryLoader.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <string>

namespace skorvin::host {
namespace {

#ifdef _WIN32
using Handle = HMODULE;

Handle load(const std::filesystem::path& file)
{
    Handle handle = LoadLibraryW(file.wstring().c_str());
    if (!handle) {
        throw std::runtime_error("cannot load " + file.string() + " (error " + std::to_string(GetLastError()) + ")");
    }
    return handle;
}

void* resolve(Handle handle, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(handle, name));
}
#else
using Handle = void*;

Handle load(const std::filesystem::path& file)
{
    Handle handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        throw std::runtime_error("cannot load " + file.string() + ": " + dlerror());
    }
    return handle;
}

void* resolve(Handle handle, const char* name)
{
    return dlsym(handle, name);
}
#endif

template <typename Proc> Proc entry(Handle handle, const std::filesystem::path& file, const char* name)
{
    void* address = resolve(handle, name);
    if (!address) {
        throw std::runtime_error(file.string() + " does not export " + name);
    }
    return reinterpret_cast<Proc>(address);
}

} // namespace

LibraryLoader::LibraryLoader(const std::filesystem::path& file)
{
    const Handle handle = load(file);
    GetVersion = entry<GetVersionProc>(handle, file, "GetVersion");
    ShowForm = entry<ShowFormProc>(handle, file, "ShowForm");
}

const char* LibraryLoader::fileName()
{
#if defined(_WIN32)
    return "SkorvinDLL.dll";
#elif defined(__APPLE__)
    return "libSkorvinDLL.dylib";
#else
    return "libSkorvinDLL.so";
#endif
}

} // namespace skorvin::host
