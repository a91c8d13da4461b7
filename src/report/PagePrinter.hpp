#pragma once

#include <QPainter>

class QPagedPaintDevice;

namespace skorvin::report {

class BuiltReport;

// Paints built pages one after another on a paged device (a PDF writer, a printer), each
// on paper of its own size with its corner at the paper's corner.
class PagePrinter {
public:
    // failureText: the message thrown when the device cannot be painted on (GBK).
    PagePrinter(QPagedPaintDevice& device, std::string failureText);
    ~PagePrinter();
    PagePrinter(const PagePrinter&) = delete;
    PagePrinter& operator=(const PagePrinter&) = delete;

    // Adds the page (0-based) on a sheet of its own; throws Exception when the device refuses.
    void print(const BuiltReport& pages, int pageIndex);
    // Ends the document (one blank sheet when no page was added).
    void finish();

private:
    void begin();

    QPagedPaintDevice& device_;
    std::string failureText_;
    QPainter painter_;
    bool begun_ = false;
};

} // namespace skorvin::report
