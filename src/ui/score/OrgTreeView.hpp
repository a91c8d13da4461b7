#pragma once

#include <QTreeView>

namespace skorvin::ui {

// The organisation tree: read-only labels, whole-row selection, hot tracking, indent 19.
// Once a node is selected one always is, since the list shows that node's candidates:
// Ctrl+click and Ctrl+Space select as a plain click does, and neither they nor a click
// on empty space clear the selection. A label the column cuts shows its whole text as a tooltip.
class OrgTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit OrgTreeView(QWidget* parent = nullptr);

    // The width the view needs to show every node's whole label at its depth, frame and
    // vertical scroll bar included.
    int wholeLabelsWidth() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    bool viewportEvent(QEvent* event) override;

private:
    // True when the view shows less than the whole label of index.
    bool labelCut(const QModelIndex& index) const;
};

} // namespace skorvin::ui
