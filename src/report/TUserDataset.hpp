// TUserDataset: the report dataset driven by first-row and next-row callbacks and a record count.
#pragma once

#include <functional>
#include <string>

namespace skorvin::report {

// A dataset the program drives itself: the builder calls OnFirst once, then OnNext after
// every record but the last, for recordCount() records.
class TUserDataset {
public:
    explicit TUserDataset(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    int recordCount() const { return recordCount_; }
    // Negative counts as 0.
    void setRecordCount(int count) { recordCount_ = count < 0 ? 0 : count; }

    std::function<void()> OnFirst;
    std::function<void()> OnNext;

private:
    std::string name_;
    int recordCount_ = 0;
};

} // namespace skorvin::report
