#pragma once

#include <QTreeView>

namespace skorvin::ui {

// The organisation tree: read-only labels, whole-row selection, hot tracking, indent 19.
// Once a node is selected one always is, since the list shows that node's candidates:
// Ctrl+click and Ctrl+Space select as a plain click does, and neither they nor a click
// on empty space clear the selection.
class OrgTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit OrgTreeView(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};

} // namespace skorvin::ui
