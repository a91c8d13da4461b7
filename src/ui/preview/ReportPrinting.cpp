#include "ui/preview/ReportPrinting.hpp"

#include "platform/Numbers.hpp"
#include "report/BuiltReport.hpp"
#include "report/PrintPlan.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/preview/Printers.hpp"
#include "ui/preview/ReportPrintDialog.hpp"
#include "ui/preview/ReportWindows.hpp"

#include <string>

namespace skorvin::ui {

void PrintPages(QWidget* owner, const report::BuiltReport& pages, int currentPage, const QString& title,
                Printer& printer, const PrintChoice& choice)
{
    std::string pageText;
    if (choice.range == PrintChoice::Range::CurrentPage)
        pageText = std::to_string(currentPage);
    else if (choice.range == PrintChoice::Range::Pages)
        pageText = toGbk(choice.pages);
    const int copies = toInt(toGbk(choice.copies));
    const report::PageSelection chosen = report::parsePageNumbers(pageText, pages.pageCount());
    const std::vector<int> sequence = report::pageSequence(pages.pageCount(), chosen, choice.parity);
    if (sequence.empty())
        return;
    const report::CopyPlan plan = report::planCopies(copies, choice.collate);

    const std::unique_ptr<PrintJob> job = printer.startJob(owner, title, plan.printerCopies);
    if (!job)
        return;
    const std::unique_ptr<BuildProgress> progress = Replaceable<ReportWindows>::inForce().openPrintProgress(owner);
    for (int pass = 0; pass < plan.passes; ++pass) {
        for (int page : sequence) {
            if (!progress->pageBegins(page)) {
                job->abort();
                return;
            }
            job->printPage(pages, page - 1);
        }
    }
    job->finish();
}

} // namespace skorvin::ui
