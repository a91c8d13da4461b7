#pragma once

#include "ui/seams/Beeper.hpp"

namespace skorvin::test {

// Counts the beeps the windows sound instead of sounding them. Installs itself on
// construction and restores the previous implementation on destruction.
class CountingBeeper final : public ui::Beeper {
public:
    CountingBeeper();
    ~CountingBeeper() override;
    CountingBeeper(const CountingBeeper&) = delete;
    CountingBeeper& operator=(const CountingBeeper&) = delete;

    void beep() override { ++count_; }
    int count() const { return count_; }
    void clear() { count_ = 0; }

private:
    ui::Beeper* previous_;
    int count_ = 0;
};

} // namespace skorvin::test
