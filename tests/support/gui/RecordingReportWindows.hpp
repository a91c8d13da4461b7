#pragma once

#include "ui/preview/ReportFindDialog.hpp"
#include "ui/preview/ReportPrintDialog.hpp"
#include "ui/preview/ReportWindows.hpp"

#include <deque>
#include <vector>

namespace skorvin::test {

// Stands in for the report's modal windows: keeps every preview's pages and the pages the
// progress windows were told of, cancels at a chosen page, and answers the search and
// print dialogs from queued choices (cancelling when none is queued), so no test blocks.
// Installs itself on construction and restores the previous implementation on destruction.
class RecordingReportWindows final : public ui::ReportWindows {
public:
    struct Preview {
        QWidget* owner = nullptr;
        report::BuiltReport pages;
        report::TReport* source = nullptr;
    };

    RecordingReportWindows();
    ~RecordingReportWindows() override;
    RecordingReportWindows(const RecordingReportWindows&) = delete;
    RecordingReportWindows& operator=(const RecordingReportWindows&) = delete;

    std::unique_ptr<ui::BuildProgress> openProgress(QWidget* owner) override;
    std::unique_ptr<ui::BuildProgress> openPrintProgress(QWidget* owner) override;
    void preview(QWidget* owner, report::BuiltReport pages, report::TReport* source) override;
    std::optional<ui::FindChoice> chooseFind(QWidget* owner, const ui::FindChoice& initial) override;
    std::optional<ui::PrintChoice> choosePrint(QWidget* owner, const std::vector<ui::Printer*>& printers,
                                               int current) override;

    void queueFind(const ui::FindChoice& choice) { findAnswers_.push_back(choice); }
    void queuePrint(const ui::PrintChoice& choice) { printAnswers_.push_back(choice); }
    // What the search dialogs were opened on, in order.
    const std::vector<ui::FindChoice>& findRequests() const { return findRequests_; }
    // The printer names each print dialog listed, and the one it had chosen.
    struct PrintRequest {
        QStringList printers;
        int current = 0;
    };
    const std::vector<PrintRequest>& printRequests() const { return printRequests_; }
    // Pages the printing progress windows were told of, in order.
    const std::vector<int>& printProgressPages() const { return printProgressPages_; }

    // The operator presses 取消 when this page begins (0: never), in building and printing.
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
    std::vector<int> printProgressPages_;
    std::deque<ui::FindChoice> findAnswers_;
    std::deque<ui::PrintChoice> printAnswers_;
    std::vector<ui::FindChoice> findRequests_;
    std::vector<PrintRequest> printRequests_;
    int cancelAt_ = 0;
    int open_ = 0;
};

} // namespace skorvin::test
