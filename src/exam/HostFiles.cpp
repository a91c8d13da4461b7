#include "exam/HostFiles.hpp"

#include "platform/Gbk.hpp"

namespace skorvin::exam {

HostFiles HostFiles::in(const std::string& folder)
{
    // The folder ends in its separator, \\ on Windows and / elsewhere.
    const char separator = folder.empty() ? '/' : folder.back();
    return {folder + "kavrint.ini", folder + gbk::fromUtf8("登分日志.sqlite"),
            folder + gbk::fromUtf8("报表") + separator + gbk::fromUtf8("四级考生主观题分数报表.rtpl")};
}

} // namespace skorvin::exam
