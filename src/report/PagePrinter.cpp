#include "report/PagePrinter.hpp"

#include "platform/Exception.hpp"
#include "report/BuiltReport.hpp"
#include "report/ReportPainter.hpp"

#include <QPageSize>
#include <QPagedPaintDevice>

namespace skorvin::report {

PagePrinter::PagePrinter(QPagedPaintDevice& device, std::string failureText)
    : device_(device), failureText_(std::move(failureText))
{
    device_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

PagePrinter::~PagePrinter()
{
    if (painter_.isActive())
        painter_.end();
}

void PagePrinter::begin()
{
    if (!painter_.begin(&device_))
        throw Exception(failureText_);
    begun_ = true;
}

void PagePrinter::print(const BuiltReport& pages, int pageIndex)
{
    const BuiltPage& page = pages.page(pageIndex);
    device_.setPageSize(QPageSize(QSizeF(page.width / 100.0, page.height / 100.0), QPageSize::Millimeter));
    if (!begun_)
        begin();
    else if (!device_.newPage())
        throw Exception(failureText_);
    paintPage(painter_, pages, pageIndex, device_.logicalDpiX() / 25.4);
}

void PagePrinter::finish()
{
    if (!begun_)
        begin();
    if (!painter_.end())
        throw Exception(failureText_);
}

} // namespace skorvin::report
