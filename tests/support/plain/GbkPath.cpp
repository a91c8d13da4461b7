#include "plain/GbkPath.hpp"

#include "platform/Gbk.hpp"

namespace skorvin::test {

std::string gbkName(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return gbk::fromUtf8(std::string(utf8.begin(), utf8.end()));
}

} // namespace skorvin::test
