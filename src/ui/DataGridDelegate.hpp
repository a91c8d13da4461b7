#pragma once

#include <QStyledItemDelegate>

namespace skorvin::ui {

class TDataGrid;

// Paints the grid's data cells: marked rows (or, with no marks, the current row)
// in the highlight colours, the focused cell in a stronger highlight with a focus frame
// while the grid has the focus, every other cell on its column's background.
class DataGridDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    DataGridDelegate(TDataGrid* grid, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The grid is display-only.
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

private:
    TDataGrid* grid_;
};

} // namespace skorvin::ui
