// TDataGrid: the display-only grid over the list recordset, with titles, row indicator, marks and export.
#pragma once

#include "exam/ExportGrid.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "ui/grid/RowMarks.hpp"

#include <QColor>
#include <QString>
#include <QTableView>

#include <functional>
#include <string>
#include <vector>

namespace skorvin::ui {

class DataGridModel;
class DataGridTitles;
class DataGridIndicator;

// A display-only grid over a client recordset: one row per row of the recordset's
// visible view, read on demand. The grid's current row is the recordset's current
// row in both directions; rows can be marked (kept by bookmark) for the entry
// workflow and for deleting from the list. It can be exported (exam::TDataGridExport).
class TDataGrid : public QTableView, public exam::ExportGrid {
    Q_OBJECT
public:
    struct Column {
        std::string fieldName;
        QString title;
        int width = 64;
        bool readOnly = false;
        // The title acts as a button: drawn pressed while held, titleButtonClicked on release.
        bool titleButton = false;
        // Cell background; an invalid colour leaves the grid's base colour.
        QColor background;
    };

    explicit TDataGrid(QWidget* parent = nullptr);
    ~TDataGrid() override;

    void setColumns(const std::vector<Column>& columns);
    const std::vector<Column>& columns() const;
    // The values of a column (index into columns()) that flagged returns true for are drawn in
    // red; an empty function flags none. Asked as the cells are painted.
    void setFlag(int column, std::function<bool(const ado::FieldValue& value)> flagged);

    // The data source: the recordset shown, or nullptr for none. Not owned.
    void setDataSet(ado::TCustomADODataSet* dataSet);
    ado::TCustomADODataSet* dataSet() const { return dataSet_; }

    // Indexes into columns() of the columns shown, in the order the operator sees them.
    std::vector<int> visibleColumnOrder() const;
    // The recordset's field index behind a column, -1 while the field is unknown (closed recordset).
    int columnFieldIndex(int column) const;

    // The view row shown at the top, -1 without rows; and how many rows the grid's window shows
    // (the last one possibly cut off). An export keeps the list's position in this window.
    int topRow() const;
    int visibleRowCount() const;

    // What an export reads: the title row is always shown and there are no footer rows.
    bool titlesShown() const override { return true; }
    std::vector<int> VisibleColumnList() const override { return visibleColumnOrder(); }
    int FooterRowCount() const override { return 0; }
    // Fails without a recordset.
    ado::TCustomADODataSet& boundDataSet() const override;
    std::string titleCaption(int column) const override;
    std::string cellText(int column) const override;
    std::string footerText(int, int) const override { return {}; }
    std::string fieldName(int column) const override { return columns_.at(static_cast<std::size_t>(column)).fieldName; }

    // In place of the values of fieldName's column, what shown makes of each; an empty function
    // shows the values again. An export still reads the values.
    void setShownText(const std::string& fieldName, std::function<QString(const ado::FieldValue&)> shown);
    // A tick in the row indicator of each view row ticked says yes to, asked as the rows are
    // drawn; an empty function draws none. The indicator widens to hold the tick beside the triangle.
    void setTickedRows(std::function<bool(int viewRow)> ticked);
    bool rowTicked(int viewRow) const;
    // Draws the ticks again, after what they are asked of has changed.
    void updateTicks();

    // Marks of the recordset's current row (no effect without a current row).
    void markCurrentRow();
    void unmarkCurrentRow();
    bool isMarked(ado::TCustomADODataSet::Bookmark mark) const;
    void clearMarks();
    std::size_t markCount() const { return marks_.size(); }
    // The row's marked state or, while nothing is marked, whether it is the current row.
    bool rowHighlighted(int viewRow) const;

signals:
    // A data cell was clicked (after the recordset moved to its row).
    void cellClicked();
    // The title button of a column (index into columns()) was pressed and released.
    void titleButtonClicked(int column);

public slots:
    // The corner cell: marks every row, or clears the marks when there are any.
    void selectAll() override;

protected:
    // The rows on screen as the export sees them: the current row alone while none are.
    int windowRecordCount() const override;
    int currentWindowIndex() const override;

    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void fitRowHeight();
    void followDataSet();
    // Moves the recordset's current row to a row of its view.
    void moveDataSetTo(int viewRow);
    // Makes viewRow the grid's and the recordset's current row, keeping the current column;
    // false when the recordset did not get there.
    bool goToRow(int viewRow);
    bool goToCell(const QModelIndex& cell);
    void markRange(int fromRow, int toRow);
    void toggleRow(int viewRow);
    void indicatorPressed(int viewRow, Qt::KeyboardModifiers modifiers);
    void deleteRows();
    void dataSetReset();
    bool hasCurrentRow() const;

    std::vector<Column> columns_;
    ado::TCustomADODataSet* dataSet_ = nullptr;
    DataGridModel* model_ = nullptr;
    DataGridTitles* titles_ = nullptr;
    DataGridIndicator* indicator_ = nullptr;
    RowMarks marks_;
    // Set while the grid moves to the recordset's row, so that the move is not sent back.
    bool following_ = false;
    // A left press began on a data cell; its release reports the click.
    bool pressedOnCell_ = false;
    // The row last reached by a left-button drag over the data cells, -1 when not dragging.
    int dragRow_ = -1;
};

} // namespace skorvin::ui
