#pragma once

#include <QAbstractScrollArea>

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

// The pages of a built report one below the other (two side by side in the two-page
// zoom) on a grey desk. Only the pages in view are painted, so a preview of the national
// list opens as fast as one of a single sheet.
class ReportPageView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportPageView(const report::BuiltReport& pages, QWidget* parent = nullptr);

    void setZoom(PreviewZoom zoom);
    // The scale in use as a percentage of the paper's real size.
    int effectivePercent() const;

    // 1-based; 0 for a report without pages.
    int currentPage() const { return current_; }
    // Scrolls so that the top of the page is at the top of the view.
    void goToPage(int page);

signals:
    void currentPageChanged(int page);
    // One page was painted (0-based), for those who check that painting follows the view.
    void pagePainted(int pageIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    double pixelsPerMm() const;
    void layOut();
    void updateCurrentPage();

    const report::BuiltReport& pages_;
    PreviewZoom zoom_;
    double scale_ = 1.0;            // device pixels per millimetre
    std::vector<QRect> placements_; // each page's rectangle in the scrolled area
    QSize extent_;
    int current_ = 0;
};

} // namespace skorvin::ui
