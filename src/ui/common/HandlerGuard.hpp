#pragma once

#include <functional>
#include <string>
#include <string_view>

// Every handler of the windows runs inside this guard, so that no exception ever
// reaches Qt's event loop and every failure is shown the same way.
namespace skorvin::ui {

// Runs handler. A silent abort (EAbort) ends it quietly; any other error ends it
// and is shown by the central error box. Never throws.
void runGuarded(const std::function<void()>& handler);

// The central error box: stop icon, one OK, titled with the host program's name.
void ShowExceptionBox(std::string_view message);

// The host program's name as the error box shows it: the executable's file name up
// to its first ".", the first character as stored and the rest in lower case (GBK text).
std::string HostProgramName(std::string_view executablePath);

// The error box text: the message with "." appended unless it is empty or its last
// byte is at or below "." (so a message ending in a Chinese character gets one).
std::string ErrorBoxText(std::string_view message);

} // namespace skorvin::ui
