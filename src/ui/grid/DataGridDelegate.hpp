#pragma once

#include <QStyledItemDelegate>

#include <functional>

class QAbstractItemView;

namespace skorvin::ui {

// Paints the grid's data cells: marked rows (or, with no marks, the current row)
// in the highlight colours, the focused cell in a stronger highlight with a focus frame
// while the grid has the focus, every other cell on its column's background. A cell with a
// foreground colour of its own (a flagged value) keeps it.
class DataGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    // rowHighlighted tells whether a view row is painted as marked.
    DataGridDelegate(QAbstractItemView* view, std::function<bool(int row)> rowHighlighted, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The grid is display-only.
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

private:
    QAbstractItemView* view_;
    std::function<bool(int row)> rowHighlighted_;
};

} // namespace skorvin::ui
