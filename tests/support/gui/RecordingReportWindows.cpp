#include "gui/RecordingReportWindows.hpp"

namespace skorvin::test {

class RecordedProgress final : public ui::BuildProgress {
public:
    explicit RecordedProgress(RecordingReportWindows& owner) : owner_(owner) { ++owner_.open_; }
    ~RecordedProgress() override { --owner_.open_; }
    RecordedProgress(const RecordedProgress&) = delete;
    RecordedProgress& operator=(const RecordedProgress&) = delete;

    bool pageBegins(int page) override
    {
        owner_.progressPages_.push_back(page);
        cancelled_ = cancelled_ || page == owner_.cancelAt_;
        return !cancelled_;
    }

private:
    RecordingReportWindows& owner_;
    bool cancelled_ = false;
};

RecordingReportWindows::RecordingReportWindows() : previous_(&ui::reportWindows())
{
    ui::setReportWindows(this);
}

RecordingReportWindows::~RecordingReportWindows()
{
    ui::setReportWindows(previous_);
}

std::unique_ptr<ui::BuildProgress> RecordingReportWindows::openProgress(QWidget*)
{
    return std::make_unique<RecordedProgress>(*this);
}

void RecordingReportWindows::preview(QWidget* owner, report::BuiltReport pages)
{
    previews_.push_back({owner, std::move(pages)});
}

} // namespace skorvin::test
