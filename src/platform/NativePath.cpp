#include "platform/NativePath.hpp"

#include "platform/Gbk.hpp"

#include <system_error>

#include "platform/WindowsApi.hpp"

namespace skorvin {

namespace fs = std::filesystem;

#ifdef _WIN32

namespace {

std::string ansi(const std::wstring& wide)
{
    const int size =
        WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

fs::path nativePath(const std::string& gbkName)
{
    const int size = MultiByteToWideChar(936, 0, gbkName.data(), static_cast<int>(gbkName.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(936, 0, gbkName.data(), static_cast<int>(gbkName.size()), wide.data(), size);
    return fs::path(wide);
}

std::string fullPathName(const fs::path& name)
{
    std::error_code error;
    const fs::path full = fs::absolute(name, error);
    return ansi((error ? name : full.lexically_normal()).wstring());
}

#else

fs::path nativePath(const std::string& gbkName)
{
    return fs::path(gbk::toUtf8(gbkName));
}

std::string fullPathName(const fs::path& name)
{
    std::error_code error;
    const fs::path full = fs::absolute(name, error);
    return gbk::fromUtf8((error ? name : full.lexically_normal()).string());
}

#endif

} // namespace skorvin
