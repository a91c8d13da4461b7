#include "platform/journal/HostIdentity.hpp"

#include "platform/Gbk.hpp"
#include "platform/Utf8.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include <cstddef>
#include <vector>

namespace skorvin::journal {

namespace {

std::string orUnknown(const std::string& name)
{
    return name.empty() ? std::string("?") : name;
}

#ifdef _WIN32
// UTF-16 from the wide calls to GBK; an unpaired surrogate becomes "?".
std::string fromWide(const wchar_t* text, std::size_t length)
{
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        char32_t cp = static_cast<char16_t>(text[i]);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
        utf8::append(out, cp >= 0xD800 && cp < 0xE000 ? utf8::kReplacement : cp);
    }
    return orUnknown(gbk::fromUtf8(out));
}
#endif

} // namespace

#ifdef _WIN32

std::string computerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size))
        return "?";
    return fromWide(name, size);
}

std::string osUserName()
{
    wchar_t name[257] = {};
    DWORD size = 257;
    if (!GetUserNameW(name, &size) || size == 0)
        return "?";
    // The size counts the terminating zero.
    return fromWide(name, size - 1);
}

#else

std::string computerName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return "?";
    return orUnknown(gbk::fromUtf8(name));
}

std::string osUserName()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return "?";
    return orUnknown(gbk::fromUtf8(found->pw_name));
}

#endif

} // namespace skorvin::journal
