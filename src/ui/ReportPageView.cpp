#include "ui/ReportPageView.hpp"

#include "report/BuiltReport.hpp"
#include "report/ReportPainter.hpp"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace skorvin::ui {

namespace {

constexpr int kGap = 12; // desk around and between the pages, in pixels
constexpr int kSmallStep = 24;

double mm(report::Length length)
{
    return length / 100.0;
}

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

double ReportPageView::pixelsPerMm() const
{
    const double real = logicalDpiX() / 25.4;
    if (zoom_.mode == PreviewZoom::Mode::Percent || pages_.pageCount() == 0)
        return real * zoom_.percent / 100.0;
    double widest = 0;
    double tallest = 0;
    for (int i = 0; i < pages_.pageCount(); ++i) {
        widest = std::max(widest, mm(pages_.page(i).width));
        tallest = std::max(tallest, mm(pages_.page(i).height));
    }
    const double across = zoom_.mode == PreviewZoom::Mode::TwoPages ? 2 : 1;
    const QSize room = viewport()->size() - QSize(kGap * (across + 1), kGap * 2);
    const double byWidth = std::max(1, room.width()) / (widest * across);
    if (zoom_.mode == PreviewZoom::Mode::PageWidth)
        return byWidth;
    return std::min(byWidth, std::max(1, room.height()) / tallest);
}

int ReportPageView::effectivePercent() const
{
    return qRound(scale_ * 25.4 / logicalDpiX() * 100.0);
}

void ReportPageView::layOut()
{
    scale_ = pixelsPerMm();
    const int across = zoom_.mode == PreviewZoom::Mode::TwoPages ? 2 : 1;
    placements_.clear();
    int y = kGap;
    int width = 0;
    for (int i = 0; i < pages_.pageCount(); i += across) {
        int x = kGap;
        int rowHeight = 0;
        for (int k = i; k < std::min(i + across, pages_.pageCount()); ++k) {
            const QSize size(qRound(mm(pages_.page(k).width) * scale_), qRound(mm(pages_.page(k).height) * scale_));
            placements_.emplace_back(QPoint(x, y), size);
            x += size.width() + kGap;
            rowHeight = std::max(rowHeight, size.height());
        }
        width = std::max(width, x);
        y += rowHeight + kGap;
    }
    extent_ = QSize(width, y);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, extent_.width() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(kSmallStep);
    verticalScrollBar()->setRange(0, std::max(0, extent_.height() - view.height()));
    verticalScrollBar()->setPageStep(std::max(kSmallStep, view.height() - kSmallStep));
    verticalScrollBar()->setSingleStep(kSmallStep);
}

void ReportPageView::goToPage(int page)
{
    if (placements_.empty())
        return;
    page = std::clamp(page, 1, static_cast<int>(placements_.size()));
    verticalScrollBar()->setValue(placements_[static_cast<std::size_t>(page - 1)].top() - kGap);
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
    const double perUnit = scale_ / 100.0;
    const QPoint paper = placements_.at(static_cast<std::size_t>(pageIndex)).topLeft();
    return QRectF(paper.x() + area.x * perUnit, paper.y() + area.y * perUnit, area.width * perUnit,
                  area.height * perUnit)
        .toAlignedRect();
}

void ReportPageView::highlight(int pageIndex, const report::Rect& area)
{
    if (pageIndex < 0 || pageIndex >= static_cast<int>(placements_.size()))
        return;
    highlight_ = Highlight{pageIndex, area};
    const QRect target = areaOnDesk(pageIndex, area);
    const QSize view = viewport()->size();
    // The page's top when the whole area fits below it, else the area a little below the view's top.
    const int pageTop = placements_[static_cast<std::size_t>(pageIndex)].top() - kGap;
    verticalScrollBar()->setValue(target.bottom() < pageTop + view.height() ? pageTop : target.top() - kGap);
    QScrollBar* across = horizontalScrollBar();
    if (target.left() < across->value() || target.right() > across->value() + view.width())
        across->setValue(target.left() - kGap);
    setCurrent(pageIndex + 1);
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
    if (placements_.empty())
        return;
    // The page that holds the line a third of the way down the view.
    const int probe = verticalScrollBar()->value() + viewport()->height() / 3;
    int page = 1;
    for (std::size_t i = 0; i < placements_.size(); ++i) {
        if (placements_[i].top() <= probe)
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
    const auto first = std::lower_bound(placements_.begin(), placements_.end(), exposed.top(),
                                        [](const QRect& r, int top) { return r.bottom() < top; });
    for (auto it = first; it != placements_.end() && it->top() <= exposed.bottom(); ++it) {
        if (!it->intersects(exposed))
            continue;
        const QRect paper = it->translated(-offset);
        painter.fillRect(paper, Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(paper.adjusted(0, 0, -1, -1));
        const int index = static_cast<int>(it - placements_.begin());
        report::paintPage(painter, pages_, index, scale_, paper.topLeft());
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
        goToPage(static_cast<int>(placements_.size()));
        break;
    default:
        return QAbstractScrollArea::keyPressEvent(event);
    }
    event->accept();
}

} // namespace skorvin::ui
