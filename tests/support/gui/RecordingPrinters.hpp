#pragma once

#include "ui/preview/Printers.hpp"

#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace skorvin::test {

// Stands in for the platform's printers: named printers that record every job they
// receive (title, copy count, pages in order, how it ended), optionally followed by the
// real PDF file entry, and a page-setup dialog answered from queued papers.
// Installs itself on construction and restores the previous implementation on destruction.
class RecordingPrinters final : public ui::Printers {
public:
    struct Job {
        QString printer;
        QString title;
        int copies = 0;
        std::vector<int> pages; // 1-based, in the order sent
        bool finished = false;
        bool aborted = false;
    };

    // names: the physical printers; current: the one chosen at first.
    explicit RecordingPrinters(QStringList names = {QStringLiteral("Printer A")}, bool withPdfFile = false,
                               int current = 0);
    ~RecordingPrinters() override;
    RecordingPrinters(const RecordingPrinters&) = delete;
    RecordingPrinters& operator=(const RecordingPrinters&) = delete;

    ui::PrinterList installed() override;
    // Records the paper offered; answers the next queued paper, or cancels when none is queued.
    bool pageSetup(QWidget* owner, report::PaperSetup& paper) override;

    void queuePaper(const report::PaperSetup& paper) { papers_.push_back(paper); }

    const std::vector<Job>& jobs() const { return jobs_; }
    const std::vector<report::PaperSetup>& papersOffered() const { return offered_; }
    // How often a printer's own settings were asked for.
    int propertiesShown() const { return propertiesShown_; }

private:
    friend class RecordedPrinter;
    friend class RecordedJob;

    ui::Printers* previous_;
    QStringList names_;
    bool withPdfFile_;
    int current_;
    std::vector<Job> jobs_;
    std::deque<report::PaperSetup> papers_;
    std::vector<report::PaperSetup> offered_;
    int propertiesShown_ = 0;
};

} // namespace skorvin::test
