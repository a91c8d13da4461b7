#pragma once

#include <QHeaderView>
#include <QPoint>

#include <functional>

namespace skorvin::ui {

// The grid's title row: centred captions on raised 3-D cells, resizable and movable
// by dragging. A column marked as a title button draws pressed while the mouse is
// held on it; moving more than 3 px sideways turns the press into a column drag.
class DataGridTitles final : public QHeaderView {
    Q_OBJECT
public:
    explicit DataGridTitles(QWidget* parent = nullptr);

    // Which logical columns act as title buttons.
    void setTitleButtons(std::function<bool(int)> isTitleButton) { isTitleButton_ = std::move(isTitleButton); }
    // The title button drawn pressed, -1 when none.
    int pressedButton() const { return pressed_; }

signals:
    void titleButtonClicked(int column);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<bool(int)> isTitleButton_;
    int pressed_ = -1;
    QPoint pressPos_;
};

// The row indicator column: 3-D fixed cells with a triangle on the current row.
// Presses are handed to the grid, which marks rows by them.
class DataGridIndicator final : public QHeaderView {
    Q_OBJECT
public:
    explicit DataGridIndicator(QWidget* parent = nullptr);

    // The row that shows the triangle, -1 for none.
    void setCurrentRow(int row);
    int currentRow() const { return currentRow_; }
    // Rows that carry a tick beside the triangle, asked while drawing; an empty function for none.
    void setTicked(std::function<bool(int row)> ticked);
    bool ticked(int row) const { return ticked_ && ticked_(row); }

signals:
    void rowPressed(int row, Qt::KeyboardModifiers modifiers);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int currentRow_ = -1;
    std::function<bool(int)> ticked_;
};

// Draws a fixed cell of the grid: raised, or sunken while pressed.
void drawFixedCell(QPainter* painter, const QRect& rect, const QPalette& palette, bool sunken);

} // namespace skorvin::ui
