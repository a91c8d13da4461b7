#pragma once

#include "report/ReportTemplate.hpp"
#include "ui/preview/PageLayout.hpp"

#include <QAbstractScrollArea>

#include <optional>

namespace skorvin::report {
class BuiltReport;
}

namespace skorvin::ui {

// The pages of a built report one below the other (two side by side in the two-page
// zoom) on a grey desk. Only the pages in view are painted, so a preview of the national
// list opens as fast as one of a single sheet.
class ReportPageView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportPageView(const report::BuiltReport& pages, QWidget* parent = nullptr);

    void setZoom(PreviewZoom zoom);
    // The scale in use as a percentage of the paper's real size: the one chosen, or what a
    // fitting zoom makes of the view's size now.
    int effectivePercent() const;

    // 1-based; 0 for a report without pages.
    int currentPage() const { return current_; }
    // Scrolls so that the top of the page is at the top of the view.
    void goToPage(int page);

    // The pages were replaced (opened, built again): laid out anew, page 1 current.
    void reload();
    // Makes the page (0-based) current, scrolls the rectangle on it into view and shows
    // it inverted, until the next highlight, clearHighlight or reload.
    void highlight(int pageIndex, const report::Rect& area);
    // Shows nothing inverted any more; the view stays where it is.
    void clearHighlight();
    // The highlighted area in the view's viewport; empty when none.
    QRect highlightedArea() const;

signals:
    void currentPageChanged(int page);
    // The scale in use changed (a fitting zoom on a resized view); effectivePercent() tells it.
    void effectivePercentChanged();
    // One page was painted (0-based), for those who check that painting follows the view.
    void pagePainted(int pageIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QRect areaOnDesk(int pageIndex, const report::Rect& area) const;
    void setCurrent(int page);
    void layOut();
    void updateCurrentPage();

    const report::BuiltReport& pages_;
    PreviewZoom zoom_;
    PageLayout layout_;
    int current_ = 0;
    struct Highlight {
        int pageIndex;
        report::Rect area;
    };
    std::optional<Highlight> highlight_;
};

} // namespace skorvin::ui
