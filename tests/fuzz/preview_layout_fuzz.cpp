// The preview's page layout of any built report the file reader accepts: at every zoom and
// any view, each page lies on the desk below the row before it, and the desk stays within
// its coordinates. The first three bytes choose the view; the rest is the file, whose
// checksum is made right first, so that the fuzzer reaches the layout behind it.
#include "report/BuiltReportFile.hpp"
#include "report/ReportError.hpp"
#include "report/SealedReportFile.hpp"
#include "ui/preview/PageLayout.hpp"

#include <QByteArray>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void check(const skorvin::report::BuiltReport& report, skorvin::ui::PreviewZoom zoom, QSize view, double dpi)
{
    using namespace skorvin::ui;
    const PageLayout layout = layOutPages(report, zoom, view, dpi);
    require(std::isfinite(layout.scale) && layout.scale > 0);
    require(layout.placements.size() == static_cast<std::size_t>(report.pageCount()));
    require(layout.extent.width() >= 0 && layout.extent.width() <= kMaxDeskPixels);
    require(layout.extent.height() >= 0 && layout.extent.height() <= kMaxDeskPixels);
    const int across = zoom.mode == PreviewZoom::Mode::TwoPages ? 2 : 1;
    for (std::size_t i = 0; i < layout.placements.size(); ++i) {
        const QRect& page = layout.placements[i];
        require(page.left() >= kPageGap && page.top() >= kPageGap && page.width() >= 0 && page.height() >= 0);
        require(page.left() + page.width() <= layout.extent.width());
        require(page.top() + page.height() <= layout.extent.height());
        if (i % static_cast<std::size_t>(across) != 0)
            require(page.top() == layout.placements[i - 1].top() && page.left() > layout.placements[i - 1].left());
        else if (i > 0)
            require(page.top() > layout.placements[i - 1].top());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin::report;
    using Mode = skorvin::ui::PreviewZoom::Mode;
    if (size < 3)
        return 0;
    const QSize view(data[0] * 16, data[1] * 8);
    const double dpi = 48 + data[2];
    const QByteArray bytes =
        skorvin::test::sealed(QByteArray(reinterpret_cast<const char*>(data + 3), static_cast<qsizetype>(size - 3)));
    try {
        const BuiltReport report = readBuiltReport(bytes);
        for (const skorvin::ui::PreviewZoom zoom :
             {skorvin::ui::PreviewZoom{Mode::Percent, 10}, skorvin::ui::PreviewZoom{Mode::Percent, 200},
              skorvin::ui::PreviewZoom{Mode::PageWidth, 100}, skorvin::ui::PreviewZoom{Mode::WholePage, 100},
              skorvin::ui::PreviewZoom{Mode::TwoPages, 100}})
            check(report, zoom, view, dpi);
    } catch (const BuiltReportFileError&) {
    }
    return 0;
}
