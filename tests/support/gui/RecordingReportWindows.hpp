#pragma once

#include "ui/ReportWindows.hpp"

#include <vector>

namespace skorvin::test {

// Stands in for the report's modal windows: keeps every preview's pages and the pages the
// progress window was told of, and cancels at a chosen page, so no test blocks on them.
// Installs itself on construction and restores the previous implementation on destruction.
class RecordingReportWindows final : public ui::ReportWindows {
public:
    struct Preview {
        QWidget* owner = nullptr;
        report::BuiltReport pages;
    };

    RecordingReportWindows();
    ~RecordingReportWindows() override;
    RecordingReportWindows(const RecordingReportWindows&) = delete;
    RecordingReportWindows& operator=(const RecordingReportWindows&) = delete;

    std::unique_ptr<ui::BuildProgress> openProgress(QWidget* owner) override;
    void preview(QWidget* owner, report::BuiltReport pages) override;

    // The operator presses 取消 when this page begins (0: never).
    void cancelAtPage(int page) { cancelAt_ = page; }

    const std::vector<Preview>& previews() const { return previews_; }
    // Pages the progress windows were told of, in order.
    const std::vector<int>& progressPages() const { return progressPages_; }
    int progressWindowsOpen() const { return open_; }

private:
    friend class RecordedProgress;

    ui::ReportWindows* previous_;
    std::vector<Preview> previews_;
    std::vector<int> progressPages_;
    int cancelAt_ = 0;
    int open_ = 0;
};

} // namespace skorvin::test
