#include "gui/RecordingReportWindows.hpp"

#include "ui/preview/Printers.hpp"

namespace skorvin::test {

class RecordedProgress final : public ui::BuildProgress {
public:
    RecordedProgress(RecordingReportWindows& owner, std::vector<int>& pages) : owner_(owner), pages_(pages)
    {
        ++owner_.open_;
    }
    ~RecordedProgress() override { --owner_.open_; }
    RecordedProgress(const RecordedProgress&) = delete;
    RecordedProgress& operator=(const RecordedProgress&) = delete;

    bool pageBegins(int page) override
    {
        pages_.push_back(page);
        cancelled_ = cancelled_ || page == owner_.cancelAt_;
        return !cancelled_;
    }

private:
    RecordingReportWindows& owner_;
    std::vector<int>& pages_;
    bool cancelled_ = false;
};

RecordingReportWindows::RecordingReportWindows() : previous_(&ui::Replaceable<ui::ReportWindows>::inForce())
{
    ui::Replaceable<ui::ReportWindows>::install(this);
}

RecordingReportWindows::~RecordingReportWindows()
{
    ui::Replaceable<ui::ReportWindows>::install(previous_);
}

std::unique_ptr<ui::BuildProgress> RecordingReportWindows::openProgress(QWidget*)
{
    return std::make_unique<RecordedProgress>(*this, progressPages_);
}

std::unique_ptr<ui::BuildProgress> RecordingReportWindows::openPrintProgress(QWidget*)
{
    return std::make_unique<RecordedProgress>(*this, printProgressPages_);
}

void RecordingReportWindows::preview(QWidget* owner, report::BuiltReport pages, report::TReport* source)
{
    previews_.push_back({owner, std::move(pages), source});
}

std::optional<ui::FindChoice> RecordingReportWindows::chooseFind(QWidget*, const ui::FindChoice& initial)
{
    findRequests_.push_back(initial);
    if (findAnswers_.empty())
        return std::nullopt;
    ui::FindChoice answer = findAnswers_.front();
    findAnswers_.pop_front();
    return answer;
}

std::optional<ui::PrintChoice> RecordingReportWindows::choosePrint(QWidget*, const std::vector<ui::Printer*>& printers,
                                                                   int current)
{
    PrintRequest request{{}, current};
    for (const ui::Printer* printer : printers)
        request.printers << printer->name();
    printRequests_.push_back(request);
    if (printAnswers_.empty())
        return std::nullopt;
    ui::PrintChoice answer = printAnswers_.front();
    printAnswers_.pop_front();
    return answer;
}

} // namespace skorvin::test
