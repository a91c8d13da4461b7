#include "ui/Beeper.hpp"

#include <QApplication>

namespace skorvin::ui {

namespace {

class SystemBeeper final : public Beeper {
public:
    void beep() override { QApplication::beep(); }
};

Beeper* installed = nullptr;

} // namespace

Beeper& beeper()
{
    static SystemBeeper real;
    return installed ? *installed : real;
}

void setBeeper(Beeper* replacement)
{
    installed = replacement;
}

} // namespace skorvin::ui
