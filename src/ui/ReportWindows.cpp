#include "ui/ReportWindows.hpp"

#include "ui/ReportFindDialog.hpp"
#include "ui/ReportPreview.hpp"
#include "ui/ReportPrintDialog.hpp"
#include "ui/ReportProgress.hpp"

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

ReportWindows* installed = nullptr;

} // namespace

ReportWindows& reportWindows()
{
    static QtReportWindows real;
    return installed ? *installed : real;
}

void setReportWindows(ReportWindows* replacement)
{
    installed = replacement;
}

} // namespace skorvin::ui
