#pragma once

#include "platform/recordset/DataSetObserver.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace skorvin::ui {

// The grid's table model: a thin adapter that reads the recordset's visible view
// cell by cell when the view paints, and turns the recordset's notices into
// model signals. No object is made per row.
class DataGridModel final : public QAbstractTableModel, private ado::DataSetObserver {
    Q_OBJECT
public:
    struct ColumnLayout {
        std::string fieldName;
        QString title;
        QColor background;
    };

    explicit DataGridModel(QObject* parent = nullptr);
    ~DataGridModel() override;

    // Drops the flags of setFlag.
    void setColumns(std::vector<ColumnLayout> columns);
    // A value of the column that flagged returns true for has a red foreground.
    void setFlag(int column, std::function<bool(const ado::FieldValue& value)> flagged);
    // The recordset shown (not owned); nullptr detaches.
    void setDataSet(ado::TCustomADODataSet* dataSet);
    ado::TCustomADODataSet* dataSet() const { return dataSet_; }
    // What a column shows of each value in place of its text; an empty function shows the text.
    using ShownText = std::function<QString(const ado::FieldValue&)>;
    void setShownText(int column, ShownText shown);
    // The recordset's field index behind a column, -1 when the recordset has no such field.
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // True while a row leaves: the selection model moves its current index off it meanwhile,
    // but the recordset chooses its next row itself and the grid follows that one afterwards.
    bool rowLeaving() const { return leaving_; }

signals:
    // The recordset's current row moved (or the rows were re-read); the grid follows it.
    void currentRowMoved();

private:
    void dataSetChanged() override;
    void recordLeaving(int viewRow) override;
    void recordLeft() override;
    void recordChanged(int viewRow) override;
    void scrolled() override;
    // The recordset's value behind a cell; nullopt when there is none to show.
    std::optional<ado::FieldValue> cellValue(const QModelIndex& index) const;
    // Takes the row count and field indexes from the recordset as it is now.
    void readShape();
    // The recordset shows as many rows as the view was last told of.
    bool rowsAsTold() const;

    ado::TCustomADODataSet* dataSet_ = nullptr;
    std::vector<ColumnLayout> columns_;
    std::vector<int> fields_;
    std::vector<std::function<bool(const ado::FieldValue& value)>> flags_; // by column
    std::map<int, ShownText> shown_;                                       // by column
    // The row count the view was last told about; it changes with a reset or a row that leaves.
    int rows_ = 0;
    bool leaving_ = false;
};

} // namespace skorvin::ui
