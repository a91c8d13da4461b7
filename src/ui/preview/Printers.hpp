#pragma once

#include "ui/seams/Replaceable.hpp"

#include "report/PaperSetup.hpp"

#include <QString>

#include <memory>
#include <vector>

class QWidget;

namespace skorvin::report {
class BuiltReport;
}

namespace skorvin::ui {

// One print job: pages go out one by one, then the job is finished or aborted.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Sends the page (0-based) on a sheet of its own paper; throws Exception when the device fails.
    virtual void printPage(const report::BuiltReport& pages, int pageIndex) = 0;
    // Everything sent is printed (or the file written); throws Exception when that fails.
    virtual void finish() = 0;
    // Ends the job at once: nothing more is printed and no file is left.
    virtual void abort() = 0;
};

class Printer {
public:
    virtual ~Printer() = default;
    virtual QString name() const = 0;
    // A job titled title, with the printer set to copies; nullptr when the operator
    // cancelled on the way (a file name asked for and not given).
    virtual std::unique_ptr<PrintJob> startJob(QWidget* owner, const QString& title, int copies) = 0;
    // Whether the platform offers this printer's own settings dialog, and showing it.
    virtual bool hasProperties() const = 0;
    virtual void showProperties(QWidget* owner) = 0;
};

struct PrinterList {
    std::vector<std::unique_ptr<Printer>> printers;
    int current = 0; // the one chosen unless the operator picks another
};

// The printers and the page-setup dialog go through this seam, so that tests install
// printers that record what they receive; no physical printer exists on a test machine.
class Printers {
public:
    virtual ~Printers() = default;
    // The printers installed now; empty when there are none.
    virtual PrinterList installed() = 0;
    // The platform's page-setup dialog over paper; false when the operator cancelled.
    virtual bool pageSetup(QWidget* owner, report::PaperSetup& paper) = 0;
};

// The real implementation (the system's printers and the PDF file), in force through Replaceable<Printers> unless a
// test installs another.
template <> Printers& Replaceable<Printers>::real();

// The entry "打印到 PDF 文件": asks for a file name and writes the pages sent as a PDF,
// each page as many times as the printer's copies.
std::unique_ptr<Printer> pdfFilePrinter();

} // namespace skorvin::ui
