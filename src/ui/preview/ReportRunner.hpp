#pragma once

#include "report/BuiltReport.hpp"

#include <optional>
#include <string>

class QWidget;

namespace skorvin::report {
class TReport;
}

// What the windows do with a report: load its template and show the engine's box for a
// refused one; build it with the progress window and preview it.
namespace skorvin::ui {

// Loads the template at path (GBK) into report. Returns whether the file existed. A
// damaged or newer template shows "不支持的报表模板格式" (caption "错误") and leaves the
// report without a template; a file that cannot be opened throws.
bool LoadReportTemplate(report::TReport& report, const std::string& path);

// Builds the pages with the progress window over owner; cancelling keeps the pages built
// so far. A build error shows its box (caption "错误") and gives nothing; so does a report
// without a template. Errors of the program's own callbacks propagate.
std::optional<report::BuiltReport> BuildReportPages(report::TReport& report, QWidget* owner);

// Builds the pages with the progress window over owner and shows them in the modal
// preview; returns when the preview is closed. Cancelling previews the pages built so
// far. A build error shows its box (caption "错误") and no preview; so does nothing when
// the report holds no template. Returns whether the preview was shown. Errors of the
// program's own callbacks propagate.
bool ShowReport(report::TReport& report, QWidget* owner);

} // namespace skorvin::ui
