#include "ui/DataGridBookmarks.hpp"

#include "platform/Exception.hpp"

namespace skorvin::ui {

DataGridBookmarks::~DataGridBookmarks() = default;

void DataGridBookmarks::setDataSet(ado::TCustomADODataSet* dataSet)
{
    dataSet_ = dataSet;
    copy_.reset();
}

ado::TCustomADODataSet& DataGridBookmarks::copy()
{
    if (!copy_) {
        auto made = dataSet_->cloneReadOnly();
        if (dataSet_->filtered()) {
            made->setFilter(dataSet_->filter());
            made->setFiltered(true);
        }
        // The copy must walk the same rows as the view; a sorted view would not match.
        if (made->recordCount() != dataSet_->recordCount())
            throw Exception("The rows of the grid cannot be told apart");
        copy_ = std::move(made);
    }
    return *copy_;
}

DataGridBookmarks::Bookmark DataGridBookmarks::at(int viewRow)
{
    if (!dataSet_ || !dataSet_->active() || viewRow < 0 || viewRow >= dataSet_->recordCount())
        throw Exception("No such row in the grid");
    if (viewRow == dataSet_->currentViewRow())
        return dataSet_->bookmark();
    ado::TCustomADODataSet& rows = copy();
    rows.moveBy(viewRow - rows.currentViewRow());
    return rows.bookmark();
}

std::vector<DataGridBookmarks::Bookmark> DataGridBookmarks::all()
{
    std::vector<Bookmark> marks;
    if (!dataSet_ || !dataSet_->active() || dataSet_->isEmpty())
        return marks;
    ado::TCustomADODataSet& rows = copy();
    const int count = rows.recordCount();
    marks.reserve(static_cast<std::size_t>(count));
    rows.first();
    for (int i = 0; i < count; ++i) {
        marks.push_back(rows.bookmark());
        rows.next();
    }
    return marks;
}

bool DataGridBookmarks::inView(Bookmark mark)
{
    if (!dataSet_ || !dataSet_->active() || dataSet_->isEmpty())
        return false;
    try {
        copy().gotoBookmark(mark);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace skorvin::ui
