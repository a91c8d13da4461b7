#pragma once

#include "platform/ado/DataSetObserver.hpp"
#include "platform/ado/FieldValue.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace skorvin::ado {

class TADOConnection;
class Snapshot;
class FilterExpression;

// A client-side recordset: the rows of a statement held in memory as a snapshot,
// with a current row and a visible view (the rows its filter admits, in order).
// Edits, posts and deletes change the snapshot only; nothing is written back.
//
// Position follows the dataset-wrapper rules: bof()/eof() are true after a move
// that could go no further, but the row stays current; both are true only for an
// empty view. recNo() is 1-based in the view, -1 for an open view with no row;
// recordCount() is the view's row count. Operations on a closed dataset fail with
// "<name>: Cannot perform this operation on a closed dataset" (no prefix without a name).
class TCustomADODataSet {
public:
    using Bookmark = std::uint32_t;
    enum class State { Inactive, Browse, Edit };

    explicit TCustomADODataSet(std::string name = {});
    virtual ~TCustomADODataSet();
    TCustomADODataSet(const TCustomADODataSet&) = delete;
    TCustomADODataSet& operator=(const TCustomADODataSet&) = delete;

    const std::string& name() const { return name_; }

    void setConnection(TADOConnection* connection) { connection_ = connection; }
    TADOConnection* connection() const { return connection_; }

    // Statement text; named parameters (":dm") become positional placeholders when it runs.
    void setCommandText(std::string sql);
    const std::string& commandText() const { return commandText_; }
    // Value of the index-th parameter (0-based, in order of appearance), bound as text.
    void setParameter(std::size_t index, FieldValue value);

    void open();
    void close();
    bool active() const;
    State state() const;

    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;
    int recNo() const;
    int recordCount() const;

    const std::vector<std::string>& fieldNames() const;
    // Index of a field, without regard to letter case; -1 when there is none.
    int fieldIndex(const std::string& name) const;
    // Value of a field of the current row; fails without a current row or with an unknown field.
    FieldValue fieldValue(int field) const;
    FieldValue fieldValue(const std::string& name) const;
    // The same as text: NULL gives the empty text.
    std::string fieldText(const std::string& name) const;

    // Random access to the visible view, for controls that draw rows without moving the current row.
    FieldValue viewValue(int viewRow, int field) const;
    // 0-based index of the current row in the view, -1 without one.
    int currentViewRow() const;

    // ADO filter criteria (comparisons, LIKE, AND/OR, NULL, quoted text, numbers).
    // A text that cannot be read fails with a message naming it; the filter in force stays.
    void setFilter(std::string criteria);
    const std::string& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    Bookmark bookmark() const;
    // Fails when the row is deleted or hidden by the filter; the position then stays.
    void gotoBookmark(Bookmark mark);

    // A read-only copy over the same snapshot, with no filter, positioned on its first row.
    std::unique_ptr<TCustomADODataSet> cloneReadOnly() const;
    // Sort order of the view: one field name, optionally followed by ASC or DESC; "" restores the order read.
    void setSort(const std::string& sort);
    // Equality search on the sorted field; on a hit the row becomes current and true is returned.
    // Uses an index built once per snapshot.
    bool findEqual(const std::string& field, const std::string& value);

    void edit();
    void setFieldValue(int field, FieldValue value);
    void setFieldValue(const std::string& name, FieldValue value);
    void post();
    void cancel();
    // Removes the current row from the snapshot (never from the database).
    void deleteRecord();

    // Attached controls stop following the dataset; nestable.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);

    // Runs after every move of the current row, and after opening a non-empty dataset.
    std::function<void()> afterScroll;

private:
    // Implementation state is the helper's to design; kept behind the snapshot.
    std::string name_;
    TADOConnection* connection_ = nullptr;
    std::string commandText_;
    std::vector<FieldValue> parameters_;
    std::string filterText_;
    bool filtered_ = false;
    int disableCount_ = 0;
    std::vector<DataSetObserver*> observers_;
};

// The list dataset of a window (a recordset opened with command text).
class TADODataSet : public TCustomADODataSet {
public:
    using TCustomADODataSet::TCustomADODataSet;
};

// A query: statement text that is opened for rows or executed for its effect.
class TADOQuery : public TCustomADODataSet {
public:
    using TCustomADODataSet::TCustomADODataSet;
    void clearSql() { setCommandText({}); }
    void setSql(std::string sql) { setCommandText(std::move(sql)); }
    // Executes the statement; returns the rows affected.
    long execSql();
};

} // namespace skorvin::ado
