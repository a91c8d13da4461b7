#include "report/ReportError.hpp"

#include "platform/Gbk.hpp"

namespace skorvin::report {

std::string unsupportedTemplateText()
{
    return gbk::fromUtf8("不支持的报表模板格式");
}

} // namespace skorvin::report
