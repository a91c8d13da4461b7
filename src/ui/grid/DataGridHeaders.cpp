#include "ui/grid/DataGridHeaders.hpp"

#include "ui/widgets/MousePosition.hpp"

#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QStyle>
#include <qdrawutil.h>

#include <cstdlib>

namespace skorvin::ui {

namespace {

// Sideways travel, in pixels, after which a press on a title button becomes a column drag.
constexpr int titleButtonSlack = 3;
// The row indicator's width, and the width the tick adds to it.
constexpr int kIndicatorWidth = 12;

} // namespace

void drawFixedCell(QPainter* painter, const QRect& rect, const QPalette& palette, bool sunken)
{
    const QBrush face = palette.button();
    qDrawWinPanel(painter, rect, palette, sunken, &face);
}

DataGridTitles::DataGridTitles(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsMovable(true);
    setFirstSectionMovable(true);
    // Titles are not sort buttons; the title buttons are handled here, not by the view.
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
    setSectionResizeMode(QHeaderView::Interactive);
    setStretchLastSection(false);
}

void DataGridTitles::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    const bool sunken = logicalIndex == pressed_;
    drawFixedCell(painter, rect, palette(), sunken);
    const QString title = model() ? model()->headerData(logicalIndex, orientation()).toString() : QString();
    QRect textRect = rect.adjusted(3, 1, -3, -1);
    if (sunken)
        textRect.translate(1, 1);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(textRect, Qt::AlignCenter, fontMetrics().elidedText(title, Qt::ElideRight, textRect.width()));
    painter->restore();
}

void DataGridTitles::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = mousePosition(event);
    if (event->button() == Qt::LeftButton && isTitleButton_) {
        const int logical = logicalIndexAt(pos);
        // A press on a border resizes the column instead (the left border of the first column is no border).
        const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
        const int start = sectionViewportPosition(logical);
        const bool onBorder =
            (pos.x() < start + grip && visualIndex(logical) > 0) || pos.x() > start + sectionSize(logical) - grip;
        if (logical >= 0 && !onBorder && isTitleButton_(logical)) {
            pressed_ = logical;
            pressPos_ = pos;
            updateSection(logical);
        }
    }
    QHeaderView::mousePressEvent(event);
}

void DataGridTitles::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ >= 0 && std::abs(mousePosition(event).x() - pressPos_.x()) > titleButtonSlack) {
        const int released = pressed_;
        pressed_ = -1;
        updateSection(released);
    }
    QHeaderView::mouseMoveEvent(event);
}

void DataGridTitles::mouseReleaseEvent(QMouseEvent* event)
{
    const int button = pressed_;
    pressed_ = -1;
    QHeaderView::mouseReleaseEvent(event);
    if (button < 0)
        return;
    updateSection(button);
    const QPoint pos = mousePosition(event);
    if (event->button() == Qt::LeftButton && rect().contains(pos) && logicalIndexAt(pos) == button)
        emit titleButtonClicked(button);
}

void DataGridTitles::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second click of a double click is one more press of the button.
    mousePressEvent(event);
}

DataGridIndicator::DataGridIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setSectionsClickable(false);
    setSectionsMovable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setFixedWidth(kIndicatorWidth);
}

void DataGridIndicator::setCurrentRow(int row)
{
    if (row == currentRow_)
        return;
    const int previous = currentRow_;
    currentRow_ = row;
    if (previous >= 0)
        updateSection(previous);
    if (row >= 0)
        updateSection(row);
}

void DataGridIndicator::setTicked(std::function<bool(int row)> ticked)
{
    ticked_ = std::move(ticked);
    // The tick has a cell's width of its own, so the triangle of the current row never hides it.
    setFixedWidth(ticked_ ? 2 * kIndicatorWidth : kIndicatorWidth);
    viewport()->update();
}

void DataGridIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    drawFixedCell(painter, rect, palette(), false);
    const QRect triangleCell(rect.left(), rect.top(), kIndicatorWidth, rect.height());
    if (ticked(logicalIndex)) {
        const QRect tick = rect.adjusted(kIndicatorWidth, 0, 0, 0).adjusted(2, 3, -2, -3);
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(QColor(0, 128, 0), 2));
        QPolygon stroke;
        stroke << QPoint(tick.left(), tick.center().y()) << QPoint(tick.left() + tick.width() / 3, tick.bottom())
               << QPoint(tick.right(), tick.top());
        painter->drawPolyline(stroke);
    }
    if (logicalIndex == currentRow_) {
        // A small right-pointing triangle, centred in its cell.
        const int half = qMax(2, qMin(triangleCell.width(), triangleCell.height()) / 4);
        const QPoint centre = triangleCell.center();
        QPolygon triangle;
        triangle << QPoint(centre.x() - half / 2, centre.y() - half) << QPoint(centre.x() - half / 2, centre.y() + half)
                 << QPoint(centre.x() + half / 2 + 1, centre.y());
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->setBrush(palette().color(QPalette::ButtonText));
        painter->drawPolygon(triangle);
    }
    painter->restore();
}

void DataGridIndicator::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int row = logicalIndexAt(mousePosition(event));
    if (row >= 0)
        emit rowPressed(row, event->modifiers());
}

void DataGridIndicator::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void DataGridIndicator::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void DataGridIndicator::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

} // namespace skorvin::ui
