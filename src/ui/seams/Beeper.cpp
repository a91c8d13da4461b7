#include "ui/seams/Beeper.hpp"

#include <QApplication>

namespace skorvin::ui {

namespace {

class SystemBeeper final : public Beeper {
public:
    void beep() override { QApplication::beep(); }
};

} // namespace

template <> Beeper& Replaceable<Beeper>::real()
{
    static SystemBeeper system;
    return system;
}

} // namespace skorvin::ui
