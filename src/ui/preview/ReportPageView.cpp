#include "ui/preview/ReportPageView.hpp"

#include "report/BuiltReport.hpp"
#include "report/ReportPainter.hpp"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace skorvin::ui {

namespace {

constexpr int kSmallStep = 24;

} // namespace

ReportPageView::ReportPageView(const report::BuiltReport& pages, QWidget* parent)
    : QAbstractScrollArea(parent), pages_(pages)
{
    setObjectName(QStringLiteral("PageView"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    QPalette desk = viewport()->palette();
    desk.setColor(QPalette::Window, QColor(128, 128, 128));
    viewport()->setPalette(desk);
    current_ = pages_.pageCount() > 0 ? 1 : 0;
    layOut();
}

void ReportPageView::setZoom(PreviewZoom zoom)
{
    const int page = current_;
    zoom_ = zoom;
    layOut();
    if (page > 0)
        goToPage(page);
    viewport()->update();
}

int ReportPageView::effectivePercent() const
{
    return qRound(layout_.scale * 25.4 / logicalDpiX() * 100.0);
}

void ReportPageView::layOut()
{
    const int before = effectivePercent();
    layout_ = layOutPages(pages_, zoom_, viewport()->size(), logicalDpiX());
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, layout_.extent.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(kSmallStep);
    verticalScrollBar()->setRange(0, std::max(0, layout_.extent.height() - view.height()));
    verticalScrollBar()->setPageStep(std::max(kSmallStep, view.height() - kSmallStep));
    verticalScrollBar()->setSingleStep(kSmallStep);
    if (effectivePercent() != before)
        emit effectivePercentChanged();
}

void ReportPageView::goToPage(int page)
{
    if (layout_.placements.empty())
        return;
    page = std::clamp(page, 1, static_cast<int>(layout_.placements.size()));
    verticalScrollBar()->setValue(layout_.placements[static_cast<std::size_t>(page - 1)].top() - kPageGap);
    // At the end of the scroll range the page may sit lower than the top; it is still the one asked for.
    setCurrent(page);
}

void ReportPageView::setCurrent(int page)
{
    if (current_ != page) {
        current_ = page;
        emit currentPageChanged(current_);
    }
}

void ReportPageView::reload()
{
    highlight_.reset();
    layOut();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    current_ = -1;
    setCurrent(pages_.pageCount() > 0 ? 1 : 0);
    viewport()->update();
}

QRect ReportPageView::areaOnDesk(int pageIndex, const report::Rect& area) const
{
    const double perUnit = layout_.scale / 100.0;
    const QRect paper = layout_.placements.at(static_cast<std::size_t>(pageIndex));
    // Cut to the paper: a piece drawn off it shows nowhere, and its place may lie past any int.
    return QRectF(paper.x() + area.x * perUnit, paper.y() + area.y * perUnit, area.width * perUnit,
                  area.height * perUnit)
        .intersected(QRectF(paper))
        .toAlignedRect();
}

void ReportPageView::highlight(int pageIndex, const report::Rect& area)
{
    if (pageIndex < 0 || pageIndex >= static_cast<int>(layout_.placements.size()))
        return;
    highlight_ = Highlight{pageIndex, area};
    const QRect target = areaOnDesk(pageIndex, area);
    const QSize view = viewport()->size();
    // The page's top when the whole area fits below it, else the area a little below the view's top.
    const int pageTop = layout_.placements[static_cast<std::size_t>(pageIndex)].top() - kPageGap;
    verticalScrollBar()->setValue(target.bottom() < pageTop + view.height() ? pageTop : target.top() - kPageGap);
    QScrollBar* across = horizontalScrollBar();
    if (target.left() < across->value() || target.right() > across->value() + view.width())
        across->setValue(target.left() - kPageGap);
    setCurrent(pageIndex + 1);
    viewport()->update();
}

void ReportPageView::clearHighlight()
{
    highlight_.reset();
    viewport()->update();
}

QRect ReportPageView::highlightedArea() const
{
    if (!highlight_)
        return {};
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return areaOnDesk(highlight_->pageIndex, highlight_->area).translated(-offset);
}

void ReportPageView::updateCurrentPage()
{
    if (layout_.placements.empty())
        return;
    // The page that holds the line a third of the way down the view.
    const int probe = verticalScrollBar()->value() + viewport()->height() / 3;
    int page = 1;
    for (std::size_t i = 0; i < layout_.placements.size(); ++i) {
        if (layout_.placements[i].top() <= probe)
            page = static_cast<int>(i) + 1;
        else
            break;
    }
    setCurrent(page);
}

void ReportPageView::scrollContentsBy(int, int)
{
    updateCurrentPage();
    viewport()->update();
}

void ReportPageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int page = current_;
    layOut();
    if (zoom_.mode != PreviewZoom::Mode::Percent && page > 0)
        goToPage(page);
}

void ReportPageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect exposed = event->rect().translated(offset);
    // Pages lie in order down the area, so a binary search finds the first one in view.
    const auto first = std::lower_bound(layout_.placements.begin(), layout_.placements.end(), exposed.top(),
                                        [](const QRect& r, int top) { return r.bottom() < top; });
    for (auto it = first; it != layout_.placements.end() && it->top() <= exposed.bottom(); ++it) {
        if (!it->intersects(exposed))
            continue;
        const QRect paper = it->translated(-offset);
        painter.fillRect(paper, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(paper.adjusted(0, 0, -1, -1));
        const int index = static_cast<int>(it - layout_.placements.begin());
        report::paintPage(painter, pages_, index, layout_.scale, paper.topLeft());
        emit pagePainted(index);
    }
    if (highlight_) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(highlightedArea(), Qt::white);
    }
}

void ReportPageView::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    QScrollBar* vertical = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            goToPage(current_ - 1);
        else
            vertical->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            goToPage(current_ + 1);
        else
            vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        horizontalScrollBar()->setValue(0);
        goToPage(1);
        vertical->setValue(0);
        break;
    case Qt::Key_End:
        if (!ctrl)
            return QAbstractScrollArea::keyPressEvent(event);
        goToPage(static_cast<int>(layout_.placements.size()));
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
}

} // namespace skorvin::ui
