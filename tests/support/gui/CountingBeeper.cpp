#include "gui/CountingBeeper.hpp"

namespace skorvin::test {

CountingBeeper::CountingBeeper() : previous_(&ui::Replaceable<ui::Beeper>::inForce())
{
    ui::Replaceable<ui::Beeper>::install(this);
}

CountingBeeper::~CountingBeeper()
{
    ui::Replaceable<ui::Beeper>::install(previous_);
}

} // namespace skorvin::test
