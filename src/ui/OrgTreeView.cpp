#include "ui/OrgTreeView.hpp"

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

} // namespace skorvin::ui
