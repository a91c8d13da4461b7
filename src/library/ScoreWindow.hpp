#pragma once

#include <cstdint>

class ISkorvinConnection;

namespace skorvin::library {

// The window layer behind ShowForm: shows the score window modally over hostWindow,
// its title ending in "(V" version ")", and returns when the operator closes it.
// Errors the window can show are shown to the operator; anything else is thrown.
void showScoreWindow(std::uintptr_t hostWindow, ISkorvinConnection* connection, const char* version);

} // namespace skorvin::library
