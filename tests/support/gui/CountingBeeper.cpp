#include "gui/CountingBeeper.hpp"

namespace skorvin::test {

CountingBeeper::CountingBeeper() : previous_(&ui::beeper())
{
    ui::setBeeper(this);
}

CountingBeeper::~CountingBeeper()
{
    ui::setBeeper(previous_);
}

} // namespace skorvin::test
