#pragma once

namespace skorvin::ui {

// The system beep behind a seam, as the message boxes are, so that tests count the beeps
// a window sounds instead of hearing them.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The implementation in force: QApplication::beep() unless a test installed another.
Beeper& beeper();
// Installs an implementation (tests); nullptr restores the real one.
void setBeeper(Beeper* replacement);

// One beep through the implementation in force.
inline void beep()
{
    beeper().beep();
}

} // namespace skorvin::ui
