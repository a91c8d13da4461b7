// PageLayout: where the preview puts each page of a built report, at a zoom and a view size.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

namespace skorvin::report {
class BuiltReport;
}

namespace skorvin::ui {

// How large the preview shows the pages.
struct PreviewZoom {
    enum class Mode { Percent, PageWidth, WholePage, TwoPages };
    Mode mode = Mode::Percent;
    int percent = 100;

    bool operator==(const PreviewZoom&) const = default;
};

// The grey desk around and between the pages, in pixels.
inline constexpr int kPageGap = 12;
// The most pixels the desk spans either way: well inside a signed int, so that every page,
// scroll position and area on the desk is a plain int and every page can be reached.
inline constexpr int kMaxDeskPixels = 1 << 30;

struct PageLayout {
    double scale = 1.0;            // device pixels per millimetre of paper
    std::vector<QRect> placements; // each page's rectangle on the desk, in page order
    QSize extent;                  // the whole desk, gaps included
};

// Lays the pages one below the other (two side by side in the two-page zoom) for a view of
// the given size at dpi pixels per inch. A percentage is of the paper's real size; the
// fitting zooms fit the widest page (two of them across) or the largest one in the view.
// Any zoom is lowered as far as needed for the desk to stay within kMaxDeskPixels.
PageLayout layOutPages(const report::BuiltReport& pages, PreviewZoom zoom, QSize view, double dpi);

} // namespace skorvin::ui
