// ScoresAboveMaximum: the rows of the list shown whose stored score is above the maximum.
#include "exam/ScoresAboveMaximum.hpp"

#include "platform/Numbers.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

ScoresAboveMaximum::ScoresAboveMaximum(ado::TCustomADODataSet& list, std::string scoreField)
    : list_(list), field_(std::move(scoreField))
{
    list_.addObserver(this);
}

ScoresAboveMaximum::~ScoresAboveMaximum()
{
    list_.removeObserver(this);
}

void ScoresAboveMaximum::setMaximum(const std::string& up)
{
    const std::optional<double> maximum = parseFloat(up);
    if (maximum == maximum_)
        return;
    maximum_ = maximum;
    recount();
}

bool ScoresAboveMaximum::above(const ado::FieldValue& score) const
{
    if (!maximum_ || !score)
        return false;
    const std::optional<double> value = parseFloat(*score);
    return value && *value > *maximum_;
}

void ScoresAboveMaximum::dataSetChanged()
{
    recount();
}

void ScoresAboveMaximum::recordLeaving(int viewRow)
{
    flag(viewRow, false);
}

void ScoresAboveMaximum::recordChanged(int viewRow)
{
    try {
        flag(viewRow, above(list_.viewValue(viewRow, list_.fieldIndex(field_))));
    } catch (const std::exception&) {
        // A row that cannot be read is not counted; the next pass sees it again.
        flag(viewRow, false);
    }
}

void ScoresAboveMaximum::recount()
{
    flagged_.clear();
    std::int64_t count = 0;
    try {
        const int field = list_.active() ? list_.fieldIndex(field_) : -1;
        const int rows = field >= 0 && maximum_ ? list_.recordCount() : 0;
        for (int row = 0; row < rows; ++row) {
            if (!above(list_.viewValue(row, field)))
                continue;
            const auto mark = list_.bookmarkAt(row);
            if (mark >= flagged_.size())
                flagged_.resize(mark + 1);
            flagged_[mark] = true;
            ++count;
        }
    } catch (const std::exception&) {
        flagged_.clear();
        count = 0;
    }
    setCount(count);
}

void ScoresAboveMaximum::flag(int viewRow, bool on)
{
    ado::TCustomADODataSet::Bookmark mark = 0;
    try {
        mark = list_.bookmarkAt(viewRow);
    } catch (const std::exception&) {
        return;
    }
    if (mark >= flagged_.size()) {
        if (!on)
            return;
        flagged_.resize(mark + 1);
    }
    if (flagged_[mark] == on)
        return;
    flagged_[mark] = on;
    setCount(count_ + (on ? 1 : -1));
}

void ScoresAboveMaximum::setCount(std::int64_t count)
{
    if (count == count_)
        return;
    count_ = count;
    if (changed)
        changed();
}

} // namespace skorvin::exam
