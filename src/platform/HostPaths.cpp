#include "platform/HostPaths.hpp"

#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <unistd.h>
#endif

#include <vector>

namespace skorvin {

#ifdef _WIN32

std::string hostExecutablePath()
{
    // The wide call and an explicit code page 936 conversion, so the result does
    // not depend on the machine's ANSI code page.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            const int size =
                WideCharToMultiByte(936, 0, buffer.data(), static_cast<int>(n), nullptr, 0, nullptr, nullptr);
            std::string out(static_cast<std::size_t>(size), '\0');
            WideCharToMultiByte(936, 0, buffer.data(), static_cast<int>(n), out.data(), size, nullptr, nullptr);
            return out;
        }
        buffer.resize(buffer.size() * 2);
    }
}

#else

std::string hostExecutablePath()
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return gbk::fromUtf8(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        buffer.resize(buffer.size() * 2);
    }
}

#endif

std::string hostFolder()
{
    const std::string path = hostExecutablePath();
#ifdef _WIN32
    // A GBK trail byte can equal '\\', so the separator is searched lead byte by lead byte.
    std::size_t cut = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (text::isLeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':')
            cut = i + 1;
    }
    return path.substr(0, cut);
#else
    // Every GBK trail byte is 0x40 or above, so '/' (0x2F) is never part of a character.
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
#endif
}

} // namespace skorvin
