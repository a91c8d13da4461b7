#include "ui/grid/DataGridDelegate.hpp"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace skorvin::ui {

DataGridDelegate::DataGridDelegate(QAbstractItemView* view, std::function<bool(int row)> rowHighlighted,
                                   QObject* parent)
    : QStyledItemDelegate(parent), view_(view), rowHighlighted_(std::move(rowHighlighted))
{
}

void DataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    // The view's own selection and focus states are replaced by the grid's marks.
    cell.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);

    const bool focused = view_->hasFocus() && index == view_->currentIndex();
    const bool highlighted = rowHighlighted_(index.row());
    QColor background = cell.backgroundBrush.color();
    if (focused || highlighted) {
        background = cell.palette.color(QPalette::Active, QPalette::Highlight);
        if (focused && highlighted)
            background = background.darker(135);
        cell.backgroundBrush = background;
        // A flagged value stays red on the highlight, lightened so that it reads there.
        const QVariant flag = index.data(Qt::ForegroundRole);
        cell.palette.setColor(QPalette::Text, flag.isValid()
                                                  ? flag.value<QColor>().lighter(170)
                                                  : cell.palette.color(QPalette::Active, QPalette::HighlightedText));
    }

    QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

    if (focused) {
        QStyleOptionFocusRect frame;
        frame.QStyleOption::operator=(cell);
        frame.rect = cell.rect.adjusted(1, 1, -1, -1);
        frame.state |= QStyle::State_KeyboardFocusChange;
        frame.backgroundColor = background;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, cell.widget);
    }
}

} // namespace skorvin::ui
