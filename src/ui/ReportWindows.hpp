#pragma once

#include "report/BuiltReport.hpp"

#include <memory>

class QWidget;

namespace skorvin::ui {

// The progress window shown while pages are built.
class BuildProgress {
public:
    virtual ~BuildProgress() = default;
    // Page n begins; false when the operator cancelled.
    virtual bool pageBegins(int page) = 0;
};

// The report's modal windows go through this seam, as the message boxes do through
// Dialogs, so that tests record them instead of blocking on their modal loops.
class ReportWindows {
public:
    virtual ~ReportWindows() = default;
    // Shows the progress window over owner until the returned object is destroyed.
    virtual std::unique_ptr<BuildProgress> openProgress(QWidget* owner) = 0;
    // The modal preview of the pages; returns when the operator closes it.
    virtual void preview(QWidget* owner, report::BuiltReport pages) = 0;
};

// The implementation in force: the real windows unless a test installed another.
ReportWindows& reportWindows();
// Installs an implementation (tests); nullptr restores the real one.
void setReportWindows(ReportWindows* replacement);

} // namespace skorvin::ui
