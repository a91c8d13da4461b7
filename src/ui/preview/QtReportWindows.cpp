// The report's real modal windows behind the ReportWindows seam.
#include "ui/preview/ReportWindows.hpp"

#include "ui/preview/ReportFindDialog.hpp"
#include "ui/preview/ReportPreview.hpp"
#include "ui/preview/ReportPrintDialog.hpp"
#include "ui/preview/ReportProgress.hpp"

namespace skorvin::ui {

namespace {

class QtReportWindows final : public ReportWindows {
public:
    std::unique_ptr<BuildProgress> openProgress(QWidget* owner) override
    {
        auto window = std::make_unique<ReportProgress>(owner, ReportProgress::Task::Build);
        window->open();
        return window;
    }

    std::unique_ptr<BuildProgress> openPrintProgress(QWidget* owner) override
    {
        auto window = std::make_unique<ReportProgress>(owner, ReportProgress::Task::Print);
        window->open();
        return window;
    }

    void preview(QWidget* owner, report::BuiltReport pages, report::TReport* source) override
    {
        ReportPreview window(std::move(pages), source, owner);
        window.exec();
    }

    std::optional<FindChoice> chooseFind(QWidget* owner, const FindChoice& initial) override
    {
        ReportFindDialog dialog(initial, owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }

    std::optional<PrintChoice> choosePrint(QWidget* owner, const std::vector<Printer*>& printers, int current) override
    {
        ReportPrintDialog dialog(printers, current, owner);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    }
};

} // namespace

template <> ReportWindows& Replaceable<ReportWindows>::real()
{
    static QtReportWindows qt;
    return qt;
}

} // namespace skorvin::ui
