// ScoresAboveMaximum: the rows of the list shown whose stored score is above the maximum.
#pragma once

#include "platform/connection/FieldValue.hpp"
#include "platform/recordset/DataSetObserver.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace skorvin::ado {
class TCustomADODataSet;
}

namespace skorvin::exam {

// Keying never takes a score above the maximum, but the database may hold one (typed under
// another maximum, or on another computer). This follows the list's visible rows as the list
// changes: one pass when it is opened, re-filtered or the maximum changes, one row per post.
class ScoresAboveMaximum final : private ado::DataSetObserver {
public:
    // Watches the score field of list (not owned, outlives this).
    ScoresAboveMaximum(ado::TCustomADODataSet& list, std::string scoreField);
    ~ScoresAboveMaximum() override;
    ScoresAboveMaximum(const ScoresAboveMaximum&) = delete;
    ScoresAboveMaximum& operator=(const ScoresAboveMaximum&) = delete;

    // The maximum as the settings hold it (text); one that is not a number flags nothing.
    void setMaximum(const std::string& up);
    // A stored score (NULL, text) that is a number greater than the maximum.
    bool above(const ado::FieldValue& score) const;
    // How many of the list's visible rows hold such a score.
    std::int64_t count() const { return count_; }

    // Called whenever count() changes.
    std::function<void()> changed;

private:
    void dataSetChanged() override;
    void recordLeaving(int viewRow) override;
    void recordLeft() override {}
    void recordChanged(int viewRow) override;
    void scrolled() override {}

    void recount();
    // Sets the flag of the row at viewRow of the view; false clears it.
    void flag(int viewRow, bool on);
    void setCount(std::int64_t count);

    ado::TCustomADODataSet& list_;
    std::string field_;
    std::optional<double> maximum_;
    std::vector<bool> flagged_; // by the row's bookmark
    std::int64_t count_ = 0;
};

} // namespace skorvin::exam
