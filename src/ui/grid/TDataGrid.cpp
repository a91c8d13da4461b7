// TDataGrid: the display-only grid over the list recordset, with titles, row indicator, marks and export.
#include "ui/grid/TDataGrid.hpp"

#include "platform/Exception.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/grid/DataGridDelegate.hpp"
#include "ui/grid/DataGridHeaders.hpp"
#include "ui/grid/DataGridModel.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/MousePosition.hpp"

#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>

namespace skorvin::ui {

namespace {

// Repaints the data cells of one view row; the rest of the grid keeps what it painted.
// A row out of view or past the end asks for nothing.
void repaintRow(QTableView& grid, int viewRow)
{
    if (viewRow < 0 || viewRow >= grid.model()->rowCount())
        return;
    grid.viewport()->update(
        QRect(0, grid.rowViewportPosition(viewRow), grid.viewport()->width(), grid.rowHeight(viewRow)));
}

} // namespace

TDataGrid::TDataGrid(QWidget* parent)
    : QTableView(parent), model_(new DataGridModel(this)), titles_(new DataGridTitles(this)),
      indicator_(new DataGridIndicator(this))
{
    setHorizontalHeader(titles_);
    setVerticalHeader(indicator_);
    setModel(model_);
    setItemDelegate(new DataGridDelegate(
        this, [this](int row) { return rowHighlighted(row); }, this));

    // Marks are the grid's own (by bookmark); the view's selection stays empty.
    setSelectionMode(QAbstractItemView::NoSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setCornerButtonEnabled(true);
    setDragEnabled(false);
    fitRowHeight();

    titles_->setTitleButtons([this](int column) {
        return column >= 0 && static_cast<std::size_t>(column) < columns_.size() &&
               columns_[static_cast<std::size_t>(column)].titleButton;
    });
    connect(titles_, &DataGridTitles::titleButtonClicked, this, &TDataGrid::titleButtonClicked);
    connect(indicator_, &DataGridIndicator::rowPressed, this, &TDataGrid::indicatorPressed);
    connect(model_, &DataGridModel::currentRowMoved, this, &TDataGrid::followDataSet);
    connect(model_, &QAbstractItemModel::modelReset, this, &TDataGrid::dataSetReset);
}

TDataGrid::~TDataGrid()
{
    model_->setDataSet(nullptr);
}

void TDataGrid::setColumns(const std::vector<Column>& columns)
{
    columns_ = columns;
    std::vector<DataGridModel::ColumnLayout> layouts;
    layouts.reserve(columns.size());
    for (const Column& column : columns)
        layouts.push_back({column.fieldName, column.title, column.background});
    model_->setColumns(std::move(layouts));
    for (std::size_t i = 0; i < columns.size(); ++i)
        titles_->resizeSection(static_cast<int>(i), columns[i].width);
    followDataSet();
}

void TDataGrid::setFlag(int column, std::function<bool(const ado::FieldValue& value)> flagged)
{
    model_->setFlag(column, std::move(flagged));
}

void TDataGrid::setShownText(const std::string& fieldName, std::function<QString(const ado::FieldValue&)> shown)
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].fieldName == fieldName)
            model_->setShownText(static_cast<int>(i), shown);
}

void TDataGrid::setTickedRows(std::function<bool(int viewRow)> ticked)
{
    indicator_->setTicked(std::move(ticked));
}

bool TDataGrid::rowTicked(int viewRow) const
{
    return indicator_->ticked(viewRow);
}

void TDataGrid::updateTicks()
{
    indicator_->viewport()->update();
}

const std::vector<TDataGrid::Column>& TDataGrid::columns() const
{
    return columns_;
}

void TDataGrid::setDataSet(ado::TCustomADODataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    marks_.clear();
    dataSet_ = dataSet;
    model_->setDataSet(dataSet);
}

std::vector<int> TDataGrid::visibleColumnOrder() const
{
    std::vector<int> order;
    for (int visual = 0; visual < titles_->count(); ++visual) {
        const int logical = titles_->logicalIndex(visual);
        if (logical >= 0 && !titles_->isSectionHidden(logical))
            order.push_back(logical);
    }
    return order;
}

int TDataGrid::columnFieldIndex(int column) const
{
    return model_->fieldIndex(column);
}

int TDataGrid::topRow() const
{
    return rowAt(0);
}

int TDataGrid::visibleRowCount() const
{
    const int top = rowAt(0);
    if (top < 0)
        return 0;
    const int bottom = rowAt(viewport()->height() - 1);
    return (bottom < 0 ? model_->rowCount() - 1 : bottom) - top + 1;
}

ado::TCustomADODataSet& TDataGrid::boundDataSet() const
{
    if (!dataSet_) {
        // Errors of a named component carry its name.
        const std::string name = toGbk(objectName());
        throw Exception((name.empty() ? name : name + ": ") + "Missing DataSource");
    }
    return *dataSet_;
}

std::string TDataGrid::titleCaption(int column) const
{
    return toGbk(columns_.at(static_cast<std::size_t>(column)).title);
}

std::string TDataGrid::cellText(int column) const
{
    const int field = columnFieldIndex(column);
    if (field < 0)
        return {};
    // The text the cell paints: the field as the recordset holds it, NULL as empty.
    return boundDataSet().fieldValue(field).value_or(std::string());
}

int TDataGrid::windowRecordCount() const
{
    return std::max(1, visibleRowCount());
}

int TDataGrid::currentWindowIndex() const
{
    const int top = topRow();
    return top < 0 ? 0 : boundDataSet().currentViewRow() - top;
}

bool TDataGrid::hasCurrentRow() const
{
    return dataSet_ && dataSet_->active() && !dataSet_->isEmpty();
}

void TDataGrid::markCurrentRow()
{
    if (!hasCurrentRow())
        return;
    marks_.insert(dataSet_->bookmark());
    // Only the current row's look changes (with no marks left it is the row highlighted).
    repaintRow(*this, dataSet_->currentViewRow());
    repaintRow(*this, indicator_->currentRow());
}

void TDataGrid::unmarkCurrentRow()
{
    if (!hasCurrentRow())
        return;
    marks_.erase(dataSet_->bookmark());
    // Only the current row's look changes (with no marks left it is the row highlighted).
    repaintRow(*this, dataSet_->currentViewRow());
    repaintRow(*this, indicator_->currentRow());
}

bool TDataGrid::isMarked(ado::TCustomADODataSet::Bookmark mark) const
{
    return marks_.contains(mark);
}

void TDataGrid::clearMarks()
{
    marks_.clear();
    viewport()->update();
}

bool TDataGrid::rowHighlighted(int viewRow) const
{
    if (marks_.empty())
        return viewRow == indicator_->currentRow();
    if (!dataSet_ || dataSet_->controlsDisabled())
        return false;
    try {
        return marks_.contains(dataSet_->bookmarkAt(viewRow));
    } catch (const std::exception&) {
        return false;
    }
}

void TDataGrid::selectAll()
{
    runGuarded([this] {
        if (!marks_.empty()) {
            clearMarks();
            return;
        }
        if (!hasCurrentRow())
            return;
        const int rows = dataSet_->recordCount();
        for (int row = 0; row < rows; ++row)
            marks_.insert(dataSet_->bookmarkAt(row));
        viewport()->update();
    });
}

void TDataGrid::followDataSet()
{
    const int previous = indicator_->currentRow();
    int row = -1;
    if (hasCurrentRow())
        row = dataSet_->currentViewRow();
    if (row >= model_->rowCount())
        row = -1;
    indicator_->setCurrentRow(row);
    following_ = true;
    if (row >= 0) {
        int column = currentIndex().isValid() ? currentIndex().column() : titles_->logicalIndex(0);
        if (column < 0)
            column = 0;
        const QModelIndex target = model_->index(row, column);
        if (target.isValid()) {
            setCurrentIndex(target);
            scrollTo(target);
        }
    } else if (selectionModel()) {
        selectionModel()->clearCurrentIndex();
    }
    following_ = false;
    // The rows that gain and lose the current row's look; a scroll or a new list repaints the rest.
    repaintRow(*this, previous);
    repaintRow(*this, row);
}

void TDataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // While a row leaves, the selection model moves its current index off it to a row of its
    // own choosing: neither scrolled to nor handed to the recordset, which picks the next row
    // itself and is followed once the row has gone.
    if (model_->rowLeaving()) {
        viewport()->update();
        return;
    }
    QTableView::currentChanged(current, previous);
    if (!following_ && current.isValid() && (!previous.isValid() || current.row() != previous.row()))
        moveDataSetTo(current.row());
    repaintRow(*this, previous.row());
    repaintRow(*this, current.row());
}

void TDataGrid::moveDataSetTo(int viewRow)
{
    if (!hasCurrentRow() || dataSet_->controlsDisabled())
        return;
    runGuarded([this, viewRow] {
        const int from = dataSet_->currentViewRow();
        if (from != viewRow)
            dataSet_->moveBy(viewRow - from);
    });
    // A refused move leaves the recordset where it was; the grid goes back to it.
    if (hasCurrentRow() && dataSet_->currentViewRow() != viewRow)
        followDataSet();
}

bool TDataGrid::goToRow(int viewRow)
{
    if (viewRow < 0 || viewRow >= model_->rowCount())
        return false;
    int column = currentIndex().isValid() ? currentIndex().column() : titles_->logicalIndex(0);
    if (column < 0)
        column = 0;
    setCurrentIndex(model_->index(viewRow, column));
    return hasCurrentRow() && dataSet_->currentViewRow() == viewRow;
}

bool TDataGrid::goToCell(const QModelIndex& cell)
{
    if (!cell.isValid())
        return false;
    setCurrentIndex(cell);
    return hasCurrentRow() && dataSet_->currentViewRow() == cell.row();
}

void TDataGrid::markRange(int fromRow, int toRow)
{
    runGuarded([&] {
        for (int row = std::min(fromRow, toRow); row <= std::max(fromRow, toRow); ++row)
            marks_.insert(dataSet_->bookmarkAt(row));
    });
    viewport()->update();
}

void TDataGrid::toggleRow(int viewRow)
{
    runGuarded([&] {
        const auto mark = dataSet_->bookmarkAt(viewRow);
        if (!marks_.erase(mark))
            marks_.insert(mark);
    });
    viewport()->update();
}

void TDataGrid::indicatorPressed(int viewRow, Qt::KeyboardModifiers modifiers)
{
    setFocus(Qt::MouseFocusReason);
    const int from = indicator_->currentRow();
    if (!goToRow(viewRow))
        return;
    if (modifiers & Qt::ShiftModifier) {
        markRange(from < 0 ? viewRow : from, viewRow);
    } else if (modifiers & Qt::ControlModifier) {
        toggleRow(viewRow);
    } else {
        marks_.clear();
        markCurrentRow();
    }
}

void TDataGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex cell = indexAt(mousePosition(event));
    if (event->button() != Qt::LeftButton || !cell.isValid()) {
        event->accept();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    pressedOnCell_ = true;
    // The list moves to the row at the press, before any mark changes.
    if (!goToCell(cell))
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        toggleRow(cell.row());
    } else {
        marks_.clear();
        markCurrentRow();
        dragRow_ = cell.row();
    }
}

void TDataGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (dragRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        event->accept();
        return;
    }
    const QPoint pos = mousePosition(event);
    int row = rowAt(pos.y());
    if (row < 0) {
        // Above or below the rows: one row further in that direction, so a drag can carry the list along.
        const int top = rowAt(0);
        const int bottom = rowAt(viewport()->height() - 1);
        if (pos.y() < 0)
            row = std::max(0, top - 1);
        else
            row = bottom >= 0 ? std::min(model_->rowCount() - 1, bottom + 1) : model_->rowCount() - 1;
    }
    if (row < 0 || row == dragRow_)
        return;
    const int from = dragRow_;
    if (goToRow(row)) {
        markRange(from, row);
        dragRow_ = row;
    }
}

void TDataGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked = pressedOnCell_ && event->button() == Qt::LeftButton;
    pressedOnCell_ = false;
    dragRow_ = -1;
    event->accept();
    if (clicked)
        emit cellClicked();
}

void TDataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TDataGrid::keyboardSearch(const QString&)
{
    // Typing letters in the grid does not search the list.
}

void TDataGrid::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->key() == Qt::Key_Delete && (modifiers & Qt::ControlModifier)) {
        event->accept();
        deleteRows();
        return;
    }
    if (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) || event->key() == Qt::Key_Insert) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        clearMarks();
        return;
    }

    CursorAction action;
    switch (event->key()) {
    case Qt::Key_Up:
        action = MoveUp;
        break;
    case Qt::Key_Down:
        action = MoveDown;
        break;
    case Qt::Key_Left:
        action = MoveLeft;
        break;
    case Qt::Key_Right:
        action = MoveRight;
        break;
    case Qt::Key_PageUp:
        action = MovePageUp;
        break;
    case Qt::Key_PageDown:
        action = MovePageDown;
        break;
    case Qt::Key_Home:
        action = MoveHome;
        break;
    case Qt::Key_End:
        action = MoveEnd;
        break;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
    const int from = indicator_->currentRow();
    const QModelIndex target = moveCursor(action, modifiers & ~Qt::ShiftModifier);
    if (target.isValid() && target != currentIndex() && !goToCell(target))
        return;
    if (!(modifiers & Qt::ShiftModifier)) {
        clearMarks();
    } else if (from >= 0 && indicator_->currentRow() >= 0) {
        markRange(from, indicator_->currentRow());
    }
}

void TDataGrid::deleteRows()
{
    if (!hasCurrentRow())
        return;
    std::vector<ado::TCustomADODataSet::Bookmark> marked;
    runGuarded([&] {
        // Marks on rows the filter hides are kept but neither counted nor deleted.
        if (marks_.empty())
            return;
        const int rows = dataSet_->recordCount();
        for (int row = 0; row < rows; ++row) {
            const auto mark = dataSet_->bookmarkAt(row);
            if (marks_.contains(mark))
                marked.push_back(mark);
        }
    });
    const bool several = marked.size() >= 2;
    const QString question =
        several ? QStringLiteral("Delete all selected records?") : QStringLiteral("Delete record?");
    if (!Replaceable<Dialogs>::inForce().confirm(this, QGuiApplication::applicationDisplayName(), question))
        return;
    runGuarded([&] {
        if (!several) {
            const auto mark = dataSet_->bookmark();
            dataSet_->deleteRecord();
            marks_.erase(mark);
            return;
        }
        // In one pass: every mark of the national list deleted one by one would take minutes.
        dataSet_->deleteRecords(marked);
        for (const auto mark : marked)
            marks_.erase(mark);
    });
    viewport()->update();
}

void TDataGrid::dataSetReset()
{
    // A closed recordset's bookmarks mean nothing to the next rows it opens with.
    if (!dataSet_ || !dataSet_->active())
        marks_.clear();
}

void TDataGrid::fitRowHeight()
{
    indicator_->setDefaultSectionSize(fontMetrics().height() + 5);
}

void TDataGrid::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    // The window sets its font after creating the grid; the rows follow it.
    if (event->type() == QEvent::FontChange)
        fitRowHeight();
}

void TDataGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TDataGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

} // namespace skorvin::ui
