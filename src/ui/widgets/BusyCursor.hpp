#pragma once

#include <QGuiApplication>

namespace skorvin::ui {

// The wait cursor while the tree or a list is read from the database (the whole country
// takes most of a second); the cursor before it comes back however the work ends.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace skorvin::ui
