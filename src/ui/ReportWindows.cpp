#include "ui/ReportWindows.hpp"

#include "ui/ReportPreview.hpp"
#include "ui/ReportProgress.hpp"

namespace skorvin::ui {

namespace {

class QtReportWindows final : public ReportWindows {
public:
    std::unique_ptr<BuildProgress> openProgress(QWidget* owner) override
    {
        auto window = std::make_unique<ReportProgress>(owner);
        window->open();
        return window;
    }

    void preview(QWidget* owner, report::BuiltReport pages) override
    {
        ReportPreview window(std::move(pages), owner);
        window.exec();
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
