#include "ui/grid/DataGridModel.hpp"

#include "ui/common/GbkText.hpp"

namespace skorvin::ui {

DataGridModel::DataGridModel(QObject* parent) : QAbstractTableModel(parent) {}

DataGridModel::~DataGridModel()
{
    if (dataSet_)
        dataSet_->removeObserver(this);
}

void DataGridModel::setColumns(std::vector<ColumnLayout> columns)
{
    beginResetModel();
    columns_ = std::move(columns);
    flags_.assign(columns_.size(), {});
    readShape();
    endResetModel();
}

void DataGridModel::setFlag(int column, std::function<bool(const ado::FieldValue& value)> flagged)
{
    flags_.at(static_cast<std::size_t>(column)) = std::move(flagged);
    if (rows_ > 0)
        emit dataChanged(index(0, column), index(rows_ - 1, column), {Qt::ForegroundRole});
}

void DataGridModel::setDataSet(ado::TCustomADODataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    beginResetModel();
    if (dataSet_)
        dataSet_->removeObserver(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->addObserver(this);
    readShape();
    endResetModel();
    emit currentRowMoved();
}

void DataGridModel::setShownText(int column, ShownText shown)
{
    if (shown)
        shown_[column] = std::move(shown);
    else
        shown_.erase(column);
    if (rows_ > 0)
        emit dataChanged(index(0, column), index(rows_ - 1, column), {Qt::DisplayRole});
}

int DataGridModel::fieldIndex(int column) const
{
    if (column < 0 || static_cast<std::size_t>(column) >= fields_.size())
        return -1;
    return fields_[static_cast<std::size_t>(column)];
}

int DataGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int DataGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= columnCount())
        return {};
    const auto column = static_cast<std::size_t>(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const std::optional<ado::FieldValue> value = cellValue(index);
        if (!value)
            return {};
        if (const auto shown = shown_.find(index.column()); shown != shown_.end())
            return shown->second(*value);
        return *value ? toQString(**value) : QString();
    }
    case Qt::ForegroundRole: {
        if (!flags_[column])
            return {};
        const std::optional<ado::FieldValue> value = cellValue(index);
        return value && flags_[column](*value) ? QVariant(QColor(Qt::red)) : QVariant();
    }
    case Qt::BackgroundRole:
        if (columns_[column].background.isValid())
            return columns_[column].background;
        return {};
    default:
        return {};
    }
}

std::optional<ado::FieldValue> DataGridModel::cellValue(const QModelIndex& index) const
{
    const auto column = static_cast<std::size_t>(index.column());
    // While the recordset's controls are detached its rows may be on the move; show nothing from it.
    if (!dataSet_ || dataSet_->controlsDisabled() || fields_[column] < 0)
        return std::nullopt;
    try {
        if (!dataSet_->active() || index.row() >= dataSet_->recordCount())
            return std::nullopt;
        return dataSet_->viewValue(index.row(), fields_[column]);
    } catch (const std::exception&) {
        // A paint must never throw; a row that cannot be read shows empty.
        return std::nullopt;
    }
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[static_cast<std::size_t>(section)].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void DataGridModel::dataSetChanged()
{
    beginResetModel();
    readShape();
    endResetModel();
    emit currentRowMoved();
}

bool DataGridModel::rowsAsTold() const
{
    try {
        return dataSet_ && dataSet_->active() && dataSet_->recordCount() == rows_;
    } catch (const std::exception&) {
        return false;
    }
}

void DataGridModel::recordLeaving(int viewRow)
{
    // A row the view was never told of: recordLeft() reads everything again.
    if (!rowsAsTold() || viewRow < 0 || viewRow >= rows_)
        return;
    leaving_ = true;
    beginRemoveRows({}, viewRow, viewRow);
}

void DataGridModel::recordLeft()
{
    if (!leaving_) {
        dataSetChanged();
        return;
    }
    --rows_;
    endRemoveRows();
    leaving_ = false;
    emit currentRowMoved();
}

void DataGridModel::recordChanged(int viewRow)
{
    if (!rowsAsTold()) {
        dataSetChanged();
        return;
    }
    if (viewRow >= 0 && viewRow < rows_ && !columns_.empty())
        emit dataChanged(index(viewRow, 0), index(viewRow, columnCount() - 1));
}

void DataGridModel::scrolled()
{
    emit currentRowMoved();
}

void DataGridModel::readShape()
{
    rows_ = 0;
    fields_.assign(columns_.size(), -1);
    if (!dataSet_)
        return;
    try {
        if (!dataSet_->active())
            return;
        rows_ = dataSet_->recordCount();
        for (std::size_t i = 0; i < columns_.size(); ++i)
            fields_[i] = dataSet_->fieldIndex(columns_[i].fieldName);
    } catch (const std::exception&) {
        rows_ = 0;
    }
}

} // namespace skorvin::ui
