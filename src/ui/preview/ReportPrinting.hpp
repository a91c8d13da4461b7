#pragma once

#include <QString>

class QWidget;

namespace skorvin::report {
class BuiltReport;
}

namespace skorvin::ui {

class Printer;
struct PrintChoice;

// Sends the pages the choice names to printer: the copies and the page text converted
// first (a text that is not a whole number throws EConvertError and nothing is printed),
// then the page sequence once per collated copy, or once with the printer's copy count
// set, under the printing progress window, whose 取消 aborts the job at once. Nothing is
// started when no page is left to send. currentPage is 1-based.
void PrintPages(QWidget* owner, const report::BuiltReport& pages, int currentPage, const QString& title,
                Printer& printer, const PrintChoice& choice);

} // namespace skorvin::ui
