// TCustomADODataSet: the client recordset (snapshot, current row, filter, sort, clones, local edits).
#include "platform/recordset/TCustomADODataSet.hpp"

#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/FilterExpression.hpp"
#include "platform/recordset/RecordView.hpp"
#include "platform/recordset/Snapshot.hpp"

#include <algorithm>
#include <numeric>

namespace skorvin::ado {

namespace {

const char* const kClosed = "Cannot perform this operation on a closed dataset";
const char* const kNoCurrentRecord =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current record";
const char* const kReadOnly = "Cannot modify a read-only dataset";

} // namespace

TCustomADODataSet::TCustomADODataSet(std::string name) : name_(std::move(name)) {}

TCustomADODataSet::~TCustomADODataSet() = default;

void TCustomADODataSet::fail(const std::string& message) const
{
    throw EDatabaseError(name_.empty() ? message : name_ + ": " + message);
}

void TCustomADODataSet::checkActive() const
{
    if (!snapshot_)
        fail(kClosed);
}

void TCustomADODataSet::checkWritable() const
{
    checkActive();
    if (readOnly_)
        fail(kReadOnly);
}

TCustomADODataSet::Row TCustomADODataSet::currentRow() const
{
    checkActive();
    if (current_ < 0 || snapshot_->deleted(view_[static_cast<std::size_t>(current_)]))
        fail(kNoCurrentRecord);
    return view_[static_cast<std::size_t>(current_)];
}

void TCustomADODataSet::setCommandText(std::string sql)
{
    commandText_ = std::move(sql);
}

void TCustomADODataSet::setParameter(std::size_t index, FieldValue value)
{
    if (parameters_.size() <= index)
        parameters_.resize(index + 1);
    parameters_[index] = std::move(value);
}

void TCustomADODataSet::open()
{
    if (snapshot_)
        return;
    if (!connection_)
        fail("Missing Connection or ConnectionString");
    if (commandText_.empty())
        fail("CommandText does not return a result set");
    auto snapshot = std::make_shared<Snapshot>();
    connection_->query(commandText_, parameters_, *snapshot);
    snapshot->finish();
    snapshot_ = std::move(snapshot);
    // Bound whenever the set opens, so that filtering switched on later tests the right fields.
    if (parsedFilter_) {
        try {
            bindFilter(*parsedFilter_);
        } catch (...) {
            snapshot_.reset();
            throw;
        }
    }
    state_ = State::Browse;
    rebuildView();
    current_ = view_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.empty();
    notifyChanged();
    if (!view_.empty() && afterScroll)
        afterScroll();
}

void TCustomADODataSet::close()
{
    if (!snapshot_)
        return;
    snapshot_.reset();
    view_.clear();
    editBuffer_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    state_ = State::Inactive;
    notifyChanged();
}

bool TCustomADODataSet::active() const
{
    return snapshot_ != nullptr;
}

TCustomADODataSet::State TCustomADODataSet::state() const
{
    return state_;
}

bool TCustomADODataSet::filterInForce() const
{
    return filtered_ && parsedFilter_ != nullptr;
}

void TCustomADODataSet::bindFilter(FilterExpression& filter) const
{
    try {
        filter.bind(snapshot_->fieldNames());
    } catch (const EDatabaseError& e) {
        fail(e.message());
    }
}

void TCustomADODataSet::rebuildView()
{
    view_.rebuild(*snapshot_, filterInForce() ? parsedFilter_.get() : nullptr);
}

void TCustomADODataSet::postPending()
{
    if (state_ == State::Edit)
        post();
}

void TCustomADODataSet::moved()
{
    if (disableCount_ == 0)
        for (auto* o : observers_)
            o->scrolled();
    if (afterScroll)
        afterScroll();
}

void TCustomADODataSet::notifyChanged()
{
    if (disableCount_ == 0)
        for (auto* o : observers_)
            o->dataSetChanged();
}

void TCustomADODataSet::notifyLeaving(int viewRow)
{
    if (disableCount_ == 0)
        for (auto* o : observers_)
            o->recordLeaving(viewRow);
}

void TCustomADODataSet::notifyLeft()
{
    if (disableCount_ == 0)
        for (auto* o : observers_)
            o->recordLeft();
}

void TCustomADODataSet::notifyRecord(int viewRow)
{
    if (disableCount_ == 0)
        for (auto* o : observers_)
            o->recordChanged(viewRow);
}

void TCustomADODataSet::first()
{
    checkActive();
    postPending();
    current_ = view_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.empty();
    moved();
}

void TCustomADODataSet::last()
{
    checkActive();
    postPending();
    current_ = static_cast<int>(view_.size()) - 1;
    eof_ = true;
    bof_ = view_.empty();
    moved();
}

void TCustomADODataSet::next()
{
    moveBy(1);
}

void TCustomADODataSet::prior()
{
    moveBy(-1);
}

void TCustomADODataSet::moveBy(int distance)
{
    checkActive();
    postPending();
    // A move towards an end already reached does nothing, not even the scroll event.
    if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_))
        return;
    const auto size = static_cast<std::int64_t>(view_.size());
    const std::int64_t target = std::int64_t{current_} + distance;
    if (distance > 0) {
        bof_ = false;
        current_ = static_cast<int>(std::min(target, size - 1));
        eof_ = target > size - 1;
    } else {
        eof_ = false;
        current_ = static_cast<int>(std::max(target, std::int64_t{0}));
        bof_ = target < 0;
    }
    moved();
}

bool TCustomADODataSet::bof() const
{
    return bof_;
}

bool TCustomADODataSet::eof() const
{
    return eof_;
}

bool TCustomADODataSet::isEmpty() const
{
    return view_.empty();
}

int TCustomADODataSet::recNo() const
{
    checkActive();
    return current_ < 0 ? -1 : current_ + 1;
}

int TCustomADODataSet::recordCount() const
{
    checkActive();
    return static_cast<int>(view_.size());
}

const std::vector<std::string>& TCustomADODataSet::fieldNames() const
{
    static const std::vector<std::string> none;
    return snapshot_ ? snapshot_->fieldNames() : none;
}

int TCustomADODataSet::fieldIndex(const std::string& name) const
{
    const auto& names = fieldNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (text::equalsNoCase(names[i], name))
            return static_cast<int>(i);
    return -1;
}

FieldValue TCustomADODataSet::fieldValue(int field) const
{
    const Row row = currentRow();
    if (field < 0 || field >= snapshot_->fieldCount())
        fail("Field index " + std::to_string(field) + " out of range");
    if (state_ == State::Edit)
        return editBuffer_[static_cast<std::size_t>(field)];
    const auto v = snapshot_->value(row, field);
    return v ? FieldValue(std::string(*v)) : FieldValue();
}

FieldValue TCustomADODataSet::fieldValue(const std::string& name) const
{
    checkActive();
    const int field = fieldIndex(name);
    if (field < 0)
        fail("Field '" + name + "' not found");
    return fieldValue(field);
}

std::string TCustomADODataSet::fieldText(const std::string& name) const
{
    return fieldValue(name).value_or("");
}

bool TCustomADODataSet::fieldTextExact(const std::string& name) const
{
    const FieldValue value = fieldValue(name);
    const int field = fieldIndex(name);
    const Row row = currentRow();
    if (state_ == State::Edit && value != FieldValue(snapshot_->value(row, field)))
        return true;
    return snapshot_->exact(row, field);
}

FieldValue TCustomADODataSet::viewValue(int viewRow, int field) const
{
    checkActive();
    if (viewRow < 0 || viewRow >= static_cast<int>(view_.size()))
        fail("Row " + std::to_string(viewRow) + " out of range");
    if (field < 0 || field >= snapshot_->fieldCount())
        fail("Field index " + std::to_string(field) + " out of range");
    if (state_ == State::Edit && viewRow == current_)
        return editBuffer_[static_cast<std::size_t>(field)];
    const Row row = view_[static_cast<std::size_t>(viewRow)];
    if (snapshot_->deleted(row))
        fail(kNoCurrentRecord);
    const auto v = snapshot_->value(row, field);
    return v ? FieldValue(std::string(*v)) : FieldValue();
}

int TCustomADODataSet::currentViewRow() const
{
    return current_;
}

TCustomADODataSet::Bookmark TCustomADODataSet::bookmarkAt(int viewRow) const
{
    checkActive();
    if (viewRow < 0 || viewRow >= static_cast<int>(view_.size()))
        fail("Row " + std::to_string(viewRow) + " out of range");
    return view_[static_cast<std::size_t>(viewRow)];
}

void TCustomADODataSet::setFilter(std::string criteria)
{
    std::unique_ptr<FilterExpression> parsed;
    try {
        parsed = std::make_unique<FilterExpression>(criteria);
    } catch (const EDatabaseError& e) {
        fail(e.message());
    }
    if (parsed->empty())
        parsed.reset();
    if (snapshot_ && parsed)
        bindFilter(*parsed);
    const bool changed = criteria != filterText_;
    filterText_ = std::move(criteria);
    parsedFilter_ = std::move(parsed);
    if (snapshot_ && filtered_)
        refilter();
    else if (snapshot_ && changed)
        first(); // the view is unchanged, but a new filter text still ends a pending edit and rewinds
}

void TCustomADODataSet::setFiltered(bool on)
{
    if (on == filtered_)
        return;
    filtered_ = on;
    if (snapshot_)
        refilter();
}

void TCustomADODataSet::refilter()
{
    postPending();
    rebuildView();
    notifyChanged();
    first();
}

TCustomADODataSet::Bookmark TCustomADODataSet::bookmark() const
{
    return currentRow();
}

void TCustomADODataSet::positionOn(int viewRow)
{
    current_ = viewRow;
    bof_ = eof_ = false;
    moved();
}

void TCustomADODataSet::gotoBookmark(Bookmark mark)
{
    checkActive();
    if (mark >= snapshot_->rowCount())
        fail("Bookmark not found");
    if (snapshot_->deleted(mark))
        fail("The record has been deleted");
    postPending();
    const int position = view_.positionOf(mark);
    if (position < 0)
        fail("The record is hidden by the filter");
    positionOn(position);
}

std::unique_ptr<TCustomADODataSet> TCustomADODataSet::cloneReadOnly() const
{
    checkActive();
    auto clone = std::make_unique<TCustomADODataSet>(name_);
    clone->connection_ = connection_;
    clone->commandText_ = commandText_;
    clone->parameters_ = parameters_;
    clone->snapshot_ = snapshot_;
    clone->readOnly_ = true;
    clone->state_ = State::Browse;
    clone->rebuildView();
    clone->current_ = clone->view_.empty() ? -1 : 0;
    clone->bof_ = true;
    clone->eof_ = clone->view_.empty();
    return clone;
}

void TCustomADODataSet::setSort(const std::string& sort)
{
    checkActive();
    SortOrder order;
    try {
        order = parseSortText(sort, [this](const std::string& name) { return fieldIndex(name); });
    } catch (const EDatabaseError& e) {
        fail(e.message());
    }
    postPending();
    const int keep = current_ >= 0 ? static_cast<int>(view_[static_cast<std::size_t>(current_)]) : -1;
    view_.setSort(order.field, order.descending);
    rebuildView();
    const int position = keep >= 0 ? view_.positionOf(static_cast<Row>(keep)) : -1;
    current_ = position >= 0 ? position : (view_.empty() ? -1 : 0);
    notifyChanged();
}

std::optional<TCustomADODataSet::Bookmark> TCustomADODataSet::seekEqual(const std::string& field,
                                                                        const std::string& value) const
{
    checkActive();
    const int index = fieldIndex(field);
    if (index < 0)
        fail("Field '" + field + "' not found");
    return snapshot_->firstEqual(index, value);
}

bool TCustomADODataSet::findEqual(const std::string& field, const std::string& value)
{
    checkActive();
    const int index = fieldIndex(field);
    if (index < 0)
        fail("Field '" + field + "' not found");
    postPending();
    const int position = view_.findEqual(*snapshot_, index, value);
    if (position < 0)
        return false;
    positionOn(position);
    return true;
}

void TCustomADODataSet::edit()
{
    checkWritable();
    if (state_ == State::Edit)
        return;
    const Row row = currentRow();
    editBuffer_.clear();
    for (int f = 0; f < snapshot_->fieldCount(); ++f) {
        const auto v = snapshot_->value(row, f);
        editBuffer_.push_back(v ? FieldValue(std::string(*v)) : FieldValue());
    }
    state_ = State::Edit;
}

void TCustomADODataSet::setFieldValue(int field, FieldValue value)
{
    checkWritable();
    if (state_ != State::Edit)
        fail("Dataset not in edit or insert mode");
    if (field < 0 || field >= snapshot_->fieldCount())
        fail("Field index " + std::to_string(field) + " out of range");
    editBuffer_[static_cast<std::size_t>(field)] = std::move(value);
    notifyRecord(current_);
}

void TCustomADODataSet::setFieldValue(const std::string& name, FieldValue value)
{
    checkWritable();
    const int field = fieldIndex(name);
    if (field < 0)
        fail("Field '" + name + "' not found");
    setFieldValue(field, std::move(value));
}

void TCustomADODataSet::post()
{
    checkActive();
    if (state_ != State::Edit)
        return;
    const Row row = currentRow();
    snapshot_->replace(row, editBuffer_);
    editBuffer_.clear();
    state_ = State::Browse;
    if (filterInForce()) {
        std::vector<Snapshot::Value> fields(static_cast<std::size_t>(snapshot_->fieldCount()));
        snapshot_->read(row, fields.data());
        if (!parsedFilter_->matches(fields.data())) {
            dropCurrentFromView();
            return;
        }
    }
    notifyRecord(current_);
}

void TCustomADODataSet::cancel()
{
    if (state_ != State::Edit)
        return;
    editBuffer_.clear();
    state_ = State::Browse;
    notifyRecord(current_);
}

void TCustomADODataSet::deleteRecord()
{
    checkWritable();
    if (view_.empty())
        fail("Cannot perform this operation on an empty dataset");
    if (state_ == State::Edit) {
        editBuffer_.clear();
        state_ = State::Browse;
    }
    snapshot_->markDeleted(currentRow());
    dropCurrentFromView();
}

void TCustomADODataSet::deleteRecords(const std::vector<Bookmark>& marks)
{
    checkWritable();
    if (marks.empty())
        return;
    // As the first move of deleting them in turn would.
    postPending();
    std::vector<bool> doomed(snapshot_->rowCount(), false);
    std::size_t distinct = 0;
    for (const Bookmark mark : marks) {
        if (mark >= snapshot_->rowCount())
            fail("Bookmark not found");
        if (snapshot_->deleted(mark))
            fail("The record has been deleted");
        if (!doomed[mark]) {
            doomed[mark] = true;
            ++distinct;
        }
    }
    if (view_.countMarked(doomed) != distinct)
        fail("The record is hidden by the filter");
    currentAfterRemoval(view_.removeMarked(doomed, *snapshot_));
    notifyChanged();
    if (afterScroll)
        afterScroll();
}

void TCustomADODataSet::dropCurrentFromView()
{
    // One row goes: the controls hear of that row alone, not of a new view to read again.
    const auto position = static_cast<std::size_t>(current_);
    notifyLeaving(current_);
    view_.erase(position);
    currentAfterRemoval(position);
    notifyLeft();
    if (afterScroll)
        afterScroll();
}

void TCustomADODataSet::currentAfterRemoval(std::size_t position)
{
    if (view_.empty()) {
        current_ = -1;
        bof_ = eof_ = true;
    } else {
        current_ = static_cast<int>(std::min(position, view_.size() - 1));
        bof_ = eof_ = false;
    }
}

void TCustomADODataSet::disableControls()
{
    ++disableCount_;
}

void TCustomADODataSet::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0)
        notifyChanged();
}

void TCustomADODataSet::addObserver(DataSetObserver* observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TCustomADODataSet::removeObserver(DataSetObserver* observer)
{
    std::erase(observers_, observer);
}

long TADOQuery::execSql()
{
    if (!connection())
        throw EDatabaseError(name().empty() ? "Missing Connection or ConnectionString"
                                            : name() + ": Missing Connection or ConnectionString");
    return connection()->execute(commandText(), parameters());
}

} // namespace skorvin::ado
