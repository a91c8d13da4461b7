#include "ui/score/OrgTreeView.hpp"

#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace skorvin::ui {

OrgTreeView::OrgTreeView(QWidget* parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setIndentation(19);
    setIconSize({16, 16});
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
}

QItemSelectionModel::SelectionFlags OrgTreeView::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    // A single-selection view clears its selection on a click into the empty space below
    // the nodes and toggles a Ctrl+clicked selected node off; both keep it here.
    const auto flags = QTreeView::selectionCommand(index, event);
    if (!index.isValid() || (flags & QItemSelectionModel::Deselect))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

int OrgTreeView::wholeLabelsWidth() const
{
    int widest = 0;
    const QAbstractItemModel* nodes = model();
    if (!nodes)
        return 0;
    // Every node, expanded or not: a branch opened later must not be cut either.
    const auto walk = [&](const auto& self, const QModelIndex& parent, int depth) -> void {
        for (int row = 0; row < nodes->rowCount(parent); ++row) {
            const QModelIndex index = nodes->index(row, 0, parent);
            widest = std::max(widest, depth * indentation() + sizeHintForIndex(index).width());
            self(self, index, depth + 1);
        }
    };
    walk(walk, QModelIndex(), rootIsDecorated() ? 1 : 0);
    return widest + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

bool OrgTreeView::labelCut(const QModelIndex& index) const
{
    const QRect shown = visualRect(index);
    return sizeHintForIndex(index).width() > shown.width() || shown.right() >= viewport()->width() || shown.left() < 0;
}

bool OrgTreeView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid() && labelCut(index))
        QToolTip::showText(help->globalPos(), index.data(Qt::DisplayRole).toString(), viewport(), visualRect(index));
    else
        QToolTip::hideText();
    return true;
}

} // namespace skorvin::ui
