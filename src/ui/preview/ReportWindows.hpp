#pragma once

#include "ui/seams/Replaceable.hpp"

#include "report/BuiltReport.hpp"

#include <memory>
#include <optional>
#include <vector>

class QWidget;

namespace skorvin::report {
class TReport;
}

namespace skorvin::ui {

class Printer;
struct FindChoice;
struct PrintChoice;

// The progress window shown while pages are built or printed.
class BuildProgress {
public:
    virtual ~BuildProgress() = default;
    // Page n begins (is built, or is sent to the printer); false when the operator cancelled.
    virtual bool pageBegins(int page) = 0;
};

// The report's modal windows go through this seam, as the message boxes do through
// Dialogs, so that tests record them instead of blocking on their modal loops.
class ReportWindows {
public:
    virtual ~ReportWindows() = default;
    // Shows the progress window over owner until the returned object is destroyed.
    virtual std::unique_ptr<BuildProgress> openProgress(QWidget* owner) = 0;
    // The progress window while pages are printed ("正在打印页: n").
    virtual std::unique_ptr<BuildProgress> openPrintProgress(QWidget* owner) = 0;
    // The modal preview of the pages source built (nullptr when none); returns when the
    // operator closes it.
    virtual void preview(QWidget* owner, report::BuiltReport pages, report::TReport* source) = 0;
    // The modal search dialog, opened on initial; nothing when the operator cancelled.
    virtual std::optional<FindChoice> chooseFind(QWidget* owner, const FindChoice& initial) = 0;
    // The modal print dialog over the installed printers; nothing when the operator cancelled.
    virtual std::optional<PrintChoice> choosePrint(QWidget* owner, const std::vector<Printer*>& printers,
                                                   int current) = 0;
};

// The real implementation (the real windows), in force through Replaceable<ReportWindows> unless a test installs
// another.
template <> ReportWindows& Replaceable<ReportWindows>::real();

} // namespace skorvin::ui
