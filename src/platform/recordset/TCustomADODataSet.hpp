// TCustomADODataSet: the client recordset (snapshot, current row, filter, sort, clones, local edits).
#pragma once

#include "platform/connection/FieldValue.hpp"
#include "platform/recordset/DataSetObserver.hpp"
#include "platform/recordset/RecordView.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace skorvin::ado {

class TADOConnection;
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

    // Runs the statement and holds its rows; the filter text held is bound to the new fields
    // (also while filtering is off), the filter in force is applied and the first row becomes current. Opening an open
    // dataset does nothing. Database errors come as the provider gives them.
    void open();
    // Drops the rows and any pending edit.
    void close();
    bool active() const;
    State state() const;

    void first();
    void last();
    void next();
    void prior();
    void moveBy(int distance);
    // A closed dataset is at both ends and empty; these three never fail.
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
    // False when the current row's text of that field is not exactly what the database holds:
    // the backend met a character GBK lacks, or bytes that are not UTF-8, and put "?" in
    // their place. Such a text must not be used to find the row in the database again.
    // A NULL, and a text the program set by a post, is exact. Fails as fieldValue() does.
    bool fieldTextExact(const std::string& name) const;

    // Random access to the visible view, for controls that draw rows without moving the current row.
    FieldValue viewValue(int viewRow, int field) const;
    // 0-based index of the current row in the view, -1 without one (or closed).
    int currentViewRow() const;
    // The bookmark of a row of the view (the grid marks rows by it).
    Bookmark bookmarkAt(int viewRow) const;

    // ADO filter criteria (comparisons, LIKE, AND/OR, NULL, quoted text, numbers; see FilterExpression).
    // A text that cannot be read fails with a message naming it; the filter in force stays.
    // On an open dataset a change of either posts a pending edit, re-filters the snapshot (the
    // statement is not run again) and makes the first row current.
    void setFilter(std::string criteria);
    const std::string& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    Bookmark bookmark() const;
    // Fails when the row is deleted or hidden by the filter; the position then stays.
    void gotoBookmark(Bookmark mark);

    // A read-only copy over the same snapshot, with no filter, positioned on its first row.
    // Posts and deletes made through either are seen by both; each keeps its own view.
    std::unique_ptr<TCustomADODataSet> cloneReadOnly() const;
    // Sort order of the view: one field name, optionally followed by ASC or DESC; "" restores the order read.
    // The current row stays current. A view keeps its order until it is sorted again.
    void setSort(const std::string& sort);
    // Equality search (exact bytes; NULL never equal) over the view; on a hit the first such row
    // becomes current and true is returned, on a miss the position stays. On the sorted field it is a
    // binary search over an index built once per snapshot; on another field a scan.
    bool findEqual(const std::string& field, const std::string& value);
    // What a read-only clone sorted on field would find, without making one: the bookmark of the
    // first row in ascending order of field that holds exactly value (NULL never equal), among
    // every row whatever the filter hides; nullopt when none. A binary search over the field's
    // index, which is built once per snapshot and shared by every clone.
    std::optional<Bookmark> seekEqual(const std::string& field, const std::string& value) const;

    // Editing works on the snapshot only. Any move posts a pending edit first. A posted row that
    // the filter no longer admits leaves the view: the next row becomes current, or the previous
    // one when it was the last.
    void edit();
    void setFieldValue(int field, FieldValue value);
    void setFieldValue(const std::string& name, FieldValue value);
    void post();
    void cancel();
    // Removes the current row from the snapshot (never from the database).
    void deleteRecord();
    // Removes the rows of these bookmarks from the snapshot in one pass, as deleting each
    // in turn would (the row after the last of them becomes current), without the cost of
    // one view update per row. A deleted, hidden or unknown bookmark fails and removes none.
    void deleteRecords(const std::vector<Bookmark>& marks);

    // Attached controls stop following the dataset; nestable.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    void addObserver(DataSetObserver* observer);
    void removeObserver(DataSetObserver* observer);

    // Runs after every move of the current row, and after opening a non-empty dataset.
    std::function<void()> afterScroll;

protected:
    const std::vector<FieldValue>& parameters() const { return parameters_; }

private:
    using Row = std::uint32_t;

    [[noreturn]] void fail(const std::string& message) const;
    void checkActive() const;
    void checkWritable() const;
    Row currentRow() const;
    // Rows of the snapshot in sort order that are not deleted and pass the filter in force.
    void rebuildView();
    bool filterInForce() const;
    // Binds the parsed filter text to the open snapshot's fields; throws with this dataset's name.
    void bindFilter(FilterExpression& filter) const;
    // Re-filters after a change of the filter text or switch: pending edit posted, first row current.
    void refilter();
    void postPending();
    void positionOn(int viewRow);
    // The current row left the view (posted out of the filter, or deleted).
    void dropCurrentFromView();
    // Rows left the view: the row now at position becomes current (the last row when
    // position is past the end, none when the view is empty).
    void currentAfterRemoval(std::size_t position);
    void moved();
    void notifyChanged();
    void notifyLeaving(int viewRow);
    void notifyLeft();
    void notifyRecord(int viewRow);

    std::string name_;
    TADOConnection* connection_ = nullptr;
    std::string commandText_;
    std::vector<FieldValue> parameters_;
    std::string filterText_;
    std::unique_ptr<FilterExpression> parsedFilter_; // filterText_ read; null while it is blank
    bool filtered_ = false;
    int disableCount_ = 0;
    std::vector<DataSetObserver*> observers_;

    std::shared_ptr<Snapshot> snapshot_; // null while closed
    RecordView view_;                    // rows of the snapshot visible, in order
    int current_ = -1;                   // index into view_, -1 without a row
    bool bof_ = true;
    bool eof_ = true;
    State state_ = State::Inactive;
    std::vector<FieldValue> editBuffer_;
    bool readOnly_ = false;
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
