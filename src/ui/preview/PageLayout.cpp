#include "ui/preview/PageLayout.hpp"

#include "report/BuiltReport.hpp"

#include <algorithm>

namespace skorvin::ui {

namespace {

double mm(report::Length length)
{
    return length / 100.0;
}

// The paper the desk holds, in millimetres: what the fitting zooms and the limit measure.
struct Paper {
    double widest = 0;    // page
    double tallest = 0;   // page
    double widestRow = 0; // pages side by side
    double rowsHeight = 0;
    int rows = 0;
};

Paper measure(const report::BuiltReport& pages, int across)
{
    Paper paper;
    for (int i = 0; i < pages.pageCount(); i += across) {
        double rowWidth = 0;
        double rowHeight = 0;
        for (int k = i; k < std::min(i + across, pages.pageCount()); ++k) {
            const report::BuiltPage& page = pages.page(k);
            paper.widest = std::max(paper.widest, mm(page.width));
            paper.tallest = std::max(paper.tallest, mm(page.height));
            rowWidth += mm(page.width);
            rowHeight = std::max(rowHeight, mm(page.height));
        }
        paper.widestRow = std::max(paper.widestRow, rowWidth);
        paper.rowsHeight += rowHeight;
        ++paper.rows;
    }
    return paper;
}

double chosenScale(const Paper& paper, PreviewZoom zoom, int across, QSize view, double dpi)
{
    if (zoom.mode == PreviewZoom::Mode::Percent || paper.rows == 0)
        return dpi / 25.4 * zoom.percent / 100.0;
    const QSize room = view - QSize(kPageGap * (across + 1), kPageGap * 2);
    const double byWidth = std::max(1, room.width()) / (paper.widest * across);
    if (zoom.mode == PreviewZoom::Mode::PageWidth)
        return byWidth;
    return std::min(byWidth, std::max(1, room.height()) / paper.tallest);
}

// The largest scale at which the desk fits kMaxDeskPixels: the gaps, and half a pixel of
// rounding per page, come off the room first.
double largestScale(const Paper& paper, int across)
{
    if (paper.rows == 0)
        return 1e9;
    const double down = (kMaxDeskPixels - double(kPageGap) * (paper.rows + 1) - paper.rows) / paper.rowsHeight;
    const double right = (kMaxDeskPixels - double(kPageGap) * (across + 1) - across) / paper.widestRow;
    return std::min(down, right);
}

} // namespace

PageLayout layOutPages(const report::BuiltReport& pages, PreviewZoom zoom, QSize view, double dpi)
{
    const int across = zoom.mode == PreviewZoom::Mode::TwoPages ? 2 : 1;
    const Paper paper = measure(pages, across);
    PageLayout layout;
    layout.scale = std::min(chosenScale(paper, zoom, across, view, dpi), largestScale(paper, across));
    layout.placements.reserve(static_cast<std::size_t>(pages.pageCount()));
    int y = kPageGap;
    int width = 0;
    for (int i = 0; i < pages.pageCount(); i += across) {
        int x = kPageGap;
        int rowHeight = 0;
        for (int k = i; k < std::min(i + across, pages.pageCount()); ++k) {
            const report::BuiltPage& page = pages.page(k);
            const QSize size(qRound(mm(page.width) * layout.scale), qRound(mm(page.height) * layout.scale));
            layout.placements.emplace_back(QPoint(x, y), size);
            x += size.width() + kPageGap;
            rowHeight = std::max(rowHeight, size.height());
        }
        width = std::max(width, x);
        y += rowHeight + kPageGap;
    }
    layout.extent = QSize(width, y);
    return layout;
}

} // namespace skorvin::ui
