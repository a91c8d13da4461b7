#pragma once

#include "ui/seams/Replaceable.hpp"

namespace skorvin::ui {

// The system beep behind a seam, as the message boxes are, so that tests count the beeps
// a window sounds instead of hearing them.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The real implementation (QApplication::beep()), in force through Replaceable<Beeper> unless a test installs another.
template <> Beeper& Replaceable<Beeper>::real();

// One beep through the implementation in force.
inline void beep()
{
    Replaceable<Beeper>::inForce().beep();
}

} // namespace skorvin::ui
