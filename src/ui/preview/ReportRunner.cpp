#include "ui/preview/ReportRunner.hpp"

#include "report/ReportError.hpp"
#include "report/TReport.hpp"
#include "ui/preview/ReportWindows.hpp"
#include "ui/seams/Dialogs.hpp"

#include <optional>

namespace skorvin::ui {

bool LoadReportTemplate(report::TReport& report, const std::string& path)
{
    try {
        return report.LoadFromFile(path);
    } catch (const report::TemplateFormatError& refused) {
        ShowError(refused.message());
        return true;
    }
}

std::optional<report::BuiltReport> BuildReportPages(report::TReport& report, QWidget* owner)
{
    if (!report.hasTemplate())
        return std::nullopt;
    report::BuildResult built;
    std::optional<std::string> failure;
    {
        const std::unique_ptr<BuildProgress> progress = Replaceable<ReportWindows>::inForce().openProgress(owner);
        try {
            built = report.PrepareReport([&progress](int page) { return progress->pageBegins(page); });
        } catch (const report::BuildError& failed) {
            failure = failed.message();
        }
    }
    // The box comes once the progress window is gone, so that it belongs to the owner.
    if (failure) {
        ShowError(*failure);
        return std::nullopt;
    }
    return std::move(built.pages);
}

bool ShowReport(report::TReport& report, QWidget* owner)
{
    std::optional<report::BuiltReport> pages = BuildReportPages(report, owner);
    if (!pages)
        return false;
    Replaceable<ReportWindows>::inForce().preview(owner, std::move(*pages), &report);
    return true;
}

} // namespace skorvin::ui
