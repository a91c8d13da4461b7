#pragma once

#include "platform/Exception.hpp"

#include <string>

namespace skorvin::report {

// The engine's box text for a template it refuses: "不支持的报表模板格式" (GBK).
std::string unsupportedTemplateText();

// A template of a newer format than this engine reads, or a damaged one. The message is
// the engine's box text; detail() says what was wrong, for whoever repairs the file.
class TemplateFormatError : public Exception {
public:
    explicit TemplateFormatError(std::string detail) : Exception(unsupportedTemplateText()), detail_(std::move(detail))
    {
    }
    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

// A built-report file that is damaged, truncated or of a newer format (GBK message).
class BuiltReportFileError : public Exception {
public:
    using Exception::Exception;
};

// A failure while the pages are built; the message begins "计算时发生错误" and names
// the report and the object (GBK).
class BuildError : public Exception {
public:
    using Exception::Exception;
};

} // namespace skorvin::report
